#include "core/Text.h"

#include <locale>
#include <string>

namespace core {

std::string Trim(std::string_view text) {
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    std::size_t end = text.find_last_not_of(' ');
    return std::string(text.substr(begin, end - begin + 1));
}

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

namespace {

// Decodes UTF-8; a malformed byte stands for itself (as Latin-1) so that no
// input is dropped from a comparison.
std::wstring decodeUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) {
            out.push_back(c);
            ++i;
            continue;
        }
        char32_t code = extra == 0 ? c : (c & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) { ok = false; break; }
            code = (code << 6) | (next & 0x3F);
        }
        if (!ok) {
            out.push_back(c);
            ++i;
            continue;
        }
        out.push_back(static_cast<wchar_t>(code));
        i += extra + 1;
    }
    return out;
}

const std::locale& userLocale() {
    static const std::locale locale = [] {
        for (const char* name : {"", "C.UTF-8", "C.utf8"}) {
            try {
                return std::locale(name);
            } catch (const std::runtime_error&) {
            }
        }
        return std::locale::classic();
    }();
    return locale;
}

std::wstring folded(std::string_view text) {
    std::wstring wide = decodeUtf8(text);
    const auto& ctype = std::use_facet<std::ctype<wchar_t>>(userLocale());
    ctype.tolower(wide.data(), wide.data() + wide.size());
    return wide;
}

}  // namespace

std::wstring CollationKey(std::string_view text) {
    std::wstring fold = folded(text);
    const auto& collate = std::use_facet<std::collate<wchar_t>>(userLocale());
    std::wstring key = collate.transform(fold.data(), fold.data() + fold.size());
    // Texts the collation calls equal are ordered by their folded characters.
    key.push_back(L'\0');
    key += fold;
    return key;
}

int CompareTextNoCase(std::string_view a, std::string_view b) {
    return CollationKey(a).compare(CollationKey(b));
}

bool HasForbiddenNameCharacter(std::string_view text) {
    return text.find_first_of("\\/:*?\"<>|") != std::string_view::npos;
}

}  // namespace core
