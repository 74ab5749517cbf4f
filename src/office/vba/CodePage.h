#pragma once
// Names and source of a macro project are stored in the project's code page.
// Western European (1252) is converted exactly; any other keeps its ASCII and
// reads other bytes as U+FFFD, writes other characters as '?'.
#include <cstdint>
#include <string>
#include <string_view>

namespace office::vba {

std::string toCodePage(std::string_view utf8, std::uint16_t codePage);
std::string fromCodePage(std::string_view bytes, std::uint16_t codePage);

}  // namespace office::vba
