// A shape is hidden by its property 0x03BF (fUsefHidden and fHidden), which
// lives in the OPT record of the shape's own container.
#include <optional>

#include "office/biff/OfficeArt.h"

namespace office::biff::art {
namespace {

constexpr std::size_t kEntrySize = 6;

void grow(std::vector<std::uint8_t>& data, const ArtRecord& record, std::size_t by) {
    putU32(data, record.offset + 4, static_cast<std::uint32_t>(record.length + by));
}

void setInstance(std::vector<std::uint8_t>& data, const ArtRecord& record, std::uint16_t instance) {
    putU16(data, record.offset, static_cast<std::uint16_t>((record.version & 0xF) | (instance << 4)));
}

}  // namespace

Insertion setShapeHidden(std::vector<std::uint8_t>& shape, bool hidden) {
    if (shape.size() < kHeaderSize) return {};
    const ArtRecord top = recordAt(shape, 0, shape.size(), 0);
    std::optional<ArtRecord> own;
    if (top.type == kSpContainer) {
        own = top;
    } else if (top.type == kSpgrContainer) {
        // A group is hidden through its own shape, the first of its members.
        auto members = children(shape, top.body(), top.end(), 0);
        if (!members.empty() && members[0].type == kSpContainer) own = members[0];
    }
    if (!own) return {};

    std::optional<ArtRecord> opt, fsp;
    for (const ArtRecord& r : children(shape, own->body(), own->end(), 0)) {
        if (r.type == kOpt && !opt) opt = r;
        if (r.type == kFsp && !fsp) fsp = r;
    }
    const auto growContainers = [&](std::size_t by) {
        grow(shape, *own, by);
        if (own->offset != top.offset) grow(shape, top, by);
    };
    std::vector<std::uint8_t> entry(kEntrySize);
    putU16(entry, 0, kPropertyGroupBooleans);
    putU32(entry, 2, kGroupUseHidden | kGroupHidden);

    if (!opt) {
        if (!hidden) return {};
        std::vector<std::uint8_t> record;
        appendHeader(record, 3, 1, kOpt, kEntrySize);
        record.insert(record.end(), entry.begin(), entry.end());
        const std::size_t at = fsp ? fsp->end() : own->body();
        shape.insert(shape.begin() + static_cast<std::ptrdiff_t>(at), record.begin(), record.end());
        growContainers(record.size());
        return {at, record.size()};
    }

    // The simple entries come first, sorted by id; complex data follows them.
    const std::size_t count = std::min<std::size_t>(opt->instance, opt->length / kEntrySize);
    std::size_t insertAt = count;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = opt->body() + i * kEntrySize;
        const std::uint16_t id = readU16(shape, at) & kPropertyIdMask;
        if (id == kPropertyGroupBooleans) {
            std::uint32_t value = readU32(shape, at + 2);
            value = hidden ? value | kGroupUseHidden | kGroupHidden : value & ~kGroupHidden;
            putU32(shape, at + 2, value);
            return {};
        }
        if (id > kPropertyGroupBooleans && insertAt == count) insertAt = i;
    }
    if (!hidden) return {};
    const std::size_t at = opt->body() + insertAt * kEntrySize;
    shape.insert(shape.begin() + static_cast<std::ptrdiff_t>(at), entry.begin(), entry.end());
    setInstance(shape, *opt, static_cast<std::uint16_t>(count + 1));
    grow(shape, *opt, kEntrySize);
    growContainers(kEntrySize);
    return {at, kEntrySize};
}

}  // namespace office::biff::art
