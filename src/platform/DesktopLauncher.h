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

// The text of an entry that offers a program for files (see
// FileHandlerEntry): the file comes last on the Exec line as "%f".
std::string FileHandlerEntryText(const automation::FileHandlerEntry& entry);

// Writes the entry as WriteLauncher writes a launcher (readable, not
// executable), making its folder when missing; then refreshes the folder's
// cache of file kinds with `updateCommand` (nothing when that is missing or
// fails). Raises the file-system object's error when it cannot be written.
void WriteFileHandler(const automation::FileHandlerEntry& entry,
                      const std::string& updateCommand = "update-desktop-database");

}  // namespace platform
