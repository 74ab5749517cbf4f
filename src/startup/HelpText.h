#pragma once
// The help window's text in English and Italian.
#include <string>

namespace startup {

// The program's web site, named in the second line of the help text.
inline constexpr const char* kWebSiteAddress = "https://github.com/tavolex/tavolex";

// English for "E", Italian for "I", empty for any other code; lines are
// separated by "\r".
std::string HelpText(const std::string& languageCode);

}  // namespace startup
