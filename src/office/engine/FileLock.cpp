#include "office/engine/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <thread>

namespace office::engine {

namespace {

// Opens (creating) a file every user of the folder shares; someone else's
// file that we may only read still takes both kinds of locks we use.
int openShared(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd;
}

std::string besideWorkbook(const std::string& workbookPath, const char* suffix) {
    std::filesystem::path path(workbookPath);
    return (path.parent_path() / ("." + path.filename().string() + suffix)).string();
}

// A place in the queue: a read lock on the byte whose offset is the arrival
// time in nanoseconds. Earlier waiters hold lower bytes; the ticket ends
// when its file description is closed, with the process at the latest.
class QueueTicket {
public:
    explicit QueueTicket(const std::string& path) : fd_(openShared(path)) {
        if (fd_ < 0) return;  // no queue file: waiters fall back to polling
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        number_ = static_cast<off_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
        for (int attempt = 0; attempt < 1000; ++attempt, ++number_) {
            if (heldByOthers(number_, 1)) continue;  // a waiter of the same nanosecond
            struct flock ticket = range(F_RDLCK, number_, 1);
            if (::fcntl(fd_, F_OFD_SETLK, &ticket) == 0) return;
        }
        ::close(fd_);
        fd_ = -1;
    }
    ~QueueTicket() {
        if (fd_ >= 0) ::close(fd_);
    }
    QueueTicket(const QueueTicket&) = delete;
    QueueTicket& operator=(const QueueTicket&) = delete;

    // True while a waiter that came earlier is still waiting.
    bool anyoneEarlier() const { return fd_ >= 0 && heldByOthers(0, number_); }

private:
    static struct flock range(short type, off_t start, off_t length) {
        struct flock lock {};
        lock.l_type = type;
        lock.l_whence = SEEK_SET;
        lock.l_start = start;
        lock.l_len = length;
        return lock;
    }
    // Whether other file descriptions hold a lock on [start, start + length).
    bool heldByOthers(off_t start, off_t length) const {
        struct flock probe = range(F_WRLCK, start, length);
        return ::fcntl(fd_, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    }

    int fd_;
    off_t number_ = 0;
};

}  // namespace

FileLock::~FileLock() { release(); }

FileLock::FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

void FileLock::release() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing the only descriptor drops the flock
        fd_ = -1;
    }
}

std::string FileLock::sidecarFor(const std::string& workbookPath) { return besideWorkbook(workbookPath, ".tavolex-lock"); }
std::string FileLock::queueFor(const std::string& workbookPath) { return besideWorkbook(workbookPath, ".tavolex-queue"); }

std::optional<FileLock> FileLock::acquire(const std::string& workbookPath, std::chrono::milliseconds wait,
                                          LockRefusal* why) {
    const int fd = openShared(sidecarFor(workbookPath));
    if (fd < 0) {
        if (why) *why = LockRefusal{false, errno};
        return std::nullopt;
    }
    FileLock lock(fd);
    const QueueTicket ticket(queueFor(workbookPath));

    constexpr std::chrono::milliseconds kPoll{25};
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (!ticket.anyoneEarlier()) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return lock;
            if (errno != EWOULDBLOCK && errno != EINTR) break;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(kPoll);
    }
    if (why) *why = LockRefusal{true, 0};
    return std::nullopt;
}

}  // namespace office::engine
