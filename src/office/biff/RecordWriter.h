#pragma once
// Builds a Workbook stream record by record: begin(id), little-endian fields,
// end() patches the size. Bodies never exceed rec::kMaxBody.
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace office::biff {

class RecordWriter {
public:
    std::vector<std::uint8_t>& bytes() { return out_; }
    std::size_t size() const { return out_.size(); }
    // Bytes written to the current record's body so far.
    std::size_t bodySize() const { return out_.size() - bodyStart_; }
    std::size_t bodyStart() const { return bodyStart_; }

    void begin(std::uint16_t id) {
        u16(id);
        u16(0);
        bodyStart_ = out_.size();
    }
    void end();
    // A whole record from fields already packed.
    void record(std::uint16_t id, std::span<const std::uint8_t> body) {
        begin(id);
        raw(body.data(), body.size());
        end();
    }
    void empty(std::uint16_t id) {
        begin(id);
        end();
    }
    void recordU16(std::uint16_t id, std::uint16_t value) {
        begin(id);
        u16(value);
        end();
    }

    void u8(std::uint8_t v) { out_.push_back(v); }
    void u16(std::uint16_t v) {
        std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
        out_.insert(out_.end(), b, b + 2);
    }
    void u32(std::uint32_t v) {
        std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                             static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        out_.insert(out_.end(), b, b + 4);
    }
    void f64(double v) {
        std::uint8_t b[8];
        std::memcpy(b, &v, 8);  // the machine is little-endian like the file
        out_.insert(out_.end(), b, b + 8);
    }
    void raw(const std::uint8_t* p, std::size_t n) { out_.insert(out_.end(), p, p + n); }
    void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }
    void patchU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }

    // Characters of a text written as UTF-16 units: 8-bit when all fit, else 16-bit.
    static bool fitsCompressed(std::u16string_view units);
    void chars(std::u16string_view units, bool compressed);
    // ShortXLUnicodeString (u8 count, cut to 255) and XLUnicodeString (u16 count, cut to 4000).
    void shortString(std::u16string_view units);
    void unicodeString(std::u16string_view units);

private:
    std::vector<std::uint8_t> out_;
    std::size_t bodyStart_ = 0;
};

// `units` cut to at most `max` UTF-16 units without splitting a surrogate pair.
std::u16string_view clipUnits(std::u16string_view units, std::size_t max);

}  // namespace office::biff
