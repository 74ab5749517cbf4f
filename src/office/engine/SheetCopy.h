#pragma once
// Worksheet.Copy on the model: the copy of a worksheet as a sheet of the same
// or another workbook, with what it points into (formats, colours, pictures)
// carried over.
#include <string>

#include "office/model/WorkbookModel.h"

namespace office::engine {

// The copy of `sheet`, a worksheet of `from`, ready to be placed in `to`.
// Within one workbook the copy keeps its formulas; into another it keeps
// their values only, and only what does not point into its own workbook
// (formulas, comments, conditional formats, hyperlinks, validation, drawn
// objects other than pictures and charts stay behind). Its charts then draw
// from `from` as it is now.
SheetModel copyOfSheet(const WorkbookModel& from, const SheetModel& sheet, WorkbookModel& to);

// `name`, or when `to` has it already "name (2)", "name (3)", ..., within 31 characters.
std::string nameForCopy(const WorkbookModel& to, const std::string& name);

}  // namespace office::engine
