#include "DocumentTestSupport.h"

#include <stdexcept>

namespace doctest {

void put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes.at(at) = value & 0xFF;
    bytes.at(at + 1) = value >> 8;
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, value & 0xFFFF);
    put16(bytes, at + 2, value >> 16);
}

std::uint16_t get16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes.at(at) | (bytes.at(at + 1) << 8));
}

std::uint32_t get32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return get16(bytes, at) | (static_cast<std::uint32_t>(get16(bytes, at + 2)) << 16);
}

void setDopPageCount(office::cfb::Node& root, std::int16_t count) {
    const auto& fib = root.child("WordDocument")->data;
    // FibRgFcLcb97 starts after FibBase (32), 14 shorts and 22 longs with their counts.
    const std::size_t fcDop = get32(fib, 154 + 31 * 8);
    auto& table = root.child(get16(fib, 10) & 0x0200 ? "1Table" : "0Table")->data;
    put16(table, fcDop + 46, static_cast<std::uint16_t>(count));
}

void setFibFlags(office::cfb::Node& root, std::uint16_t bits) {
    auto& fib = root.child("WordDocument")->data;
    put16(fib, 10, get16(fib, 10) | bits);
}

void setProperty(std::vector<std::uint8_t>& stream, std::uint32_t id, std::uint32_t value) {
    const std::size_t section = get32(stream, 44);
    const std::uint32_t count = get32(stream, section + 4);
    for (std::uint32_t k = 0; k < count; ++k) {
        if (get32(stream, section + 8 + 8 * k) != id) continue;
        put32(stream, section + get32(stream, section + 12 + 8 * k) + 4, value);
        return;
    }
    throw std::logic_error("no such property");
}

namespace {
void walk(const std::vector<std::uint8_t>& stream, std::size_t at, std::size_t end, std::uint16_t type,
          std::vector<std::size_t>& found) {
    while (at + 8 <= end) {
        const bool container = (get16(stream, at) & 0x0F) == 0x0F;
        const std::uint32_t length = get32(stream, at + 4);
        if (get16(stream, at + 2) == type) found.push_back(at);
        if (container) walk(stream, at + 8, std::min<std::size_t>(end, at + 8 + length), type, found);
        at += 8 + length;
    }
}
}  // namespace

std::vector<std::size_t> findRecords(const std::vector<std::uint8_t>& stream, std::uint16_t type) {
    std::vector<std::size_t> found;
    walk(stream, 0, stream.size(), type, found);
    return found;
}

}  // namespace doctest
