#include "office/format/ShownSheet.h"

#include <algorithm>

#include "office/format/NumberFormat.h"
#include "office/model/WorkbookModel.h"

namespace office {

namespace {

// A column's width in points from its width in characters of the default
// font (7 pixels a character and 5 of padding at 96 dots per inch).
double columnPoints(double characters) { return (characters * 7 + 5) * 0.75; }

ShownCell::Align alignOf(const XfDef& xf, const automation::Variant& value) {
    switch (xf.alignment.horizontal) {
    case HorizontalAlignment::Center:
    case HorizontalAlignment::CenterAcrossSelection: return ShownCell::Align::Center;
    case HorizontalAlignment::Right: return ShownCell::Align::Right;
    case HorizontalAlignment::General:
        // Numbers to the right, truth values centred, texts to the left.
        if (value.isNumber()) return ShownCell::Align::Right;
        if (value.isBoolean() || value.isError()) return ShownCell::Align::Center;
        return ShownCell::Align::Left;
    default: return ShownCell::Align::Left;
    }
}

}  // namespace

ShownSheet ShowSheet(const WorkbookModel& model, const SheetModel& sheet) {
    std::uint32_t lastRow = static_cast<std::uint32_t>(sheet.rows.size());
    std::uint32_t lastColumn = 0;
    for (const RowDef& row : sheet.rows) lastColumn = std::max(lastColumn, static_cast<std::uint32_t>(row.cells.size()));
    for (const CellRect& merge : sheet.mergedCells) {
        lastRow = std::max(lastRow, merge.lastRow);
        lastColumn = std::max(lastColumn, merge.lastColumn);
    }

    ShownSheet shown;
    for (std::uint32_t column = 1; column <= lastColumn; ++column) {
        const auto found = sheet.columns.find(static_cast<std::uint16_t>(column - 1));
        double points = columnPoints(sheet.defaultColumnWidth);
        if (found != sheet.columns.end()) {
            if (found->second.hidden) points = 0;
            else if (found->second.width) points = columnPoints(found->second.width / 256.0);
        }
        shown.columnWidths.push_back(points);
    }
    for (std::uint32_t row = 1; row <= lastRow; ++row) {
        const RowDef* def = row <= sheet.rows.size() ? &sheet.rows[row - 1] : nullptr;
        shown.rowHeights.push_back(!def ? 12.75 : def->hidden ? 0 : def->heightTwips / 20.0);
    }

    auto coveredByMerge = [&](std::uint32_t row, std::uint32_t column) {
        for (const CellRect& merge : sheet.mergedCells)
            if (merge.contains(row, column) && !(merge.firstRow == row && merge.firstColumn == column)) return true;
        return false;
    };
    for (std::uint32_t row = 1; row <= sheet.rows.size(); ++row) {
        const RowDef& def = sheet.rows[row - 1];
        for (std::uint32_t column = 1; column <= def.cells.size(); ++column) {
            const Cell& cell = def.cells[column - 1];
            if (coveredByMerge(row, column)) continue;
            const XfDef& xf = model.xfAt(cell.xf);
            ShownCell out;
            out.row = row;
            out.column = column;
            out.text = ShownText(model, cell);
            if (xf.fill.pattern != 0) out.fill = colorRgb(model.palette, xf.fill.foreground);
            if (out.text.empty() && !out.fill) continue;
            const FontDef& font = model.fonts.at(xf.font < model.fonts.size() ? xf.font : 0);
            out.fontName = font.name;
            out.fontPoints = font.heightTwips / 20.0;
            out.bold = font.bold();
            out.italic = font.italic;
            out.underline = font.underline != 0;
            out.color = colorRgb(model.palette, font.colorIndex);
            out.align = alignOf(xf, cell.value);
            out.wrap = xf.alignment.wrap;
            for (const CellRect& merge : sheet.mergedCells)
                if (merge.firstRow == row && merge.firstColumn == column) {
                    out.rowSpan = merge.lastRow - merge.firstRow + 1;
                    out.columnSpan = merge.lastColumn - merge.firstColumn + 1;
                }
            shown.cells.push_back(std::move(out));
        }
    }
    return shown;
}

}  // namespace office
