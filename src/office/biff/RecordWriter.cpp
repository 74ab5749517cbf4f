#include "office/biff/RecordWriter.h"

#include <cassert>

#include "office/biff/BiffRecords.h"

namespace office::biff {

void RecordWriter::end() {
    std::size_t size = bodySize();
    assert(size <= rec::kMaxBody);
    out_[bodyStart_ - 2] = static_cast<std::uint8_t>(size);
    out_[bodyStart_ - 1] = static_cast<std::uint8_t>(size >> 8);
}

bool RecordWriter::fitsCompressed(std::u16string_view units) {
    for (char16_t u : units)
        if (u > 0xFF) return false;
    return true;
}

void RecordWriter::chars(std::u16string_view units, bool compressed) {
    std::size_t at = out_.size();
    out_.resize(at + units.size() * (compressed ? 1 : 2));
    std::uint8_t* p = out_.data() + at;
    if (compressed) {
        for (char16_t u : units) *p++ = static_cast<std::uint8_t>(u);
    } else {
        for (char16_t u : units) {
            *p++ = static_cast<std::uint8_t>(u);
            *p++ = static_cast<std::uint8_t>(u >> 8);
        }
    }
}

std::u16string_view clipUnits(std::u16string_view units, std::size_t max) {
    if (units.size() <= max) return units;
    std::size_t n = max;
    if (n > 0 && units[n - 1] >= 0xD800 && units[n - 1] <= 0xDBFF) --n;
    return units.substr(0, n);
}

void RecordWriter::shortString(std::u16string_view units) {
    units = clipUnits(units, 255);
    bool compressed = fitsCompressed(units);
    u8(static_cast<std::uint8_t>(units.size()));
    u8(compressed ? 0 : 1);
    chars(units, compressed);
}

void RecordWriter::unicodeString(std::u16string_view units) {
    units = clipUnits(units, 4000);  // keeps a FORMAT or similar record within one body
    bool compressed = fitsCompressed(units);
    u16(static_cast<std::uint16_t>(units.size()));
    u8(compressed ? 0 : 1);
    chars(units, compressed);
}

}  // namespace office::biff
