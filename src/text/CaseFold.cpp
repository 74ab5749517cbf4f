#include "text/CaseFold.h"

#include <unicode/uchar.h>

#include "text/Utf.h"

namespace text {

std::string foldCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const auto c = nextCodePoint(utf8, i);
        if (c && *c < 0x80) {
            const char ascii = static_cast<char>(*c);
            out.push_back(ascii >= 'A' && ascii <= 'Z' ? static_cast<char>(ascii - 'A' + 'a') : ascii);
            continue;
        }
        const auto folded = c ? static_cast<char32_t>(u_foldCase(static_cast<UChar32>(*c), U_FOLD_CASE_DEFAULT)) : 0;
        if (!c || folded == *c) out.append(utf8.substr(start, i - start));
        else appendUtf8(out, folded);
    }
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() == b.size() && a == b) return true;
    return foldCase(a) == foldCase(b);
}

}  // namespace text
