#pragma once
// The advisory lock that keeps two writers off one workbook: an exclusive
// flock() on a sidecar file ".<name>.tavolex-lock" next to the workbook. The
// sidecar is never deleted, so a waiter can never lock an unlinked inode.
// flock() locks belong to an open file description, so two openers in one
// process conflict just like two processes do.
#include <chrono>
#include <optional>
#include <string>

namespace office::engine {

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // The sidecar path for a workbook path.
    static std::string sidecarFor(const std::string& workbookPath);

    // Locks the sidecar of `workbookPath`, polling every 25 ms for up to
    // `wait`. nullopt when another holder keeps it, or when the sidecar cannot
    // be created (a read-only folder: nobody can save there anyway).
    static std::optional<FileLock> acquire(const std::string& workbookPath, std::chrono::milliseconds wait);

    bool held() const { return fd_ >= 0; }
    void release();

private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// How long a second opener waits for the lock before taking the workbook read-only.
inline constexpr std::chrono::milliseconds kLockWait{2000};

}  // namespace office::engine
