#include "office/vba/CodePage.h"

#include "text/Windows1252.h"

namespace office::vba {

std::string toCodePage(std::string_view utf8, std::uint16_t codePage) {
    std::string out = text::utf8ToWindows1252(utf8);
    if (codePage != 1252)
        for (char& c : out)
            if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    return out;
}

std::string fromCodePage(std::string_view bytes, std::uint16_t codePage) {
    if (codePage == 1252) return text::windows1252ToUtf8(bytes);
    std::string out;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80) out.push_back(c);
        else out += "\xEF\xBF\xBD";
    }
    return out;
}

}  // namespace office::vba
