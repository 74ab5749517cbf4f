#include "office/engine/RecentRead.h"

#include "office/engine/WorkbookCodec.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace office::engine {
namespace {

std::array<std::uint64_t, 2> halves(XXH128_hash_t hash) { return {hash.low64, hash.high64}; }

std::uint64_t streamBytes(const cfb::Node& node) {
    std::uint64_t total = node.data.size();
    for (const cfb::Node& child : node.children) total += streamBytes(child);
    return total;
}

}  // namespace

ContentPrint ContentPrint::of(std::span<const std::uint8_t> bytes) {
    return {bytes.size(), halves(XXH3_128bits(bytes.data(), bytes.size()))};
}

struct ContentPrinter::State {
    XXH3_state_t hash;
};

ContentPrinter::ContentPrinter() : state_(std::make_unique<State>()) {
    XXH3_INITSTATE(&state_->hash);
    XXH3_128bits_reset(&state_->hash);
}

ContentPrinter::~ContentPrinter() = default;

void ContentPrinter::add(std::span<const std::uint8_t> piece) {
    size_ += piece.size();
    XXH3_128bits_update(&state_->hash, piece.data(), piece.size());
}

ContentPrint ContentPrinter::print() const { return {size_, halves(XXH3_128bits_digest(&state_->hash))}; }

std::optional<WorkbookModel> RecentRead::reuse(const std::string& path, const std::string& password,
                                               FileStamp& stamp) {
    std::lock_guard lock(mutex_);
    if (!entry_) return std::nullopt;
    if (entry_->password == password) {
        const FileStamp now = stampOf(path);
        if (now.size >= 0 && static_cast<std::uint64_t>(now.size) == entry_->print.size) {
            ContentPrinter printer;
            const auto read = readInPieces(path, [&](std::span<const std::uint8_t> piece) { printer.add(piece); });
            if (read && printer.print() == entry_->print && readWritten()) {
                stamp = *read;
                // The copy shares the kept model's undecoded cells, which never change.
                return entry_->model;
            }
        }
    }
    entry_.reset();
    return std::nullopt;
}

void RecentRead::keep(const ContentPrint& print, const std::string& password, const WorkbookModel& model) {
    std::lock_guard lock(mutex_);
    entry_.reset();  // the old entry's memory goes first
    if (print.size > kLargestFile || streamBytes(model.rootStorage) > kLargestOtherStreams) return;
    entry_ = Entry{print, password, model, std::nullopt};
}

void RecentRead::keepWritten(const ContentPrint& print, const std::string& password,
                             std::vector<std::uint8_t>&& clearStream, const cfb::Node& rootStorage) {
    std::lock_guard lock(mutex_);
    entry_.reset();
    if (print.size > kLargestFile || streamBytes(rootStorage) > kLargestOtherStreams) return;
    WorkbookModel storages;
    storages.rootStorage = rootStorage;
    entry_ = Entry{print, password, std::move(storages), std::move(clearStream)};
}

bool RecentRead::readWritten() {
    if (!entry_->written) return true;
    try {
        entry_->model = decodeWrittenWorkbook(std::move(*entry_->written), entry_->model.rootStorage);
        entry_->written.reset();
        return true;
    } catch (const std::exception&) {
        return false;  // read from the file instead, which says what is wrong
    }
}

void RecentRead::forget() {
    std::lock_guard lock(mutex_);
    entry_.reset();
}

RecentRead& recentRead() {
    static RecentRead recent;
    return recent;
}

}  // namespace office::engine
