#pragma once
// Little-endian reads at absolute positions of a byte block, each checked
// against its end. A read past the end throws TruncatedData with the
// position, which each format reader turns into its own damaged-file error.
#include <cstddef>
#include <cstdint>
#include <span>

namespace office {

struct TruncatedData {
    std::uint64_t offset;  // where the missing bytes were wanted
};

class LeView {
public:
    LeView() = default;
    explicit LeView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    std::span<const std::uint8_t> bytes() const { return bytes_; }
    // Whether `count` bytes from `at` lie inside the block (no overflow).
    bool has(std::uint64_t at, std::uint64_t count) const { return at <= size() && count <= size() - at; }

    std::uint8_t u8(std::uint64_t at) const {
        need(at, 1);
        return bytes_[at];
    }
    std::uint16_t u16(std::uint64_t at) const {
        need(at, 2);
        return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    std::uint32_t u32(std::uint64_t at) const {
        need(at, 4);
        return static_cast<std::uint32_t>(bytes_[at]) | (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
    }
    std::uint64_t u64(std::uint64_t at) const { return u32(at) | (static_cast<std::uint64_t>(u32(at + 4)) << 32); }
    // `count` bytes from `at`.
    std::span<const std::uint8_t> slice(std::uint64_t at, std::uint64_t count) const {
        need(at, count);
        return bytes_.subspan(static_cast<std::size_t>(at), static_cast<std::size_t>(count));
    }
    // The rest of the block from `at`.
    LeView from(std::uint64_t at) const {
        need(at, 0);
        return LeView(bytes_.subspan(static_cast<std::size_t>(at)));
    }

private:
    void need(std::uint64_t at, std::uint64_t count) const {
        if (!has(at, count)) throw TruncatedData{at};
    }
    std::span<const std::uint8_t> bytes_;
};

}  // namespace office
