#pragma once
// "Print the Presentation" into one PDF file: every line not kept out of
// printing, in the order of "DATA". Sheets come as their printed pages,
// Word, PowerPoint and PDF lines as their page range; lines of other kinds
// are not printed by the menu either and are left out.
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/Context.h"
#include "player/LinePages.h"
#include "player/PresentationFile.h"

namespace player {

// Writes the frozen sheet of a sheet line on its printed pages to the new
// PDF file `pdfPath`; AutomationError when it cannot.
using SheetPdfWriter =
    std::function<void(const PresentationFile&, const PresentationLine&, const std::string& pdfPath)>;

// The exit statuses of the export.
constexpr int kExportWhole = 0;    // every printable line is in the file
constexpr int kExportPartly = 1;   // the file is written, some lines could not be rendered
constexpr int kExportNothing = 2;  // no file written

struct ExportReport {
    int status = kExportNothing;
    int pages = 0;                      // in the written file
    std::vector<std::string> problems;  // a line not rendered each, or why nothing was written
    std::vector<std::string> notes;     // lines not printable, layout notices
};

// Exports the open Presentation `file` to `outPath`. The file at `outPath`
// is replaced only once the whole PDF is ready; without a page to write it
// stays as it was.
ExportReport ExportPdf(const PresentationFile& file, const SheetPdfWriter& sheetPdf, LinePdfMaker& lines,
                       const std::string& outPath);

// Opens the Presentation `path` read-only in an Excel of ctx.objects,
// exports it, and tells `err` every problem and note. Returns the status.
int ExportPresentationPdf(core::Context& ctx, const std::string& path, const std::string& outPath,
                          const SheetPdfWriter& sheetPdf, LinePdfMaker& lines, std::ostream& err);

}  // namespace player
