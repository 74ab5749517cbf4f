#pragma once
// The main window's Uninstall: the desktop launcher and the player's entry
// among the user's applications, the base workbook (with
// the lock file the engine keeps beside it) and, once the program has
// ended, the program file go; everything else in the data folder stays.
#include "core/Context.h"
#include "ui/model/Form.h"

namespace groups {

// The Uninstall button's mouse-up: only a left click with exactly Ctrl and
// Alt, confirmed, uninstalls; anything else explains the gesture.
void UninstallButtonMouseUp(core::Context& ctx, ui::Form& mainWindow, int button, int shift);

// Removes what Uninstall removes, unloads the main window and ends the
// program. A program file the user may not remove (a package's, or one
// installed for all users) stays, and the user is told how to remove it.
[[noreturn]] void Uninstall(core::Context& ctx, ui::Form& mainWindow);

}  // namespace groups
