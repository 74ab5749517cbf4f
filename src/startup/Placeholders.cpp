#include "startup/Placeholders.h"

namespace startup {

void PlaceholderFolderChooser(core::Context& ctx) { ctx.state.ChooserResult.clear(); }

void PlaceholderDesktopShortcut(core::Context&, const std::string&, const std::string&) {}

}  // namespace startup
