#pragma once
// A Word, PowerPoint or PDF line on paper: the pages of its range, as the
// player shows them.
#include <QPrinter>

#include "player/LinePages.h"

namespace app {

// Prints the pages of the line's range on `printer`, one sheet of paper per
// page, each as large as the printable area allows, in the document's own
// orientation (slides across the paper). Pages are drawn at the printer's
// resolution, at most 300 dots per inch. False, with nothing printed, when
// this machine has no layout engine for the line; AutomationError when the
// layout fails or the printer cannot start.
bool PrintDocumentLine(QPrinter& printer, player::LinePdfMaker& maker, const player::PresentationFile& file,
                       const player::PresentationLine& line);

}  // namespace app
