#include "office/format/ShownSheet.h"

#include <algorithm>

#include "office/format/NumberFormat.h"
#include "office/model/WorkbookModel.h"

namespace office {

namespace {

// A column's width in points from its width in characters of the default
// font (7 pixels a character and 5 of padding at 96 dots per inch).
double columnPoints(double characters) { return (characters * 7 + 5) * 0.75; }

ShownCell::Align alignOf(const XfDef& xf, const CellValue& value) {
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

ShownCell::VAlign verticalOf(const XfDef& xf) {
    switch (xf.alignment.vertical) {
    case VerticalAlignment::Top:
    case VerticalAlignment::Justify: return ShownCell::VAlign::Top;
    case VerticalAlignment::Center:
    case VerticalAlignment::Distributed: return ShownCell::VAlign::Center;
    default: return ShownCell::VAlign::Bottom;
    }
}

ShownLine lineOf(const WorkbookModel& model, const BorderLine& line) {
    if (line.style == BorderStyle::None) return {};
    return {line.style, colorRgb(model.palette, line.color)};
}

const XfDef* xfOfCell(const WorkbookModel& model, const SheetModel& sheet, std::uint32_t row, std::uint32_t column) {
    const Cell* cell = sheet.cell(row, column);
    return cell ? &model.xfAt(cell->xf) : nullptr;
}

// The first edge set along one side of a merged area.
template <typename Edge>
ShownLine areaEdge(const WorkbookModel& model, const SheetModel& sheet, std::uint32_t row0, std::uint32_t column0,
                   std::uint32_t row1, std::uint32_t column1, Edge edge) {
    for (std::uint32_t row = row0; row <= row1; ++row)
        for (std::uint32_t column = column0; column <= column1; ++column)
            if (const XfDef* xf = xfOfCell(model, sheet, row, column)) {
                const ShownLine line = lineOf(model, edge(xf->borders));
                if (line.style != BorderStyle::None) return line;
            }
    return {};
}

void setEdges(ShownCell& out, const WorkbookModel& model, const SheetModel& sheet, const XfDef& xf,
              const CellRect* merge) {
    if (!merge) {
        out.left = lineOf(model, xf.borders.left);
        out.right = lineOf(model, xf.borders.right);
        out.top = lineOf(model, xf.borders.top);
        out.bottom = lineOf(model, xf.borders.bottom);
        return;
    }
    const CellRect& m = *merge;
    out.left = areaEdge(model, sheet, m.firstRow, m.firstColumn, m.lastRow, m.firstColumn,
                        [](const Borders& b) { return b.left; });
    out.right = areaEdge(model, sheet, m.firstRow, m.lastColumn, m.lastRow, m.lastColumn,
                         [](const Borders& b) { return b.right; });
    out.top = areaEdge(model, sheet, m.firstRow, m.firstColumn, m.firstRow, m.lastColumn,
                       [](const Borders& b) { return b.top; });
    out.bottom = areaEdge(model, sheet, m.lastRow, m.firstColumn, m.lastRow, m.lastColumn,
                          [](const Borders& b) { return b.bottom; });
}

bool hasEdge(const ShownCell& cell) {
    return cell.left.style != BorderStyle::None || cell.right.style != BorderStyle::None ||
           cell.top.style != BorderStyle::None || cell.bottom.style != BorderStyle::None;
}

// A DIB as the picture store holds it, made a BMP file (with the file
// header it lacks) so that an image reader takes it.
std::vector<std::uint8_t> bmpOfDib(std::span<const std::uint8_t> dib) {
    if (dib.size() < 40) return {};
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(dib[at] | (dib[at + 1] << 8) | (dib[at + 2] << 16) | (dib[at + 3] << 24));
    };
    const std::uint32_t headerSize = u32(0);
    const std::uint16_t bits = static_cast<std::uint16_t>(dib[14] | (dib[15] << 8));
    const std::uint32_t compression = u32(16);
    std::uint32_t colours = u32(32);
    if (colours == 0 && bits <= 8) colours = 1u << bits;
    std::uint32_t offset = 14 + headerSize + colours * 4;
    if (compression == 3 && headerSize == 40) offset += 12;  // the three colour masks
    const std::uint32_t size = static_cast<std::uint32_t>(14 + dib.size());
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    for (std::uint32_t value : {size, 0u, offset})
        for (int shift = 0; shift < 32; shift += 8) bmp.push_back(static_cast<std::uint8_t>(value >> shift));
    bmp.insert(bmp.end(), dib.begin(), dib.end());
    return bmp;
}

bool drawable(const DrawingObject& object) {
    return !object.hidden && object.picture > 0 &&
           (object.kind == DrawingKind::Picture || object.kind == DrawingKind::OleObject);
}

}  // namespace

double ShownSheet::columnLeft(std::uint32_t column) const {
    double left = 0;
    for (std::uint32_t c = 1; c < column && c <= columnWidths.size(); ++c) left += columnWidths[c - 1];
    return left;
}

double ShownSheet::rowTop(std::uint32_t row) const {
    double top = 0;
    for (std::uint32_t r = 1; r < row && r <= rowHeights.size(); ++r) top += rowHeights[r - 1];
    return top;
}

ShownSheet ShowSheet(const WorkbookModel& model, const SheetModel& sheet) {
    const std::vector<RowDef>& rows = sheet.rows.all();
    std::uint32_t lastRow = static_cast<std::uint32_t>(rows.size());
    std::uint32_t lastColumn = 0;
    for (const RowDef& row : rows) lastColumn = std::max(lastColumn, static_cast<std::uint32_t>(row.cells.size()));
    for (const CellRect& merge : sheet.mergedCells) {
        lastRow = std::max(lastRow, merge.lastRow);
        lastColumn = std::max(lastColumn, merge.lastColumn);
    }
    for (const DrawingObject& object : sheet.drawings)
        if (drawable(object)) {
            lastRow = std::max(lastRow, object.anchor.toRow);
            lastColumn = std::max(lastColumn, object.anchor.toColumn);
        }
    lastRow = std::min(lastRow, kMaxRows);
    lastColumn = std::min(lastColumn, kMaxColumns);

    ShownSheet shown;
    shown.name = sheet.name;
    shown.zoom = std::clamp(sheet.window.zoom, std::uint16_t{10}, std::uint16_t{400}) / 100.0;
    shown.topRow = std::max(sheet.window.topRow, std::uint32_t{1});
    shown.leftColumn = std::max(sheet.window.leftColumn, std::uint32_t{1});
    if (const auto& pane = sheet.window.pane; pane && pane->frozen) {
        shown.frozenRows = pane->splitRow;
        shown.frozenColumns = pane->splitColumn;
        shown.topRow = std::max(pane->topRow, pane->splitRow + 1);
        shown.leftColumn = std::max(pane->leftColumn, pane->splitColumn + 1);
    }
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
        const RowDef* def = row <= rows.size() ? &rows[row - 1] : nullptr;
        shown.rowHeights.push_back(!def ? sheet.defaultRowHeightTwips / 20.0 : def->hidden ? 0 : def->heightTwips / 20.0);
    }

