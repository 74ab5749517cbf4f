#include <cctype>

#include "office/vba/VbaProject.h"

namespace office::vba {
namespace {

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(current);
            current.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current.push_back(text[i]);
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

std::string lowerWord(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    std::string word;
    while (pos < line.size() && (std::isalnum(static_cast<unsigned char>(line[pos])) || line[pos] == '_'))
        word.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(line[pos++]))));
    return word;
}

// "[Public|Private|Friend] [Static] Sub|Function|Property ..."
bool startsProcedure(std::string_view line) {
    std::size_t pos = 0;
    std::string word = lowerWord(line, pos);
    while (word == "public" || word == "private" || word == "friend" || word == "static") word = lowerWord(line, pos);
    return word == "sub" || word == "function" || word == "property";
}

}  // namespace

void addFromString(Module& module, std::string_view text) {
    std::string added;
    for (const std::string& line : splitLines(text)) added += line + "\r\n";
    std::string& code = module.code;
    for (std::size_t start = 0; start < code.size();) {
        std::size_t end = start;
        while (end < code.size() && code[end] != '\r' && code[end] != '\n') ++end;
        if (startsProcedure(std::string_view(code).substr(start, end - start))) {
            code.insert(start, added);
            return;
        }
        if (end < code.size() && code[end] == '\r' && end + 1 < code.size() && code[end + 1] == '\n') ++end;
        start = end + 1;
    }
    if (!code.empty() && code.back() != '\n' && code.back() != '\r') code += "\r\n";
    code += added;
}

}  // namespace office::vba
