#pragma once
// Edits on the sheet model behind Range.Delete and Range.Copy, and the cell
// format lookup shared by reading and writing fonts.
#include <cstdint>
#include <map>

#include "office/engine/CellAddress.h"
#include "office/engine/FormatTranslator.h"
#include "office/model/WorkbookModel.h"

namespace office::engine {

// The format a cell shows: its own, else its row's, else its column's, else the default.
std::uint16_t effectiveXf(const SheetModel& sheet, std::uint32_t row, std::uint32_t column);

// Removes rows (columns) first..last; the ones after move up (left).
void deleteRows(SheetModel& sheet, std::uint32_t first, std::uint32_t last);
void deleteColumns(SheetModel& sheet, std::uint32_t first, std::uint32_t last);
// Removes a block of cells; the cells below move up, or those to the right move left.
void deleteCellsShiftUp(SheetModel& sheet, const RangeBounds& block);
void deleteCellsShiftLeft(SheetModel& sheet, const RangeBounds& block);

// Copies values and formats. The source and target sheet may be the same,
// even overlapping: the source is read completely first.
void copyRows(const SheetModel& from, std::uint32_t first, std::uint32_t last, SheetModel& to,
              std::uint32_t targetRow, XfTranslator& translate);
void copyColumns(const SheetModel& from, std::uint32_t first, std::uint32_t last, SheetModel& to,
                 std::uint32_t targetColumn, XfTranslator& translate);
// The values of `block` of `from` (formulas give their last values) put on
// `to` from (targetRow, targetColumn) on; the target cells keep their formats.
void pasteValues(const SheetModel& from, const RangeBounds& block, SheetModel& to, std::uint32_t targetRow,
                 std::uint32_t targetColumn);

void copyBlock(const SheetModel& from, const RangeBounds& block, SheetModel& to, std::uint32_t targetRow,
               std::uint32_t targetColumn, XfTranslator& translate);

}  // namespace office::engine
