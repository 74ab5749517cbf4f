#pragma once
// Writes one sheet substream: a worksheet with its settings and cells, or the
// minimal chart substream that keeps a chart sheet's place and name.
#include <cstdint>
#include <vector>

#include "office/biff/RecordWriter.h"
#include "office/model/WorkbookModel.h"

namespace office::biff {

struct SheetWriteContext {
    std::size_t xfCount = 16;     // cell formats beyond it are written as 15
    bool active = false;          // the sheet WINDOW1 names: selected and active
    // Shared-string indexes of the text cells of all sheets in writing order
    // (rows in order, cells by column); `nextString` walks them.
    const std::vector<std::uint32_t>* stringIndexes = nullptr;
    std::size_t nextString = 0;
};

void writeWorksheet(RecordWriter& out, const SheetModel& sheet, SheetWriteContext& context);
void writeChartSheet(RecordWriter& out, const SheetModel& sheet, SheetWriteContext& context);

// The XF an unwritten cell of the sheet takes: the row's, else the column's, else 15.
std::uint16_t impliedXf(const SheetModel& sheet, const RowDef& row, std::size_t column);

// Calls `f(columnIndex, cell)` for each cell of `row` that needs a record:
// a value, or a format other than the one an absent cell would take.
template <typename F>
void forEachWrittenCell(const SheetModel& sheet, const RowDef& row, F&& f) {
    const std::size_t count = std::min<std::size_t>(row.cells.size(), kMaxColumns);
    for (std::size_t c = 0; c < count; ++c) {
        const Cell& cell = row.cells[c];
        if (!cell.value.isEmpty() || cell.xf != impliedXf(sheet, row, c)) f(c, cell);
    }
}

}  // namespace office::biff
