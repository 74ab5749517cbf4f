#pragma once
// The sheet transfer: one Excel line carried into the Presentation as a
// frozen copy of its sheet (values and formats, charts turned into pictures),
// or a chart sheet carried as a worksheet holding the chart's picture.
#include <optional>
#include <string>

#include "automation/Excel.h"
#include "core/Context.h"

namespace builder {

// Opens `fileName` read-only in the build's Excel (ExcelApp) without updating
// links and carries its sheet `inputSheet` (found ignoring case, hidden or
// not) into `workbook` after its first sheet, named `outputSheet`. The
// source is never renamed or changed and is closed without saving.
// LineStatus comes back 0 when the line was carried; 1 when it was canceled
// (the file could not be opened, the sheet is missing, or the sheet could
// not be carried), after a message naming the file and `description`; the
// Presentation then holds nothing of the line.
void TransferSheet(core::Context& ctx, automation::excel::Workbook& workbook, const std::string& fileName,
                   const std::string& inputSheet, const std::string& outputSheet, const std::string& description,
                   int& LineStatus);

// The column of the workbook's active sheet whose left edge is at most
// `left` points while the next column's is beyond it; walks row 1 from column 1.
std::optional<long> ColumnAtLeft(double left, automation::excel::Workbook& workbook);
// The same for rows: walks column 1 from row 1.
std::optional<long> RowAtTop(double top, automation::excel::Workbook& workbook);

}  // namespace builder
