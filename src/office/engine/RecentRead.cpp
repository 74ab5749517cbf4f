#include "office/engine/RecentRead.h"

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

std::optional<WorkbookModel> RecentRead::reuse(const std::string& path, const std::string& password,
                                               FileStamp& stamp) {
    std::lock_guard lock(mutex_);
    if (!entry_) return std::nullopt;
    if (entry_->password == password) {
        const FileStamp now = stampOf(path);
        if (now.size >= 0 && static_cast<std::uint64_t>(now.size) == entry_->print.size) {
            XXH3_state_t state;
            XXH3_INITSTATE(&state);
            XXH3_128bits_reset(&state);
            std::uint64_t size = 0;
            const auto read = readInPieces(path, [&](std::span<const std::uint8_t> piece) {
                size += piece.size();
                XXH3_128bits_update(&state, piece.data(), piece.size());
            });
            if (read && ContentPrint{size, halves(XXH3_128bits_digest(&state))} == entry_->print) {
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
    entry_ = Entry{print, password, model};
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
