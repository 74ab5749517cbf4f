#include "office/engine/EngineRange.h"

#include <algorithm>
#include <map>

#include "office/engine/SheetEdit.h"
#include "office/engine/SheetGeometry.h"

namespace office::engine {

using automation::Variant;
namespace excel = automation::excel;

namespace {
// Blocks beyond this many cells are refused rather than materialised.
constexpr std::uint64_t kMaxBlockCells = 4'000'000;
}  // namespace

long EngineRange::Row() const {
    sheet_->sheet();
    return bounds_.firstRow;
}

long EngineRange::Column() const {
    sheet_->sheet();
    return bounds_.firstColumn;
}

std::string EngineRange::Address() const {
    sheet_->sheet();
    return formatAddress(bounds_);
}

excel::Worksheet& EngineRange::Parent() {
    sheet_->sheet();
    return *sheet_;
}

Variant EngineRange::Value() const {
    const std::optional<Cell> cell = sheet_->sheet().peek(bounds_.firstRow, bounds_.firstColumn);
    return cell ? cell->value.toVariant() : Variant{};
}

excel::ValueBlock EngineRange::Values() const {
    checkBlockSize();
    const SheetModel& sheet = sheet_->sheet();
    const RangeBounds part = usedPart();
    excel::ValueBlock block;
    const std::uint32_t lastRow = std::min(part.lastRow, sheet.rows.count());
    if (lastRow < part.firstRow) return block;
    block.rows = lastRow - part.firstRow + 1;
    block.columns = part.columnCount();
    block.values.resize(static_cast<std::size_t>(block.rows) * static_cast<std::size_t>(block.columns));
    for (std::uint32_t row = part.firstRow; row <= lastRow; ++row) {
        const std::size_t at = static_cast<std::size_t>(row - part.firstRow) * part.columnCount();
        sheet.rows.peekValues(row, part.firstColumn, std::span(block.values).subspan(at, part.columnCount()));
    }
    return block;
}

RangeBounds EngineRange::usedPart() const {
    const SheetModel& sheet = sheet_->sheet();
    RangeBounds part = bounds_;
    if (bounds_.wholeColumns())
        part.lastRow = std::clamp<std::uint32_t>(sheet.rows.count(), part.firstRow, part.lastRow);
    if (bounds_.wholeRows()) {
        std::uint32_t width = 0;
        for (std::uint32_t row = part.firstRow; row <= part.lastRow && row <= sheet.rows.count(); ++row)
            width = std::max(width, sheet.rows.width(row));
        part.lastColumn = std::clamp<std::uint32_t>(static_cast<std::uint32_t>(width), part.firstColumn, part.lastColumn);
    }
    return part;
}

void EngineRange::checkBlockSize() const {
    RangeBounds part = usedPart();
    if (static_cast<std::uint64_t>(part.rowCount()) * part.columnCount() > kMaxBlockCells)
        raise("The range " + formatAddress(bounds_) + " is too large for this operation.");
}

void EngineRange::SetValue(const Variant& value) {
    checkBlockSize();
    SheetModel& sheet = sheet_->sheet();
    const RangeBounds part = usedPart();
    const CellValue held = CellValue::fromVariant(value);  // one text for the whole block
    for (std::uint32_t row = part.firstRow; row <= part.lastRow; ++row)
        for (std::uint32_t column = part.firstColumn; column <= part.lastColumn; ++column) {
            if (held.isEmpty() && !sheet.cell(row, column)) continue;  // clearing nothing
            Cell& cell = sheet.cellAt(row, column);
            cell.value = held;
            cell.formula.reset();  // a value typed over a formula replaces it
        }
}

bool EngineRange::Hidden() const {
    const SheetModel& sheet = sheet_->sheet();
    if (bounds_.wholeColumns()) {
        for (std::uint32_t column = bounds_.firstColumn; column <= bounds_.lastColumn; ++column) {
            auto it = sheet.columns.find(static_cast<std::uint16_t>(column - 1));
            if (it == sheet.columns.end() || !it->second.hidden) return false;
        }
        return true;
    }
    if (bounds_.wholeRows()) {
        for (std::uint32_t row = bounds_.firstRow; row <= bounds_.lastRow; ++row)
            if (row > sheet.rows.count() || !sheet.rows.row(row)->hidden) return false;
        return true;
    }
    raise("Unable to get the Hidden property of the Range class: " + formatAddress(bounds_) +
          " is neither whole rows nor whole columns.");
}

void EngineRange::SetHidden(bool hidden) {
    SheetModel& sheet = sheet_->sheet();
    if (bounds_.wholeColumns()) {
        for (std::uint32_t column = bounds_.firstColumn; column <= bounds_.lastColumn; ++column)
            sheet.columns[static_cast<std::uint16_t>(column - 1)].hidden = hidden;
    } else if (bounds_.wholeRows()) {
        for (std::uint32_t row = bounds_.firstRow; row <= bounds_.lastRow; ++row) {
            if (!hidden && row > sheet.rows.count()) break;  // rows that do not exist are shown already
            sheet.rowAt(row).hidden = hidden;
        }
    } else {
        raise("Unable to set the Hidden property of the Range class: " + formatAddress(bounds_) +
              " is neither whole rows nor whole columns.");
    }
}

const FontDef& EngineRange::topLeftFont() const {
    const SheetModel& sheet = sheet_->sheet();
    return sheet_->core().model.fontOfXf(effectiveXf(sheet, bounds_.firstRow, bounds_.firstColumn));
}

void EngineRange::changeFont(const std::function<void(FontDef&)>& change) {
    WorkbookModel& model = sheet_->core().model;
    changeXf([&](XfDef& xf) {
        FontDef font = xf.font < model.fonts.size() ? model.fonts[xf.font] : FontDef{};
        change(font);
        xf.font = model.findOrAddFont(font);
        xf.groups.font = true;
    });
}

// Whole rows get the new format as their row format and in every cell they
// hold, whole columns likewise; a block gets it cell by cell.
void EngineRange::changeXf(const std::function<void(XfDef&)>& change) {
    checkBlockSize();
    SheetModel& sheet = sheet_->sheet();
    WorkbookModel& model = sheet_->core().model;
    std::map<std::uint16_t, std::uint16_t> changed;  // old XF -> new XF
    auto withChange = [&](std::uint16_t xf) {
        auto it = changed.find(xf);
        if (it != changed.end()) return it->second;
        XfDef wanted = model.xfAt(xf);
        if (wanted.isStyle) {  // a cell takes a format derived from the style
            wanted.isStyle = false;
            wanted.parentStyle = xf;
        }
        change(wanted);
        std::uint16_t result = model.findOrAddXf(wanted);
        changed.emplace(xf, result);
        return result;
    };
    const bool wholeSheet = bounds_.wholeRows() && bounds_.wholeColumns();
    if (bounds_.wholeRows() && !wholeSheet) {
        for (std::uint32_t row = bounds_.firstRow; row <= bounds_.lastRow; ++row) {
            RowDef& def = sheet.rowAt(row);
            def.xf = withChange(def.xf.value_or(kDefaultCellFormat));
            for (Cell& cell : def.cells) cell.xf = withChange(cell.xf);
        }
    } else if (bounds_.wholeColumns()) {
        for (std::uint32_t column = bounds_.firstColumn; column <= bounds_.lastColumn; ++column) {
            ColumnDef& def = sheet.columns[static_cast<std::uint16_t>(column - 1)];
            def.xf = withChange(def.xf.value_or(kDefaultCellFormat));
        }
        for (RowDef& row : sheet.rows.all())
            for (std::uint32_t column = bounds_.firstColumn; column <= bounds_.lastColumn && column <= row.cells.size(); ++column)
                row.cells[column - 1].xf = withChange(row.cells[column - 1].xf);
    } else {
        for (std::uint32_t row = bounds_.firstRow; row <= bounds_.lastRow; ++row)
            for (std::uint32_t column = bounds_.firstColumn; column <= bounds_.lastColumn; ++column) {
                Cell& cell = sheet.cellAt(row, column);
                cell.xf = withChange(cell.xf);
            }
    }
}

bool EngineRange::RangeFont::Bold() const { return range_.topLeftFont().bold(); }

void EngineRange::RangeFont::SetBold(bool bold) {
    range_.changeFont([bold](FontDef& font) { font.weight = bold ? 700 : 400; });
}

excel::Underline EngineRange::RangeFont::GetUnderline() const {
    switch (range_.topLeftFont().underline) {
    case 0: return excel::Underline::None;
    case 2:
    case 0x22: return excel::Underline::Double;
    default: return excel::Underline::Single;
    }
}

void EngineRange::RangeFont::SetUnderline(excel::Underline underline) {
    std::uint8_t style;
    switch (underline) {
    case excel::Underline::None: style = 0; break;
    case excel::Underline::Single: style = 1; break;
    case excel::Underline::Double: style = 2; break;
    default: raise("Unable to set the Underline property of the Font class: unknown underline style.");
    }
    range_.changeFont([style](FontDef& font) { font.underline = style; });
}

void EngineRange::Select() {
    SheetWindow& window = sheet_->sheet().window;
    WindowSelection selection;
    if (window.pane) selection.pane = window.pane->activePane;
    selection.activeRow = bounds_.firstRow;
    selection.activeColumn = bounds_.firstColumn;
    selection.ranges.push_back({bounds_.firstRow, bounds_.firstColumn, bounds_.lastRow, bounds_.lastColumn});
    window.selections = {selection};
}

double EngineRange::Left() const { return columnLeftPoints(sheet_->sheet(), bounds_.firstColumn); }

double EngineRange::Top() const { return rowTopPoints(sheet_->sheet(), bounds_.firstRow); }

double EngineRange::Width() const {
    const SheetModel& sheet = sheet_->sheet();
    double width = 0;
    for (std::uint32_t column = bounds_.firstColumn; column <= bounds_.lastColumn; ++column)
        width += columnWidthPoints(sheet, column);
    return width;
}

double EngineRange::Height() const {
    const SheetModel& sheet = sheet_->sheet();
    return rowTopPoints(sheet, bounds_.lastRow) + rowHeightPoints(sheet, bounds_.lastRow) -
           rowTopPoints(sheet, bounds_.firstRow);
}

}  // namespace office::engine
