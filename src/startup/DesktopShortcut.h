#pragma once
// The desktop launcher the first run offers: "<name>.desktop" in the user's
// desktop folder, starting this program with the chosen data folder.
#include <string>

#include "core/Context.h"

namespace startup {

// Writes the launcher `name` for `folder` and tells the user; every failure
// is told in a message box and leaves no launcher half-written (an earlier
// one stays until the new one is whole). The folder is handed over as it
// is; one holding a "|" gets the language suffix "|E" so that start-up does
// not take its last part for a language code.
void CreateDesktopShortcut(core::Context& ctx, const std::string& name, const std::string& folder);

// Where the launcher `name` lives on the desktop (also what Uninstall deletes).
std::string LauncherPath(const std::string& desktopFolder, const std::string& name);

// The running program's full path, as launchers start it; AutomationError
// when the platform cannot tell it.
std::string ProgramPath(core::Context& ctx);

// The "Tavolex Player" entry in the user's applications folder: the desktop
// offers it in "Open with" for Excel 97-2003 files, and starts
// `<program> --play <file>`; it never becomes their default program. The
// first run writes it with the launcher; a failure is told in a box.
void CreatePlayerEntry(core::Context& ctx, const std::string& program);
// Where it lives (also what Uninstall deletes).
std::string PlayerEntryPath(const std::string& applicationsFolder);

}  // namespace startup
