#pragma once
// The advisory lock that keeps two writers off one workbook: an exclusive
// flock() on a sidecar file ".<name>.tavolex-lock" next to the workbook. The
// sidecar is never deleted, so a waiter can never lock an unlinked inode.
// flock() locks belong to an open file description, so two openers in one
// process conflict just like two processes do.
//
// Waiters take the lock in the order they came: each holds a ticket (a
// byte-range read lock at its arrival time in the file
// ".<name>.tavolex-queue") while it waits, and tries the lock only when no
// earlier ticket is held. Locks of both kinds end with the process that
// holds them, so a waiter or holder that dies never blocks the others.
#include <chrono>
#include <optional>
#include <string>

namespace office::engine {

// Why a lock could not be had: another holder kept it for the whole wait,
// or the sidecar cannot be made (a read-only folder; `error` says why).
struct LockRefusal {
    bool busy = false;
    int error = 0;
};

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // The sidecar and queue paths for a workbook path.
    static std::string sidecarFor(const std::string& workbookPath);
    static std::string queueFor(const std::string& workbookPath);

    // Locks the sidecar of `workbookPath`, waiting in arrival order for up
    // to `wait`. nullopt when it cannot be had; `why` (when given) then says
    // whether it was busy or could not be made.
    static std::optional<FileLock> acquire(const std::string& workbookPath, std::chrono::milliseconds wait,
                                           LockRefusal* why = nullptr);

    bool held() const { return fd_ >= 0; }
    void release();

private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// How long a second opener waits for the lock before taking the workbook
// read-only: an interactive program a few seconds, a batch run longer.
inline constexpr std::chrono::milliseconds kInteractiveLockWait{10'000};
inline constexpr std::chrono::milliseconds kBatchLockWait{60'000};

}  // namespace office::engine
