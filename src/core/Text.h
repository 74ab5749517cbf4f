#pragma once
// Text helpers with the behaviour the program's typed names rely on. Case,
// character counts and display order are the text library's (text/).
#include <string>
#include <string_view>

namespace core {

// Removes leading and trailing blanks (spaces only, as typed names keep tabs).
std::string Trim(std::string_view text);
// Upper case of ASCII letters; other characters unchanged.
std::string UpperAscii(std::string_view text);

// True when `text` holds any of the characters a name may not contain:
// \ / : * ? " < > |
bool HasForbiddenNameCharacter(std::string_view text);

}  // namespace core
