#pragma once
// A sheet's rows, whose cells may still lie undecoded in the file they were
// read from. A store's data sheet holds a hundred thousand cells, and most
// commands look at two columns of it: a row's cells are decoded when the row
// is first asked for, and a cell only looked at is decoded without being kept.
// Anything that changes rows, or walks all of them, gets every row decoded.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "office/model/CellFormat.h"
#include "office/model/CellValue.h"
#include "office/model/FormulaRef.h"

namespace office {

// 24 bytes: the format number sits in the value's tail padding, the formula
// and the text are one pointer each.
struct Cell {
    [[no_unique_address]] CellValue value;  // for a formula, its last calculated value
    std::uint16_t xf = kDefaultCellFormat;
    FormulaRef formula;                     // none for plain values
    bool operator==(const Cell& other) const {
        return value == other.value && xf == other.xf &&
               (formula == other.formula || (formula && other.formula && *formula == *other.formula));
    }
};

struct RowDef {
    std::vector<Cell> cells;             // index = column - 1; trailing empties allowed
    std::optional<std::uint16_t> xf;     // row-wide format (set on a whole row)
    std::uint16_t heightTwips = 255;
    bool customHeight = false;
    bool hidden = false;
    bool operator==(const RowDef&) const = default;
};

// Where the undecoded cells of a sheet's rows are, and how to decode them.
// Immutable, and shared by copies of the sheet. Its rows are the rows as
// read; rows deleted since move the others up, so the sheet's rows name the
// row of the pending cells each takes its cells from.
class PendingCells {
public:
    virtual ~PendingCells() = default;
    // The number of cells row `row` (1-based) holds once decoded.
    virtual std::uint32_t width(std::uint32_t row) const = 0;
    // None of these throws for a file that was read: the reader checked its
    // records. Rows are 1-based, columns too.
    // Fills the cells of row `row` into `def`, whose cells are empty.
    virtual void decode(std::uint32_t row, RowDef& def) const = 0;
    // Fills rows[i] with the cells of row sources[i], for each i whose source
    // is not 0, in one walk. The sources increase.
    virtual void decodeAll(std::vector<RowDef>& rows, const std::vector<std::uint32_t>& sources) const = 0;
    // One cell of row `row` (whose settings are `def`) without decoding the others.
    virtual std::optional<Cell> peek(std::uint32_t row, std::uint32_t column, const RowDef& def) const = 0;
    // The values of columns first to first + out.size() - 1 of row `row`
    // (empty where peek finds no cell), as peek gives them one by one; a
    // reader may find them in one walk.
    virtual void peekValues(std::uint32_t row, std::uint32_t first, const RowDef& def,
                            std::span<automation::Variant> out) const {
        for (std::size_t i = 0; i < out.size(); ++i) {
            const std::optional<Cell> cell = peek(row, first + static_cast<std::uint32_t>(i), def);
            out[i] = cell ? cell->value.toVariant() : automation::Variant();
        }
    }
};

class SheetRows {
public:
    // Every row, all decoded.
    std::vector<RowDef>& all() {
        decodeAll();
        return own();
    }
    const std::vector<RowDef>& all() const {
        decodeAll();
        return view();
    }
    // Rows held, and the cells row `row` holds (1-based; 0 beyond the rows), decoding nothing.
    std::uint32_t count() const { return static_cast<std::uint32_t>(view().size()); }
    std::uint32_t width(std::uint32_t row) const;
    // Row `row` (1-based) decoded; nullptr beyond the rows held.
    const RowDef* row(std::uint32_t row) const;
    // Row `row` decoded, the rows grown to it as needed.
    RowDef& rowAt(std::uint32_t row);
    // A copy of a cell, nullopt when never written. An undecoded row stays so.
    std::optional<Cell> peek(std::uint32_t row, std::uint32_t column) const;
    // The values of columns first to first + out.size() - 1 of a row, as
    // peek gives them (empty where it finds no cell): reading a block of
    // cells row by row, an undecoded row's records are walked once, not once
    // for each cell.
    void peekValues(std::uint32_t row, std::uint32_t first, std::span<automation::Variant> out) const;

    // Deletes rows first to last (1-based), moving the rows below up; no row is decoded.
    void erase(std::uint32_t first, std::uint32_t last);

    // The rows held now keep their settings; their cells come from `pending`.
    void defer(std::shared_ptr<const PendingCells> pending);
    bool hasUndecoded() const { return pending_ != nullptr; }
    // For a writer that can copy undecoded cells as they were read: where
    // they come from (none once all are decoded), the row of those cells
    // that row `row` still takes its cells from (0 once decoded), and the
    // row's own settings, its cells left out while undecoded.
    const PendingCells* pending() const { return pending_.get(); }
    std::uint32_t sourceOf(std::uint32_t row) const { return undecoded(row) ? sources_[row - 1] : 0; }
    const RowDef& settings(std::uint32_t row) const { return view()[row - 1]; }

    // Equal rows, decoded or not.
    bool operator==(const SheetRows& other) const { return all() == other.all(); }

private:
    void decodeAll() const {
        if (pending_) decodeRemaining();
    }
    void decodeRemaining() const;
    bool undecoded(std::uint32_t row) const { return pending_ && row <= sources_.size() && sources_[row - 1] != 0; }
    void decodeRow(std::uint32_t row) const;
    void forget() const;  // every row is decoded

    // The rows, read only while shared: copies of a sheet share them until
    // one changes or decodes a row. A workbook read again unchanged is a copy
    // of the one read first, and most commands never decode a row.
    const std::vector<RowDef>& view() const { return rows_ ? *rows_ : noRows(); }
    std::vector<RowDef>& own() const;
    static const std::vector<RowDef>& noRows();

    mutable std::shared_ptr<std::vector<RowDef>> rows_;  // index = row - 1; none while empty
    mutable std::shared_ptr<const PendingCells> pending_;  // none once every row is decoded
    mutable std::vector<std::uint32_t> sources_;  // per row while pending_ is set: its pending row, or 0
    mutable std::uint32_t undecodedLeft_ = 0;
};

}  // namespace office
