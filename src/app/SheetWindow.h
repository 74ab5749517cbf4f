#pragma once
// A frozen sheet of a Presentation full screen, read-only, without
// gridlines or headings; Esc or Alt+F4 closes it.
#include "office/format/ShownSheet.h"

namespace app {

// Returns when the user closes the view.
void ShowSheetFullScreen(const office::ShownSheet& sheet, const std::string& title);

}  // namespace app
