#include "office/engine/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>

namespace office::engine {

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

std::string FileLock::sidecarFor(const std::string& workbookPath) {
    std::filesystem::path path(workbookPath);
    return (path.parent_path() / ("." + path.filename().string() + ".tavolex-lock")).string();
}

std::optional<FileLock> FileLock::acquire(const std::string& workbookPath, std::chrono::milliseconds wait) {
    const std::string sidecar = sidecarFor(workbookPath);
    int fd = ::open(sidecar.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EACCES) fd = ::open(sidecar.c_str(), O_RDONLY | O_CLOEXEC);  // someone else's sidecar
    if (fd < 0) return std::nullopt;
    FileLock lock(fd);

    constexpr std::chrono::milliseconds kPoll{25};
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return lock;
        if (errno != EWOULDBLOCK && errno != EINTR) return std::nullopt;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(kPoll);
    }
}

}  // namespace office::engine
