#include "office/model/Drawing.h"

namespace office {

std::span<const std::uint8_t> StoredPicture::imageBytes() const {
    switch (type) {
    case BlipType::Jpeg: case BlipType::CmykJpeg: case BlipType::Png: case BlipType::Dib: case BlipType::Tiff: break;
    default: return {};
    }
    // Record header (8 bytes), one or (odd instance) two 16-byte ids, a tag byte, the file.
    constexpr std::size_t kHeader = 8;
    if (blip.size() < kHeader) return {};
    const std::size_t instance = static_cast<std::size_t>((blip[0] | (blip[1] << 8)) >> 4);
    const std::size_t start = kHeader + 16 * (1 + (instance & 1)) + 1;
    if (start > blip.size()) return {};
    return std::span<const std::uint8_t>(blip).subspan(start);
}

}  // namespace office
