#pragma once
// The desktop shortcut on Linux: a freedesktop Desktop Entry launcher
// ("<name>.desktop") that starts the program with the data folder as its one
// argument.
#include <string>

#include "automation/WindowsServices.h"

namespace platform {

// One argument of an Exec line: quoted, with the characters that are
// special inside quotes escaped, "%" doubled for the field codes, and then
// the backslashes and control characters escaped as every string value's
// are, so that a launcher hands the program exactly `argument` back.
std::string ExecArgument(const std::string& argument);

// The launcher file's text.
std::string DesktopEntryText(const automation::Shortcut& shortcut);

// Writes the launcher next to its final place and renames it over an
// earlier one, executable; then, in a GNOME session, marks it trusted with
// `gioCommand` (nothing when that is missing or fails). Raises the
// file-system object's error when it cannot be written.
void WriteLauncher(const automation::Shortcut& shortcut, const std::string& gioCommand = "gio");

}  // namespace platform
