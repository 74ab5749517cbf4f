// Cell formatting, sizes and sorting of a range.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "office/engine/EngineRange.h"
#include "office/engine/SheetGeometry.h"
#include "text/Collation.h"

namespace office::engine {

using automation::Variant;
namespace excel = automation::excel;

double EngineRange::RangeFont::Size() const { return range_.topLeftFont().heightTwips / 20.0; }

void EngineRange::RangeFont::SetSize(double points) {
    if (!(points >= 1 && points <= 409))
        raise("Unable to set the Size property of the Font class: the size must be between 1 and 409 points.");
    const auto twips = static_cast<std::uint16_t>(std::lround(points * 20));
    range_.changeFont([twips](FontDef& font) { font.heightTwips = twips; });
}

void EngineRange::SetHorizontalAlignment(excel::HAlign align) {
    HorizontalAlignment value = HorizontalAlignment::General;
    switch (align) {
    case excel::HAlign::General: value = HorizontalAlignment::General; break;
    case excel::HAlign::Left: value = HorizontalAlignment::Left; break;
    case excel::HAlign::Center: value = HorizontalAlignment::Center; break;
    case excel::HAlign::Right: value = HorizontalAlignment::Right; break;
    }
    changeXf([value](XfDef& xf) {
        xf.alignment.horizontal = value;
        xf.groups.alignment = true;
    });
}

void EngineRange::SetVerticalAlignment(excel::VAlign align) {
    VerticalAlignment value = VerticalAlignment::Bottom;
    switch (align) {
    case excel::VAlign::Top: value = VerticalAlignment::Top; break;
    case excel::VAlign::Center: value = VerticalAlignment::Center; break;
    case excel::VAlign::Bottom: value = VerticalAlignment::Bottom; break;
    }
    changeXf([value](XfDef& xf) {
        xf.alignment.vertical = value;
        xf.groups.alignment = true;
    });
}

void EngineRange::SetWrapText(bool wrap) {
    changeXf([wrap](XfDef& xf) {
        xf.alignment.wrap = wrap;
        xf.groups.alignment = true;
    });
}

void EngineRange::SetBorderLineStyle(excel::LineStyle style) {
    const BorderStyle edge = style == excel::LineStyle::Continuous ? BorderStyle::Thin : BorderStyle::None;
    changeXf([edge](XfDef& xf) {
        for (BorderLine* line : {&xf.borders.left, &xf.borders.right, &xf.borders.top, &xf.borders.bottom}) {
            line->style = edge;
            line->color = edge == BorderStyle::None ? 0 : kWindowTextColor;
        }
        xf.groups.border = true;
    });
}

void EngineRange::SetRowHeight(double points) {
    if (!(points >= 0 && points <= 409))
        raise("Unable to set the RowHeight property of the Range class: the height must be between 0 and 409 points.");
    SheetModel& sheet = sheet_->sheet();
    const RangeBounds part = bounds_.wholeRows() ? bounds_ : usedPart();
    for (std::uint32_t row = part.firstRow; row <= part.lastRow; ++row) {
        RowDef& def = sheet.rowAt(row);
        def.heightTwips = static_cast<std::uint16_t>(std::lround(points * 20));
        def.customHeight = true;
    }
}

void EngineRange::SetColumnWidth(double characters) {
    if (!(characters >= 0 && characters <= 255))
        raise("Unable to set the ColumnWidth property of the Range class: the width must be between 0 and 255.");
    SheetModel& sheet = sheet_->sheet();
    const std::uint16_t units = columnWidthUnits(characters);
    for (std::uint32_t column = bounds_.firstColumn; column <= bounds_.lastColumn; ++column)
        sheet.columns[static_cast<std::uint16_t>(column - 1)].width = units;
}

namespace {

// Excel's ascending order: numbers, then texts ignoring case, then
// booleans and errors; empty cells always last.
int sortRank(const CellValue& value) {
    switch (value.kind()) {
    case CellValue::Kind::Number: return 0;
    case CellValue::Kind::Text: return 1;
    case CellValue::Kind::Boolean: return 2;
    case CellValue::Kind::Error: return 3;
    case CellValue::Kind::Empty: break;
    }
    return 4;
}

bool sortsBefore(const CellValue& a, const CellValue& b) {
    const int rankA = sortRank(a), rankB = sortRank(b);
    if (rankA != rankB) return rankA < rankB;
    switch (a.kind()) {
    case CellValue::Kind::Number: return a.number() < b.number();
    case CellValue::Kind::Text: return text::compareForDisplay(a.text(), b.text()) < 0;
    case CellValue::Kind::Boolean: return !a.booleanValue() && b.booleanValue();
    default: return false;
    }
}

}  // namespace

void EngineRange::Sort(const Range& key, bool header) {
    SheetModel& sheet = sheet_->sheet();
    checkSheetUnprotected(sheet, false);
    const auto keyColumn = static_cast<std::uint32_t>(key.Column());
    if (keyColumn < bounds_.firstColumn || keyColumn > bounds_.lastColumn)
        raise("The sort reference is not valid. Make sure that it's within the data you want to sort.");
    RangeBounds part = usedPart();
    if (header) ++part.firstRow;
    if (part.lastRow <= part.firstRow || part.firstRow > sheet.rows.count()) return;
    part.lastRow = std::min<std::uint32_t>(part.lastRow, sheet.rows.count());

    // The cells of the range's columns, row by row, before anything moves.
    const std::uint32_t width = part.lastColumn - part.firstColumn + 1;
    std::vector<std::vector<Cell>> rows;
    std::vector<CellValue> keys;
    for (std::uint32_t row = part.firstRow; row <= part.lastRow; ++row) {
        std::vector<Cell> cells(width);
        for (std::uint32_t column = part.firstColumn; column <= part.lastColumn; ++column)
            if (const Cell* cell = sheet.cell(row, column)) cells[column - part.firstColumn] = *cell;
        const Cell* keyCell = sheet.cell(row, keyColumn);
        keys.push_back(keyCell ? keyCell->value : CellValue{});
        rows.push_back(std::move(cells));
    }
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return sortsBefore(keys[a], keys[b]); });

    for (std::size_t k = 0; k < order.size(); ++k) {
        const auto row = static_cast<std::uint32_t>(part.firstRow + k);
        RowDef& def = sheet.rowAt(row);
        const auto& cells = rows[order[k]];
        for (std::uint32_t column = part.firstColumn; column <= part.lastColumn; ++column) {
            const Cell& moved = cells[column - part.firstColumn];
            if (column > def.cells.size() && moved == Cell{}) continue;  // nothing there, nothing coming
            sheet.cellAt(row, column) = moved;
        }
    }
}

}  // namespace office::engine
