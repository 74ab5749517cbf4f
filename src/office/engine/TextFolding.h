#pragma once
// Case-insensitive comparison of UTF-8 texts the way cell searches and sheet
// names need it: Latin (with accents), Greek and Cyrillic letters fold to
// lower case; everything else is compared as is.
#include <string>
#include <string_view>

namespace office::engine {

std::string foldCase(std::string_view utf8);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
// Number of characters (code points) in a UTF-8 text.
std::size_t characterCount(std::string_view utf8);

}  // namespace office::engine
