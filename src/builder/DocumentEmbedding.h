#pragma once
// Document embedding: one line whose file is not an Excel workbook, carried
// into the Presentation's "DATA" sheet as an object shown as an icon, with
// the object's name (and, for a Word or PowerPoint file, "|" and its page or
// slide count) in column 8 of the line's row.
#include <string>

#include "automation/Excel.h"
#include "automation/Variant.h"
#include "core/Context.h"

namespace builder {

// `row` is the line's current row on the Presentation's "DATA" sheet;
// `firstPage` and `lastPage` are its columns 9 and 10. LineStatus comes back
// 0 when the line was carried, 1 when it was canceled after a message naming
// the file and `description` (the Presentation then holds nothing of it).
void EmbedDocument(core::Context& ctx, automation::excel::Workbook& workbook, const std::string& fileName, long row,
                   const automation::Variant& firstPage, const automation::Variant& lastPage,
                   const std::string& description, int& LineStatus);

}  // namespace builder
