#include "office/engine/SheetEdit.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace office::engine {

namespace {



std::optional<Cell> existingCell(const SheetModel& sheet, std::uint32_t row, std::uint32_t column) {
    if (const Cell* cell = sheet.cell(row, column)) return *cell;
    return std::nullopt;
}

// Writes a copied cell; a missing source cell blanks an existing target cell.
void putCell(SheetModel& to, std::uint32_t row, std::uint32_t column, const std::optional<Cell>& source,
             XfTranslator& translate) {
    if (source) {
        Cell copy = *source;
        copy.xf = translate(copy.xf);
        if (translate.crossesWorkbooks()) copy.formula.reset();  // it points into its own workbook
        to.cellAt(row, column) = copy;
    } else if (to.cell(row, column)) {
        to.cellAt(row, column) = Cell{};
    }
}

}  // namespace

std::uint16_t effectiveXf(const SheetModel& sheet, std::uint32_t row, std::uint32_t column) {
    if (const Cell* cell = sheet.cell(row, column)) return cell->xf;
    if (const RowDef* def = sheet.rows.row(row); def && def->xf) return *def->xf;
    if (auto c = sheet.columns.find(static_cast<std::uint16_t>(column - 1)); c != sheet.columns.end() && c->second.xf)
        return *c->second.xf;
    return kDefaultCellFormat;
}

void deleteRows(SheetModel& sheet, std::uint32_t first, std::uint32_t last) { sheet.rows.erase(first, last); }

void deleteColumns(SheetModel& sheet, std::uint32_t first, std::uint32_t last) {
    for (RowDef& row : sheet.rows.all()) {
        if (first > row.cells.size()) continue;
        auto end = std::min<std::size_t>(last, row.cells.size());
        row.cells.erase(row.cells.begin() + (first - 1), row.cells.begin() + static_cast<std::ptrdiff_t>(end));
    }
    const std::uint32_t removed = last - first + 1;
    std::map<std::uint16_t, ColumnDef> kept;
    for (const auto& [key, def] : sheet.columns) {
        if (key + 1u < first) kept.emplace(key, def);
        else if (key + 1u > last) kept.emplace(static_cast<std::uint16_t>(key - removed), def);
    }
    sheet.columns = std::move(kept);
}

void deleteCellsShiftUp(SheetModel& sheet, const RangeBounds& block) {
    const std::uint32_t height = block.rowCount();
    const auto used = sheet.rows.count();
    for (std::uint32_t row = block.firstRow; row <= used; ++row)
        for (std::uint32_t column = block.firstColumn; column <= block.lastColumn; ++column) {
            std::optional<Cell> below = row + height <= used ? existingCell(sheet, row + height, column) : std::nullopt;
            if (below) sheet.cellAt(row, column) = *below;
            else if (sheet.cell(row, column)) sheet.cellAt(row, column) = Cell{};
        }
}

void deleteCellsShiftLeft(SheetModel& sheet, const RangeBounds& block) {
    std::vector<RowDef>& rows = sheet.rows.all();
    const auto lastRow = std::min<std::size_t>(block.lastRow, rows.size());
    for (std::size_t row = block.firstRow; row <= lastRow; ++row) {
        auto& cells = rows[row - 1].cells;
        if (block.firstColumn > cells.size()) continue;
        auto end = std::min<std::size_t>(block.lastColumn, cells.size());
        cells.erase(cells.begin() + (block.firstColumn - 1), cells.begin() + static_cast<std::ptrdiff_t>(end));
    }
}

void copyRows(const SheetModel& from, std::uint32_t first, std::uint32_t last, SheetModel& to,
              std::uint32_t targetRow, XfTranslator& translate) {
    std::vector<RowDef> source;
    for (std::uint32_t row = first; row <= last && row <= from.rows.count(); ++row) source.push_back(*from.rows.row(row));
    for (RowDef& row : source) {
        if (row.xf) row.xf = translate(*row.xf);
        for (Cell& cell : row.cells) {
            cell.xf = translate(cell.xf);
            if (translate.crossesWorkbooks()) cell.formula.reset();  // it points into its own workbook
        }
    }
    const std::uint32_t count = last - first + 1;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t target = targetRow + i;
        if (i < source.size()) to.rowAt(target) = std::move(source[i]);
        else if (target <= to.rows.count()) to.rowAt(target) = RowDef{};
        else break;  // empty source rows onto rows that do not exist: nothing to do
    }
}

