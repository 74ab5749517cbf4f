#pragma once
// The document probe: looking into a line's file for what the line can refer
// to. A workbook lists its sheets, a Word document gives its pages, a
// PowerPoint presentation its slides. Every probe starts and ends its own
// office instance and never writes to the file it looks at.
#include <string>

#include "automation/AutomationError.h"
#include "automation/Variant.h"
#include "core/Context.h"

namespace lines {
class Us_Menu;
}

namespace probe {

// Arranges the line editor's frames for the kind of `fileName` and fills
// them: the sheet list (selecting the line's SheetName), or the page or
// slide count in Frame1's caption and MaxPageCount. A file that cannot be
// opened is reported with the open-failure message and leaves Frame3
// hidden; an unexpected error ends in FatalError.
void ProbeLineFile(core::Context& ctx, lines::Us_Menu& editor, const std::string& fileName);

// Slides of the presentation `fileName`. Raises AutomationError when the
// file cannot be opened or counted; nothing stays open either way. Holds the
// presentation in ProbedPresentation while it counts.
long CountSlides(core::Context& ctx, const std::string& fileName);

// Pages of the Word document `fileName`, as its application paginated it.
// ProbeOpenFailed becomes 0, or 1 when the document could not be opened:
// the open-failure message is then shown and the result is empty.
// `pageCountIsEstimate` (when given) tells whether the document records no
// count of its own, so the pages are estimated from its text. Errors after
// the document opened are raised to the caller.
automation::Variant CountPages(core::Context& ctx, const std::string& fileName, int& ProbeOpenFailed,
                               bool* pageCountIsEstimate = nullptr);

// "Error!!!!", the error's number and description, and the file's name: what
// the user reads when a file cannot be opened.
void ShowOpenFailure(core::Context& ctx, const automation::AutomationError& error, const std::string& fileName);

}  // namespace probe
