#include "core/Text.h"

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

bool HasForbiddenNameCharacter(std::string_view text) {
    return text.find_first_of("\\/:*?\"<>|") != std::string_view::npos;
}

}  // namespace core
