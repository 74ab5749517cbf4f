#include "text/CaseFold.h"

#include <unicode/uchar.h>

#include <algorithm>

#include "text/Utf.h"

namespace text {

namespace {

char lowerAscii(unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); }

// Folds `utf8` from `from` on (a code point's start) onto the end of `out`.
void foldFrom(std::string_view utf8, std::size_t from, std::string& out) {
    for (std::size_t i = from; i < utf8.size();) {
        const std::size_t start = i;
        const auto c = nextCodePoint(utf8, i);
        if (c && *c < 0x80) {
            out.push_back(lowerAscii(static_cast<unsigned char>(*c)));
            continue;
        }
        const auto folded = c ? static_cast<char32_t>(u_foldCase(static_cast<UChar32>(*c), U_FOLD_CASE_DEFAULT)) : 0;
        if (!c || folded == *c) out.append(utf8.substr(start, i - start));
        else appendUtf8(out, folded);
    }
}

}  // namespace

std::string foldCase(std::string_view utf8) {
    // Most texts are ASCII: byte by byte up to the first byte that is not.
    std::string out(utf8.size(), '\0');
    std::size_t i = 0;
    for (; i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80; ++i)
        out[i] = lowerAscii(static_cast<unsigned char>(utf8[i]));
    if (i == utf8.size()) return out;
    out.resize(i);
    foldFrom(utf8, i, out);
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    // Compared byte by byte while both are ASCII, with nothing made. Past an
    // ASCII prefix both stand at a code point's start, and the rests are
    // folded and compared. Folding keeps a text that is not empty so, and a
    // longer ASCII text folds to a longer one.
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if ((x | y) >= 0x80) return foldCase(a.substr(i)) == foldCase(b.substr(i));
        if (lowerAscii(x) != lowerAscii(y)) return false;
    }
    return a.size() == b.size();
}

}  // namespace text
