#pragma once
// The last workbook this process read, kept as read. One command opens the
// store two or three times (to list, to check, to change), and each open
// would read, decrypt and walk the same megabytes again. Before a file is
// read, its bytes are compared, by size and a 128-bit hash, with those the
// kept model came from: a file anyone changed in between is read afresh.
// Nothing read earlier is trusted; only the reading is saved.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "office/engine/AtomicFile.h"
#include "office/model/WorkbookModel.h"

namespace office::engine {

// The size and a 128-bit hash (XXH3) of a file's bytes.
struct ContentPrint {
    std::uint64_t size = 0;
    std::array<std::uint64_t, 2> hash{};
    bool operator==(const ContentPrint&) const = default;
    static ContentPrint of(std::span<const std::uint8_t> bytes);
};

// The same built from consecutive pieces of the bytes.
class ContentPrinter {
public:
    ContentPrinter();
    ~ContentPrinter();
    void add(std::span<const std::uint8_t> piece);
    ContentPrint print() const;

private:
    struct State;
    std::unique_ptr<State> state_;
    std::uint64_t size_ = 0;
};

class RecentRead {
public:
    // A copy of the kept model when the file at `path` holds the bytes it was
    // read from and `password` is the one it was read with; `stamp` is then
    // the file's. Otherwise none, and the kept model is let go, so that its
    // memory serves the read that follows.
    std::optional<WorkbookModel> reuse(const std::string& path, const std::string& password, FileStamp& stamp);
    // Keeps a copy of `model`, read with `password` from bytes printed `print`,
    // in place of the last one. A model holding large embedded objects or
    // other streams is not kept: it would be held twice.
    void keep(const ContentPrint& print, const std::string& password, const WorkbookModel& model);
    // Keeps a file just written, whose bytes are printed `print`, as its clear
    // Workbook stream and its other storages (`rootStorage`): they are read
    // only when the file is opened again unchanged, saving its reading and
    // decrypting then, and nothing when it is not.
    void keepWritten(const ContentPrint& print, const std::string& password, std::vector<std::uint8_t>&& clearStream,
                     const cfb::Node& rootStorage);
    void forget();

    // Files larger than this are not even printed: read once, as a Presentation is.
    static constexpr std::uint64_t kLargestFile = std::uint64_t{8} << 20;
    static constexpr std::uint64_t kLargestOtherStreams = std::uint64_t{256} << 10;

private:
    struct Entry {
        ContentPrint print;
        std::string password;
        WorkbookModel model;
        std::optional<std::vector<std::uint8_t>> written;  // the clear stream, until it is read into `model`
    };
    // Reads a kept written stream into the entry's model; false when it cannot.
    bool readWritten();

    mutable std::mutex mutex_;
    std::optional<Entry> entry_;
};

// The engine's, for the whole process. Its own state is guarded; the models
// it hands out share their undecoded cells, which one thread at a time uses.
RecentRead& recentRead();

}  // namespace office::engine
