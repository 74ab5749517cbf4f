#pragma once
// The program's entry procedure: settles the process-wide settings from the
// command-line argument, checks the data folder, creates the base workbook
// when the folder has none and shows the main window; without a folder it
// runs the first-run path instead.
#include <string>

#include "core/Context.h"
#include "startup/StartArgument.h"

namespace startup {

// Returns when the program ends, whether its last window closed or it ended
// at once (core::EndProgram) on the way.
void Run(core::Context& ctx, const std::string& argument);

}  // namespace startup
