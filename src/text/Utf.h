#pragma once
// UTF-8 (how the program holds text) to and from UTF-16 (how the office
// formats store it), and the length of UTF-8 text in characters. Malformed
// input becomes U+FFFD, never an error.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace text {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the UTF-8 sequence at `i` and moves `i` past it. A malformed
// sequence (stray or cut byte, overlong form, encoded surrogate, beyond
// U+10FFFF) gives nothing and moves `i` by one byte only.
std::optional<char32_t> nextCodePoint(std::string_view utf8, std::size_t& i);
// Appends the UTF-8 bytes of a code point.
void appendUtf8(std::string& out, char32_t codePoint);

void utf8ToUtf16(std::string_view utf8, std::u16string& out);
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

// Appends 8-bit characters that stand for the first 256 code points (the
// "compressed" strings of the office formats) as UTF-8.
void appendLatin1(std::string& out, const std::uint8_t* chars, std::size_t count);

// Turns UTF-16 code units that may arrive in pieces into UTF-8 (a string
// split over two records can split a surrogate pair). Lone surrogates
// become U+FFFD.
class Utf16Decoder {
public:
    explicit Utf16Decoder(std::string& out) : out_(out) {}
    void add(std::uint16_t unit);
    void addLittleEndian(const std::uint8_t* bytes, std::size_t units);
    // Flushes a high surrogate still waiting for its partner.
    void finish();

private:
    std::string& out_;
    std::uint16_t high_ = 0;
};

// Number of characters (code points) of UTF-8 text; a malformed byte counts as one.
std::size_t characterCount(std::string_view utf8);

}  // namespace text
