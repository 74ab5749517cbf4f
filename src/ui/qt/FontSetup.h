#pragma once

namespace ui::qt {

// Makes the fonts the forms name available; safe to call more than once.
void installFormFonts();

}  // namespace ui::qt
