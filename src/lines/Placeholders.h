#pragma once
// Stand-ins for the file chooser and the document probe until they exist.
// Each says plainly what is missing and leaves the line editor usable: a
// line's file can be typed as a path, and a line keeps its own sheet.
#include <string>

#include "core/Context.h"

namespace lines {

void PlaceholderFindFiles(core::Context& ctx, ui::Form& editor);
void PlaceholderFileBoxMouseUp(core::Context& ctx, ui::Form& editor, int button, int shift);
void PlaceholderProbeLineFile(core::Context& ctx, ui::Form& editor, const std::string& fileName);

}  // namespace lines
