#pragma once
// The rows of a worksheet a save copies as they were read. A store's data
// sheet holds ten thousand rows and a save changes one or two: the cell
// records of every row still undecoded are copied from the stream they were
// read from, their row numbers and shared-string indexes put right, and no
// cell is made for them. Only plain values are copied (no formulas), each
// column once and in order, with formats the file written still holds; any
// other row is decoded and written from its cells.
#include <cstdint>
#include <span>
#include <vector>

#include "office/biff/RecordWriter.h"
#include "office/biff/SharedStringsWriter.h"
#include "office/model/WorkbookModel.h"

namespace office::biff {

class CopyableCells;

class CopiedCells {
public:
    // Chooses the rows of `sheet` to copy and adds their texts to `strings`;
    // `xfCount` cell formats are written. Rows past `rowCount` are not written.
    CopiedCells(const SheetModel& sheet, std::size_t rowCount, std::size_t xfCount, SharedStringsWriter& strings);

    // Whether row `row` (1-based) is copied, and the columns its records
    // cover, [first, end).
    bool copied(std::uint32_t row) const { return row <= rows_.size() && !rows_[row - 1].records.empty(); }
    std::uint16_t firstColumn(std::uint32_t row) const { return rows_[row - 1].firstColumn; }
    std::uint16_t endColumn(std::uint32_t row) const { return rows_[row - 1].endColumn; }
    // Appends the records of a copied row, numbered as row `row`.
    void write(RecordWriter& out, std::uint32_t row) const;

    // The heap the plan for `sheet` takes (its rows, its texts in the new
    // table), for the writer to announce with its own.
    static std::size_t heapFor(const SheetModel& sheet);
    // The texts the rows copied from `sheet` may add to the new table.
    static std::size_t textsFor(const SheetModel& sheet);

private:
    struct Row {
        std::span<const std::uint8_t> records;  // empty: written from its cells
        std::uint16_t firstColumn = 0, endColumn = 0;
    };
    // The row's records when all can be copied; their columns into `row`.
    bool plan(std::span<const std::uint8_t> records, std::uint32_t sourceRow, Row& row) const;
    void addStrings(std::span<const std::uint8_t> records, SharedStringsWriter& strings);

    const CopyableCells* from_ = nullptr;
    std::size_t xfLimit_ = 0;  // the formats both files hold
    std::vector<Row> rows_;    // index = row - 1
    std::vector<std::uint32_t> newIndex_;  // shared string: index read -> index written
};

}  // namespace office::biff
