#include "text/Windows1252.h"

#include <array>
#include <cstdint>

#include "text/Utf.h"

namespace text {
namespace {

// Bytes 0x80-0x9F; the rest of the code page equals Latin-1. The five bytes
// the code page leaves undefined read as the C1 controls of the same value,
// as Windows reads them, so any source text reads and writes back unchanged.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char toByte(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == unit) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

std::string utf8ToWindows1252(std::string_view utf8) {
    const std::u16string units = utf8ToUtf16(utf8);
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        // A character beyond the basic plane is one '?', not two.
        if (units[i] >= 0xD800 && units[i] <= 0xDBFF && i + 1 < units.size()) ++i;
        out.push_back(toByte(units[i] >= 0xD800 && units[i] <= 0xDFFF ? u'?' : units[i]));
    }
    return out;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        units.push_back(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return utf16ToUtf8(units);
}

}  // namespace text
