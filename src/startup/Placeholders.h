#pragma once
// Stand-ins the program wires for the folder chooser and the desktop
// shortcut until those windows exist. PLACEHOLDERS: replace them with the
// real chooser (Form1) and the real launcher writer.
#include <string>

#include "core/Context.h"

namespace startup {

// Behaves as if the user left the chooser by Exit: ChooserResult stays empty,
// so no shortcut is made and the first run goes on to the help window.
void PlaceholderFolderChooser(core::Context& ctx);

// Writes nothing.
void PlaceholderDesktopShortcut(core::Context& ctx, const std::string& name, const std::string& folder);

}  // namespace startup
