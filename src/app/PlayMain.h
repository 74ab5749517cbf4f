#pragma once
// `Tavolex --play "<Presentation>.xls"`: the player on the Qt windows.
#include <string>
#include <vector>

namespace app {

// True when the command line asks for the player.
bool IsPlayRequest(const std::vector<std::string>& arguments);

// Shows the Presentation's menu until "Exit". Exit status 0; 2 with the
// reason (on standard error and in a box) when the file is no Presentation
// or the command line names none.
int RunPlay(int argc, char** argv);

}  // namespace app
