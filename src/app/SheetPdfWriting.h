#pragma once
// A Presentation's frozen sheet on its printed pages in a PDF file, laid out
// with the page setup the build wrote.
#include "player/PresentationExport.h"

namespace app {

// The workbook is read once, on the first sheet asked for, and kept for the
// writer's other sheets.
player::SheetPdfWriter MakeSheetPdfWriter();

}  // namespace app
