#pragma once
// UTF-8 (how the program holds text) to and from UTF-16 (how the office
// formats store it). Malformed input becomes U+FFFD, never an error.
#include <string>
#include <string_view>

namespace office::text {

void utf8ToUtf16(std::string_view utf8, std::u16string& out);
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

}  // namespace office::text
