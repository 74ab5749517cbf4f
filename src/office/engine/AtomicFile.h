#pragma once
// Whole-file reads and writes of workbooks. Writing goes to a temporary file
// in the target's folder, is flushed to disk, then renamed over the target:
// a crash at any point leaves either the old or the new file whole.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>
#include <vector>

namespace office::engine {

// What a file looked like when read, to notice later that someone replaced it.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

struct FileContents {
    std::vector<std::uint8_t> bytes;
    FileStamp stamp;
};

// Raises AutomationError 1004 "'<path>' could not be found. ..." for a missing
// file, 1004 with the OS reason for other failures.
FileContents readWholeFile(const std::string& path);

// Hands the file's bytes to `take` in consecutive pieces read into one small
// buffer, so that nothing of the size of the file is allocated. The stamp of
// the file read; none when it cannot be opened or read (nothing is raised).
std::optional<FileStamp> readInPieces(const std::string& path,
                                      const std::function<void(std::span<const std::uint8_t>)>& take);

// The stamp of the file now; a default stamp when it is gone.
FileStamp stampOf(const std::string& path);

// Replaces `path` with `bytes` atomically, keeping the old file's permission
// bits. On failure the temporary file is removed, the old file is untouched,
// and AutomationError 1004 names the OS reason. Temporary files of earlier
// saves of `path` that were killed half way are removed first: the caller
// holds the file's writer lock.
void writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
// The same with the file's bytes in consecutive parts.
void writeFileAtomically(const std::string& path, std::span<const std::span<const std::uint8_t>> parts);
// The same with the bytes handed over by `produce`, which calls `put` with each
// piece in order. Whatever `produce` throws leaves the old file as it was.
using BytesPut = std::function<void(std::span<const std::uint8_t>)>;
void writeFileAtomically(const std::string& path, const std::function<void(const BytesPut& put)>& produce);

}  // namespace office::engine
