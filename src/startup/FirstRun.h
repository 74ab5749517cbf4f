#pragma once
// A start without a data folder: instructions, the offer of a desktop
// shortcut to a chosen folder, and the help window.
#include <string>

#include "core/Context.h"

namespace startup {

// Always ends the program (core::EndProgram) once the help window closes.
[[noreturn]] void FirstRunPath(core::Context& ctx);

// The shortcut's name: the title up to and including the first character
// after its first "." ("Tavolex 1.1"); the whole title when it has no ".".
std::string ShortcutName(const std::string& title);

}  // namespace startup
