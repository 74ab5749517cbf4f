#include "office/engine/TextFolding.h"

#include <cstdint>

namespace office::engine {

namespace {

char32_t lowerCase(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 32;
    if (c < 0xC0) return c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;                 // Latin-1 capitals
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x138 && c != 0x149) {  // Latin Extended-A
        bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddCapitals) return (c % 2 == 1) ? c + 1 : c;
        if (c == 0x178) return 0xFF;
        return (c % 2 == 0) ? c + 1 : c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;  // Greek
    if (c >= 0x410 && c <= 0x42F) return c + 32;                // Cyrillic
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

// Decodes one UTF-8 sequence at `i`; malformed bytes come back one by one.
char32_t decode(std::string_view s, std::size_t& i) {
    auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
    std::uint8_t lead = byte(i);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length <= 1 || i + static_cast<std::size_t>(length) > s.size()) {
        ++i;
        return lead;
    }
    char32_t c = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        std::uint8_t next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++i;
            return lead;
        }
        c = (c << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(length);
    return c;
}

void encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string foldCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t start = i;
        char32_t c = decode(utf8, i);
        char32_t lower = lowerCase(c);
        if (lower == c) out.append(utf8.substr(start, i - start));  // keeps malformed bytes as they were
        else encode(lower, out);
    }
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) { return foldCase(a) == foldCase(b); }

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++count) decode(utf8, i);
    return count;
}

}  // namespace office::engine
