#pragma once
// Windows-1252 (Western European), the code page in which macro projects
// written here store their source and names. Characters it cannot hold become
// '?', as Windows' own conversion does; every byte reads and writes back
// unchanged.
#include <string>
#include <string_view>

namespace text {

std::string utf8ToWindows1252(std::string_view utf8);
std::string windows1252ToUtf8(std::string_view bytes);

}  // namespace text
