#include "text/Utf.h"

#include <cstring>

namespace text {

namespace {
bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

char* putUtf8(char* p, char32_t c) {
    if (c < 0x80) {
        *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *p++ = static_cast<char>(0xC0 | (c >> 6));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *p++ = static_cast<char>(0xE0 | (c >> 12));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *p++ = static_cast<char>(0xF0 | (c >> 18));
        *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return p;
}
}  // namespace

std::optional<char32_t> nextCodePoint(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
    const std::uint8_t lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead >= 0xF5 || i + length > s.size()) {
        ++i;
        return std::nullopt;
    }
    char32_t c = lead & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
        const std::uint8_t next = byte(i + k);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kShortest[length] || c > 0x10FFFF || isSurrogate(c)) {
        ++i;
        return std::nullopt;
    }
    i += length;
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    char bytes[4];
    out.append(bytes, putUtf8(bytes, c));
}

void utf8ToUtf16(std::string_view s, std::u16string& out) {
    out.clear();
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const char32_t c = nextCodePoint(s, i).value_or(kReplacementCharacter);
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    utf8ToUtf16(utf8, out);
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    Utf16Decoder decoder(out);
    for (char16_t unit : utf16) decoder.add(unit);
    decoder.finish();
    return out;
}

void appendLatin1(std::string& out, const std::uint8_t* chars, std::size_t count) {
    // Sized once: one more byte for each character past ASCII.
    std::size_t high = 0;
    for (std::size_t i = 0; i < count; ++i) high += chars[i] >> 7;
    const std::size_t start = out.size();
    out.resize(start + count + high);
    char* p = out.data() + start;
    if (high == 0) {
        std::memcpy(p, chars, count);
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t c = chars[i];
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
        } else {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

void Utf16Decoder::add(std::uint16_t unit) {
    if (isLowSurrogate(unit)) {
        appendUtf8(out_, high_ ? 0x10000 + ((char32_t(high_) - 0xD800) << 10) + (unit - 0xDC00u) : kReplacementCharacter);
        high_ = 0;
        return;
    }
    if (high_) {
        appendUtf8(out_, kReplacementCharacter);
        high_ = 0;
    }
    if (isHighSurrogate(unit)) high_ = unit;
    else appendUtf8(out_, unit);
}

void Utf16Decoder::addLittleEndian(const std::uint8_t* bytes, std::size_t units) {
    const std::size_t start = out_.size();
    std::uint8_t beyondAscii = 0;
    for (std::size_t i = 0; i < units; ++i) beyondAscii |= static_cast<std::uint8_t>((bytes[2 * i] & 0x80) | bytes[2 * i + 1]);
    if (beyondAscii == 0 && !high_) {
        out_.resize(start + units);
        char* p = out_.data() + start;
        for (std::size_t i = 0; i < units; ++i) p[i] = static_cast<char>(bytes[2 * i]);
        return;
    }
    // At most 3 bytes a unit: a pair makes 4 from 2 units, and a lone high
    // surrogate's U+FFFD is written by the unit after it, which the high one
    // left without bytes; 3 more for one waiting from the last call.
    out_.resize(start + units * 3 + 3);
    char* p = out_.data() + start;
    for (std::size_t i = 0; i < units; ++i) {
        const auto unit = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (isLowSurrogate(unit)) {
            p = putUtf8(p, high_ ? 0x10000 + ((char32_t(high_) - 0xD800) << 10) + (unit - 0xDC00u) : kReplacementCharacter);
            high_ = 0;
            continue;
        }
        if (high_) {
            p = putUtf8(p, kReplacementCharacter);
            high_ = 0;
        }
        if (isHighSurrogate(unit)) high_ = unit;
        else p = putUtf8(p, unit);
    }
    out_.resize(static_cast<std::size_t>(p - out_.data()));
}

void Utf16Decoder::finish() {
    if (high_) appendUtf8(out_, kReplacementCharacter);
    high_ = 0;
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++count) nextCodePoint(utf8, i);
    return count;
}

}  // namespace text
