#include "office/biff/OfficeArt.h"

#include "office/biff/BiffErrors.h"

namespace office::biff::art {
namespace {

constexpr int kMaxDepth = 16;

void walkFrom(std::span<const std::uint8_t> data, std::size_t begin, std::size_t end, std::uint64_t streamOffset,
              const std::function<void(const ArtRecord&)>& visit, int depth) {
    if (depth > kMaxDepth) throwDamaged("drawing objects are nested too deep", streamOffset + begin);
    for (const ArtRecord& r : children(data, begin, end, streamOffset)) {
        visit(r);
        if (r.isContainer()) walkFrom(data, r.body(), r.end(), streamOffset, visit, depth + 1);
    }
}

}  // namespace

std::uint16_t readU16(std::span<const std::uint8_t> data, std::size_t at) {
    return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
}

std::uint32_t readU32(std::span<const std::uint8_t> data, std::size_t at) {
    return static_cast<std::uint32_t>(readU16(data, at)) | (static_cast<std::uint32_t>(readU16(data, at + 2)) << 16);
}

void putU16(std::span<std::uint8_t> data, std::size_t at, std::uint16_t value) {
    data[at] = static_cast<std::uint8_t>(value);
    data[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putU32(std::span<std::uint8_t> data, std::size_t at, std::uint32_t value) {
    putU16(data, at, static_cast<std::uint16_t>(value));
    putU16(data, at + 2, static_cast<std::uint16_t>(value >> 16));
}

ArtRecord recordAt(std::span<const std::uint8_t> data, std::size_t offset, std::size_t end, std::uint64_t streamOffset) {
    if (end > data.size() || offset > end || end - offset < kHeaderSize)
        throwDamaged("a drawing record is cut short", streamOffset + offset);
    ArtRecord r;
    const std::uint16_t versionInstance = readU16(data, offset);
    r.version = versionInstance & 0x000F;
    r.instance = static_cast<std::uint16_t>(versionInstance >> 4);
    r.type = readU16(data, offset + 2);
    r.length = readU32(data, offset + 4);
    r.offset = offset;
    if (r.length > end - offset - kHeaderSize)
        throwDamaged("a drawing record runs past its container", streamOffset + offset);
    return r;
}

std::vector<ArtRecord> children(std::span<const std::uint8_t> data, std::size_t begin, std::size_t end,
                                std::uint64_t streamOffset) {
    std::vector<ArtRecord> list;
    std::size_t at = begin;
    while (at < end) {
        list.push_back(recordAt(data, at, end, streamOffset));
        at = list.back().end();
    }
    return list;
}

void walk(std::span<const std::uint8_t> data, std::size_t begin, std::size_t end, std::uint64_t streamOffset,
          const std::function<void(const ArtRecord&)>& visit) {
    walkFrom(data, begin, end, streamOffset, visit, 0);
}

std::uint32_t propertyValue(std::span<const std::uint8_t> data, const ArtRecord& opt, std::uint16_t id) {
    const std::size_t count = std::min<std::size_t>(opt.instance, opt.length / 6);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = opt.body() + i * 6;
        if ((readU16(data, at) & kPropertyIdMask) == id) return readU32(data, at + 2);
    }
    return 0;
}

std::size_t appendHeader(std::vector<std::uint8_t>& out, std::uint16_t version, std::uint16_t instance,
                         std::uint16_t type, std::uint32_t length) {
    const std::size_t at = out.size();
    out.resize(at + kHeaderSize);
    putU16(out, at, static_cast<std::uint16_t>((version & 0xF) | (instance << 4)));
    putU16(out, at + 2, type);
    putU32(out, at + 4, length);
    return at + 4;
}

void patchLength(std::vector<std::uint8_t>& out, std::size_t lengthField) {
    putU32(out, lengthField, static_cast<std::uint32_t>(out.size() - lengthField - 4));
}

}  // namespace office::biff::art
