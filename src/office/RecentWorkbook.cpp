#include "office/RecentWorkbook.h"

#include <mutex>
#include <utility>

#include <xxhash.h>

namespace office {
namespace {

// A 9,999-line base workbook holds about 2 MB; a larger file is a user's
// workbook or a Presentation, read once by a build or the player.
constexpr std::size_t kLargestKept = 8u << 20;

std::mutex guard;
std::shared_ptr<const RecentWorkbook> kept;

std::size_t sizeOf(const cfb::Node& node) {
    std::size_t size = node.data.size();
    for (const cfb::Node& child : node.children) size += sizeOf(child);
    return size;
}

}  // namespace

RecentWorkbook::Digest RecentWorkbook::digestOf(std::span<const std::uint8_t> fileBytes) {
    const XXH128_hash_t hash = XXH3_128bits(fileBytes.data(), fileBytes.size());
    return {hash.low64, hash.high64, fileBytes.size()};
}

std::shared_ptr<const RecentWorkbook> findRecentWorkbook(const RecentWorkbook::Digest& digest,
                                                         const std::string& password) {
    std::lock_guard lock(guard);
    if (kept && kept->digest == digest && kept->password == password) return kept;
    return nullptr;
}

bool recentWorkbookFits(const biff::ClearWorkbookStream& stream, const cfb::Node& otherStreams) {
    return stream.bytes.size() + sizeOf(otherStreams) <= kLargestKept;
}

void keepRecentWorkbook(std::shared_ptr<const RecentWorkbook> read) {
    if (read && !recentWorkbookFits(read->stream, read->otherStreams)) read.reset();
    std::shared_ptr<const RecentWorkbook> previous;
    {
        std::lock_guard lock(guard);
        previous = std::exchange(kept, std::move(read));
    }
}

void forgetRecentWorkbook() { keepRecentWorkbook(nullptr); }

}  // namespace office
