#pragma once
#include "core/Context.h"

namespace groups {

// Shows the main window until the program's windows are all closed. The main
// window and the line editor take turns: when New or Update hands over, the
// main window closes, the line editor runs, and a freshly loaded main window
// follows, so going back and forth never nests windows.
void RunMainWindow(core::Context& ctx);

}  // namespace groups
