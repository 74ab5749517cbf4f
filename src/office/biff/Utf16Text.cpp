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

}  // namespace office::biff