    auto coveredByMerge = [&](std::uint32_t row, std::uint32_t column) {
        for (const CellRect& merge : sheet.mergedCells)
            if (merge.contains(row, column) && !(merge.firstRow == row && merge.firstColumn == column)) return true;
        return false;
    };
    auto mergeAt = [&](std::uint32_t row, std::uint32_t column) -> const CellRect* {
        for (const CellRect& merge : sheet.mergedCells)
            if (merge.firstRow == row && merge.firstColumn == column) return &merge;
        return nullptr;
    };
    for (std::uint32_t row = 1; row <= rows.size(); ++row) {
        const RowDef& def = rows[row - 1];
        for (std::uint32_t column = 1; column <= def.cells.size(); ++column) {
            const Cell& cell = def.cells[column - 1];
            if (coveredByMerge(row, column)) continue;
            const XfDef& xf = model.xfAt(cell.xf);
            const CellRect* merge = mergeAt(row, column);
            ShownCell out;
            out.row = row;
            out.column = column;
            out.text = ShownText(model, cell);
            out.number = cell.value.isNumber();
            if (xf.fill.pattern != 0) out.fill = colorRgb(model.palette, xf.fill.foreground);
            setEdges(out, model, sheet, xf, merge);
            if (out.text.empty() && !out.fill && !hasEdge(out)) continue;
            const FontDef& font = model.fonts.at(xf.font < model.fonts.size() ? xf.font : 0);
            out.fontName = font.name;
            out.fontPoints = font.heightTwips / 20.0;
            out.bold = font.bold();
            out.italic = font.italic;
            out.underline = font.underline != 0;
            out.strikeout = font.strikeout;
            out.color = colorRgb(model.palette, font.colorIndex);
            out.align = alignOf(xf, cell.value);
            out.valign = verticalOf(xf);
            out.wrap = xf.alignment.wrap;
            out.shrink = xf.alignment.shrinkToFit && !out.wrap;
            out.indent = xf.alignment.indent;
            if (merge) {
                out.rowSpan = merge->lastRow - merge->firstRow + 1;
                out.columnSpan = merge->lastColumn - merge->firstColumn + 1;
            }
            shown.cells.push_back(std::move(out));
        }
    }

    for (const DrawingObject& object : sheet.drawings) {
        if (!drawable(object) || object.picture > model.pictures.size()) continue;
        const DrawingAnchor& a = object.anchor;
        auto columnWidth = [&](std::uint32_t c) { return c >= 1 && c <= lastColumn ? shown.columnWidths[c - 1] : 0.0; };
        auto rowHeight = [&](std::uint32_t r) { return r >= 1 && r <= lastRow ? shown.rowHeights[r - 1] : 0.0; };
        ShownPicture picture;
        picture.left = shown.columnLeft(a.fromColumn) + columnWidth(a.fromColumn) * std::min(a.fromColumnOffset, std::uint16_t{1024}) / 1024.0;
        picture.top = shown.rowTop(a.fromRow) + rowHeight(a.fromRow) * std::min(a.fromRowOffset, std::uint16_t{256}) / 256.0;
        const double right = shown.columnLeft(a.toColumn) + columnWidth(a.toColumn) * std::min(a.toColumnOffset, std::uint16_t{1024}) / 1024.0;
        const double bottom = shown.rowTop(a.toRow) + rowHeight(a.toRow) * std::min(a.toRowOffset, std::uint16_t{256}) / 256.0;
        picture.width = std::max(0.0, right - picture.left);
        picture.height = std::max(0.0, bottom - picture.top);
        const StoredPicture& stored = model.pictures[object.picture - 1];
        const auto bytes = stored.imageBytes();
        if (stored.type == BlipType::Dib) picture.image = bmpOfDib(bytes);
        else picture.image.assign(bytes.begin(), bytes.end());
        shown.pictures.push_back(std::move(picture));
    }
    return shown;
}

}  // namespace office
