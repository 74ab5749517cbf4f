#include "startup/StartArgument.h"

#include <cctype>

namespace startup {

namespace {

std::string Trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string UpperCased(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

StartArgument ParseArgument(const std::string& argument) {
    StartArgument parsed;
    std::string folder = argument;
    std::size_t bar = argument.rfind('|');
    if (bar != std::string::npos) {
        parsed.languageCode = UpperCased(Trimmed(argument.substr(bar + 1)));
        folder = argument.substr(0, bar);
    }
    folder = Trimmed(folder);
    if (folder.empty()) return StartArgument{true, "", "E"};
    if (folder.back() != '/') folder += '/';
    parsed.folder = folder;
    return parsed;
}

std::string JoinArguments(int argc, char** argv) {
    std::string joined;
    for (int i = 1; i < argc && argv && argv[i]; ++i) {
        if (i > 1) joined += ' ';
        joined += argv[i];
    }
    return joined;
}

}  // namespace startup
