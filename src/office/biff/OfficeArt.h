#pragma once
// OfficeArt (drawing) records inside MSODRAWINGGROUP and MSODRAWING data: an
// 8-byte header (version and instance, type, length), then a body that, for
// containers, is a list of records again. Walking checks every length
// against its parent, so damaged data raises the damaged-file error.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace office::biff::art {

// Record types.
constexpr std::uint16_t kDggContainer = 0xF000;
constexpr std::uint16_t kBStoreContainer = 0xF001;
constexpr std::uint16_t kDgContainer = 0xF002;
constexpr std::uint16_t kSpgrContainer = 0xF003;
constexpr std::uint16_t kSpContainer = 0xF004;
constexpr std::uint16_t kFdgg = 0xF006;
constexpr std::uint16_t kFbse = 0xF007;
constexpr std::uint16_t kFdg = 0xF008;
constexpr std::uint16_t kFspgr = 0xF009;
constexpr std::uint16_t kFsp = 0xF00A;
constexpr std::uint16_t kOpt = 0xF00B;
constexpr std::uint16_t kClientTextbox = 0xF00D;
constexpr std::uint16_t kClientAnchor = 0xF010;
constexpr std::uint16_t kClientData = 0xF011;
constexpr std::uint16_t kSplitMenuColors = 0xF11E;
constexpr std::uint16_t kBlipPng = 0xF01E;
constexpr std::uint16_t kFirstBlip = 0xF018;
constexpr std::uint16_t kLastBlip = 0xF117;

// Shape types (FSP instance) and flags.
constexpr std::uint16_t kPictureFrame = 75;
constexpr std::uint32_t kShapeGroup = 0x0001;
constexpr std::uint32_t kShapePatriarch = 0x0004;
constexpr std::uint32_t kShapeOle = 0x0010;
constexpr std::uint32_t kShapeHasAnchor = 0x0200;
constexpr std::uint32_t kShapeHasType = 0x0800;

// Properties of OPT.
constexpr std::uint16_t kPropertyPib = 0x0104;      // the picture store entry, 1-based
constexpr std::uint16_t kPropertyGroupBooleans = 0x03BF;  // fHidden, fPrint, ... and a "use" bit for each
constexpr std::uint32_t kGroupHidden = 0x00000002;
constexpr std::uint32_t kGroupUseHidden = 0x00020000;  // without it fHidden is ignored
constexpr std::uint16_t kPropertyIdMask = 0x3FFF;
constexpr std::uint16_t kPropertyIsBlip = 0x4000;
constexpr std::uint16_t kPropertyComplex = 0x8000;

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kClientAnchorSize = 18;

struct ArtRecord {
    std::uint16_t version = 0;
    std::uint16_t instance = 0;
    std::uint16_t type = 0;
    std::size_t offset = 0;  // of the header
    std::size_t length = 0;  // of the body
    std::size_t body() const { return offset + kHeaderSize; }
    std::size_t end() const { return body() + length; }
    bool isContainer() const { return version == 0xF; }
};

// The records one after another in data[begin, end). A record running past
// `end` raises the damaged-file error; `streamOffset` places data[0] in the
// Workbook stream for the message.
std::vector<ArtRecord> children(std::span<const std::uint8_t> data, std::size_t begin, std::size_t end,
                                std::uint64_t streamOffset);
// The record at data[offset], checked against `end`.
ArtRecord recordAt(std::span<const std::uint8_t> data, std::size_t offset, std::size_t end, std::uint64_t streamOffset);

// Calls `visit` for every record of the tree in data[begin, end), parents
// before their children, containers at most 16 deep.
void walk(std::span<const std::uint8_t> data, std::size_t begin, std::size_t end, std::uint64_t streamOffset,
          const std::function<void(const ArtRecord&)>& visit);

// The value of simple property `id` in an OPT record, or 0.
std::uint32_t propertyValue(std::span<const std::uint8_t> data, const ArtRecord& opt, std::uint16_t id);

// Whether a shape's property value 0x03BF says it is hidden.
inline bool isHidden(std::uint32_t groupBooleans) {
    return (groupBooleans & kGroupUseHidden) && (groupBooleans & kGroupHidden);
}

// Bytes put into a shape: `count` of them at `offset`; what lay at or after
// `offset` before now lies `count` further on.
struct Insertion {
    std::size_t offset = 0;
    std::size_t count = 0;
};

// Makes the shape container (or the group shape of a group container) in
// `shape` say hidden or shown in its property 0x03BF, adding the property,
// or an OPT record for it, when the shape has none and must be hidden; the
// other bits of the property stay. Lengths of the containers follow.
Insertion setShapeHidden(std::vector<std::uint8_t>& shape, bool hidden);

std::uint16_t readU16(std::span<const std::uint8_t> data, std::size_t at);
std::uint32_t readU32(std::span<const std::uint8_t> data, std::size_t at);
void putU16(std::span<std::uint8_t> data, std::size_t at, std::uint16_t value);
void putU32(std::span<std::uint8_t> data, std::size_t at, std::uint32_t value);

// Appends a record header; returns the offset of its length field, for containers
// whose length is known only later (patchLength).
std::size_t appendHeader(std::vector<std::uint8_t>& out, std::uint16_t version, std::uint16_t instance,
                         std::uint16_t type, std::uint32_t length);
void patchLength(std::vector<std::uint8_t>& out, std::size_t lengthField);

}  // namespace office::biff::art
