#pragma once
// Text helpers with the behaviour the program's texts rely on: trimming of
// blanks only, case-insensitive comparison in the user's collation, length
// in characters of UTF-8 text.
#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// Removes leading and trailing blanks (spaces only, as typed names keep tabs).
std::string Trim(std::string_view text);
// Upper case of ASCII letters; other characters unchanged.
std::string UpperAscii(std::string_view text);
// Number of characters (code points) of UTF-8 text.
std::size_t CharCount(std::string_view text);

// Case-insensitive comparison in the collation of the user's locale:
// negative, zero or positive. Texts that differ other than in case never
// compare equal.
int CompareTextNoCase(std::string_view a, std::string_view b);
// A key whose plain comparison orders as CompareTextNoCase does; sorting by
// keys spares converting each text at every comparison.
std::wstring CollationKey(std::string_view text);
inline bool EqualsNoCase(std::string_view a, std::string_view b) { return CompareTextNoCase(a, b) == 0; }

// True when `text` holds any of the characters a name may not contain:
// \ / : * ? " < > |
bool HasForbiddenNameCharacter(std::string_view text);

}  // namespace core
