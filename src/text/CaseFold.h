#pragma once
// Comparing texts without regard to letter case, the same way whatever the
// process's locale: Unicode simple case folding, so "Élite", "ÉLITE" and
// "élite" are one text under LANG=C as under it_IT.UTF-8.
#include <string>
#include <string_view>

namespace text {

// The folded form of UTF-8 text: every letter with a case mapped to its
// folded (mostly lower-case) form, one character for one. Malformed bytes
// stay as they are.
std::string foldCase(std::string_view utf8);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace text