void copyColumns(const SheetModel& from, std::uint32_t first, std::uint32_t last, SheetModel& to,
                 std::uint32_t targetColumn, XfTranslator& translate) {
    const std::uint32_t width = last - first + 1;
    std::vector<std::vector<std::optional<Cell>>> source(from.rows.count());
    for (std::uint32_t row = 1; row <= from.rows.count(); ++row)
        for (std::uint32_t column = first; column <= last; ++column)
            source[row - 1].push_back(existingCell(from, row, column));
    std::map<std::uint16_t, ColumnDef> definitions;
    for (std::uint32_t column = first; column <= last; ++column)
        if (auto it = from.columns.find(static_cast<std::uint16_t>(column - 1)); it != from.columns.end())
            definitions.emplace(static_cast<std::uint16_t>(column - first), it->second);

    const auto rows = std::max<std::size_t>(source.size(), to.rows.count());
    for (std::uint32_t row = 1; row <= rows; ++row)
        for (std::uint32_t k = 0; k < width; ++k)
            putCell(to, row, targetColumn + k, row <= source.size() ? source[row - 1][k] : std::nullopt, translate);
    for (std::uint32_t k = 0; k < width; ++k) {
        auto key = static_cast<std::uint16_t>(targetColumn + k - 1);
        if (auto it = definitions.find(static_cast<std::uint16_t>(k)); it != definitions.end()) {
            ColumnDef def = it->second;
            if (def.xf) def.xf = translate(*def.xf);
            to.columns[key] = def;
        } else {
            to.columns.erase(key);
        }
    }
}

void pasteValues(const SheetModel& from, const RangeBounds& block, SheetModel& to, std::uint32_t targetRow,
                 std::uint32_t targetColumn) {
    struct Value {
        std::uint32_t row, column;
        CellValue value;
    };
    std::vector<Value> values;  // read first: the source may be the target
    const auto lastRow = std::min<std::size_t>(block.lastRow, from.rows.count());
    for (std::size_t row = block.firstRow; row <= lastRow; ++row) {
        const auto& cells = from.rows.row(static_cast<std::uint32_t>(row))->cells;
        const auto lastColumn = std::min<std::size_t>(block.lastColumn, cells.size());
        for (std::size_t column = block.firstColumn; column <= lastColumn; ++column)
            values.push_back({static_cast<std::uint32_t>(row - block.firstRow + targetRow),
                              static_cast<std::uint32_t>(column - block.firstColumn + targetColumn),
                              cells[column - 1].value});
    }
    for (Value& v : values) {
        if (v.row > kMaxRows || v.column > kMaxColumns) continue;
        if (v.value.isEmpty() && !to.cell(v.row, v.column)) continue;
        Cell& cell = to.cellAt(v.row, v.column);
        cell.value = std::move(v.value);
        cell.formula.reset();
    }
}

void copyBlock(const SheetModel& from, const RangeBounds& block, SheetModel& to, std::uint32_t targetRow,
               std::uint32_t targetColumn, XfTranslator& translate) {
    std::vector<std::optional<Cell>> source;
    for (std::uint32_t row = block.firstRow; row <= block.lastRow; ++row)
        for (std::uint32_t column = block.firstColumn; column <= block.lastColumn; ++column)
            source.push_back(existingCell(from, row, column));
    std::size_t i = 0;
    for (std::uint32_t row = 0; row < block.rowCount(); ++row)
        for (std::uint32_t column = 0; column < block.columnCount(); ++column)
            putCell(to, targetRow + row, targetColumn + column, source[i++], translate);
}

}  // namespace office::engine
