#include "office/biff/Utf16Text.h"

namespace office::biff {

void appendCompressed(std::string& out, const std::uint8_t* chars, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t c = chars[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}

void Utf8Appender::addCodePoint(std::uint32_t cp) {
    if (cp < 0x80) {
        out_.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out_.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out_.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out_.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out_.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out_.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out_.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out_.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out_.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out_.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void Utf8Appender::add(std::uint16_t unit) {
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (high_) {
            addCodePoint(0x10000 + ((static_cast<std::uint32_t>(high_) - 0xD800) << 10) + (unit - 0xDC00u));
            high_ = 0;
        } else {
            addCodePoint(0xFFFD);
        }
        return;
    }
    if (high_) {
        addCodePoint(0xFFFD);
        high_ = 0;
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) high_ = unit;
    else addCodePoint(unit);
}

void Utf8Appender::addLittleEndian(const std::uint8_t* bytes, std::size_t units) {
    for (std::size_t i = 0; i < units; ++i) {
        std::uint16_t u = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (u < 0x80 && !high_) out_.push_back(static_cast<char>(u));
        else add(u);
    }
}

void Utf8Appender::finish() {
    if (high_) addCodePoint(0xFFFD);
    high_ = 0;
}

void toUtf16(std::string_view s, std::u16string& out) {
    out.clear();
    out.reserve(s.size());
    std::size_t i = 0;
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
    while (i < s.size()) {
        std::uint8_t c = byte(i);
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        std::size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        std::uint32_t cp = 0xFFFD;
        bool ok = len != 0 && c < 0xF5 && i + len <= s.size();
        if (ok) {
            cp = c & (0xFF >> (len + 1));
            for (std::size_t k = 1; k < len && ok; ++k) {
                if ((byte(i + k) & 0xC0) != 0x80) ok = false;
                else cp = (cp << 6) | (byte(i + k) & 0x3F);
            }
            static constexpr std::uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
            if (ok && (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        }
        if (!ok) {
            out.push_back(u'\xFFFD');
            ++i;
            continue;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
}

}  // namespace office::biff
