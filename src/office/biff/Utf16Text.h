#pragma once
// Text conversions between the model's UTF-8 and the file's characters:
// 8-bit "compressed" (the first 256 code points) or UTF-16LE.
#include <cstdint>
#include <string>
#include <string_view>

namespace office::biff {

// Appends 8-bit compressed characters (code points 0..255) as UTF-8.
void appendCompressed(std::string& out, const std::uint8_t* chars, std::size_t count);

// Collects UTF-16 code units that may arrive in pieces (a string split over
// CONTINUE records can split a surrogate pair). Lone surrogates become U+FFFD.
class Utf8Appender {
public:
    explicit Utf8Appender(std::string& out) : out_(out) {}
    void add(std::uint16_t unit);
    void addLittleEndian(const std::uint8_t* bytes, std::size_t units);
    void finish();  // flushes a dangling high surrogate

private:
    void addCodePoint(std::uint32_t cp);
    std::string& out_;
    std::uint16_t high_ = 0;
};

}  // namespace office::biff
