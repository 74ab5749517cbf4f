#pragma once
// Stand-in the program wires for the desktop shortcut until the launcher
// writer exists. PLACEHOLDER: replace it with the real launcher writer.
#include <string>

#include "core/Context.h"

namespace startup {

// Writes nothing.
void PlaceholderDesktopShortcut(core::Context& ctx, const std::string& name, const std::string& folder);

}  // namespace startup
