#pragma once
// The batch build's entry: the office engine and the Linux services with a
// window system that prints, and no display.
#include <string>
#include <vector>

namespace app {

// The arguments after the program's name; the exit status.
int RunBatch(const std::vector<std::string>& arguments);

}  // namespace app
