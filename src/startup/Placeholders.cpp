#include "startup/Placeholders.h"

namespace startup {

void PlaceholderDesktopShortcut(core::Context&, const std::string&, const std::string&) {}

}  // namespace startup
