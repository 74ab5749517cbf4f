#pragma once
// Writes one sheet substream: a worksheet with its settings, cells, formulas
// and drawing, or a chart sheet (its kept substream, or a minimal one that
// keeps the sheet's place and name).
#include <cstdint>
#include <optional>
#include <vector>

#include "office/biff/CopiedCells.h"
#include "office/biff/RecordWriter.h"
#include "office/biff/SheetDrawing.h"
#include "office/model/WorkbookModel.h"

namespace office::biff {

struct SheetWriteContext {
    std::size_t xfCount = 16;     // cell formats beyond it are written as the default one
    std::size_t pictureCount = 0; // entries of the picture store
    bool active = false;          // the sheet WINDOW1 names: selected and active
    // Shared-string indexes of the text cells of all sheets in writing order
    // (rows in order, cells by column); `nextString` walks them.
    const std::vector<std::uint32_t>* stringIndexes = nullptr;
    std::size_t nextString = 0;
    // The sheet's rows whose records are copied as read; none: every row is written from its cells.
    const CopiedCells* copied = nullptr;
    // The drawing ids planned for this sheet: its objects' drawing, or a chart
    // sheet's own drawing.
    std::optional<SheetDrawingIds> drawingIds;
};

void writeWorksheet(RecordWriter& out, const SheetModel& sheet, SheetWriteContext& context);
void writeChartSheet(RecordWriter& out, const SheetModel& sheet, SheetWriteContext& context);

// The XF an unwritten cell of the sheet takes: the row's, else the column's, else the default.
std::uint16_t impliedXf(const SheetModel& sheet, const RowDef& row, std::size_t column);

// Calls `f(columnIndex, cell)` for each cell of `row` that needs a record:
// a value, a formula, or a format other than the one an absent cell would take.
template <typename F>
void forEachWrittenCell(const SheetModel& sheet, const RowDef& row, F&& f) {
    const std::size_t count = std::min<std::size_t>(row.cells.size(), kMaxColumns);
    for (std::size_t c = 0; c < count; ++c) {
        const Cell& cell = row.cells[c];
        if (!cell.value.isEmpty() || cell.formula || cell.xf != impliedXf(sheet, row, c)) f(c, cell);
    }
}

// A formula the writer writes: one that refers to a shared formula, array or
// table needs the cell holding it, with that record, on the sheet.
bool formulaWritable(const SheetModel& sheet, const Formula& formula);

}  // namespace office::biff
