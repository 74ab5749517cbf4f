#pragma once
// Walks the lines of the DATA table: rows 2 down to the first row without
// an id, row 9999 at most. A full table is ten thousand rows: they are read
// a block at a time, each line's first cells handed over together, since a
// read of each cell alone costs several times as much.
#include <functional>
#include <span>

#include "automation/Excel.h"
#include "store/DataLayout.h"

namespace store {

// Calls `visit(row, cells)` for each line: cells[0] is the id (column A),
// cells[k] the cell of column k + 1, up to column `columns`. The walk ends
// when `visit` returns false.
void ForEachLine(automation::excel::Worksheet& data, Column columns,
                 const std::function<bool(long row, std::span<const automation::Variant> cells)>& visit);

}  // namespace store
