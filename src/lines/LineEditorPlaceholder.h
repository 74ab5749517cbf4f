#pragma once
#include "core/Context.h"

namespace lines {

// Stand-in for the line editor until its window exists: says so, and the
// main window comes back.
void LineEditorPlaceholder(core::Context& ctx);

}  // namespace lines
