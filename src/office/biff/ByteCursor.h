#pragma once
// Little-endian reads from one record body, each checked against its end:
// running past it raises the damaged-file error with the stream offset.
#include <cstdint>
#include <cstring>
#include <span>

#include "office/biff/BiffErrors.h"

namespace office::biff {

class ByteCursor {
public:
    // `streamOffset` is where bytes[0] sits in the Workbook stream (for messages).
    ByteCursor(std::span<const std::uint8_t> bytes, std::uint64_t streamOffset)
        : bytes_(bytes), base_(streamOffset) {}

    std::size_t remaining() const { return bytes_.size() - pos_; }
    std::uint64_t offset() const { return base_ + pos_; }

    std::uint8_t u8() {
        need(1);
        return bytes_[pos_++];
    }
    std::uint16_t u16() {
        need(2);
        std::uint16_t v = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    std::uint32_t u32() {
        need(4);
        std::uint32_t v = static_cast<std::uint32_t>(bytes_[pos_]) | (static_cast<std::uint32_t>(bytes_[pos_ + 1]) << 8) |
                          (static_cast<std::uint32_t>(bytes_[pos_ + 2]) << 16) |
                          (static_cast<std::uint32_t>(bytes_[pos_ + 3]) << 24);
        pos_ += 4;
        return v;
    }
    double f64() {
        std::uint64_t lo = u32();
        std::uint64_t hi = u32();
        std::uint64_t bits = lo | (hi << 32);
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    std::span<const std::uint8_t> take(std::size_t n) {
        need(n);
        auto part = bytes_.subspan(pos_, n);
        pos_ += n;
        return part;
    }
    void skip(std::size_t n) { take(n); }

private:
    void need(std::size_t n) const {
        if (n > remaining()) throwDamaged("a record ends before its data", offset());
    }
    std::span<const std::uint8_t> bytes_;
    std::uint64_t base_;
    std::size_t pos_ = 0;
};

}  // namespace office::biff
