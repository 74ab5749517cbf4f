#include "office/engine/SheetGeometry.h"

#include <algorithm>
#include <cmath>

namespace office::engine {
namespace {

constexpr double kDigitPixels = 7;           // the '0' of Arial 10, Excel's default font
constexpr double kPointsPerPixel = 72.0 / 96.0;
constexpr std::uint32_t kPaddingUnits = 292; // the cell margins of a column, in 1/256 of a digit
constexpr double kColumnOffsetUnits = 1024;  // anchors split a column in 1024 parts
constexpr double kRowOffsetUnits = 256;      // and a row in 256

// Where `length` points from the start of cell `first` ends: the cell and
// the offset into it in `units` of the cell's size.
template <typename SizeOf>
std::pair<std::uint32_t, std::uint16_t> walk(std::uint32_t first, std::uint32_t last, double length, double units,
                                             SizeOf sizeOf) {
    for (std::uint32_t cell = first; cell < last; ++cell) {
        const double size = sizeOf(cell);
        if (size > 0 && length < size) {
            const long offset = std::lround(length / size * units);
            return {cell, static_cast<std::uint16_t>(std::clamp(offset, 0L, static_cast<long>(units) - 1))};
        }
        length -= size;
    }
    return {last, static_cast<std::uint16_t>(units - 1)};
}

}  // namespace

double columnWidthPoints(const SheetModel& sheet, std::uint32_t column) {
    std::uint32_t units = sheet.defaultColumnWidth * 256u + kPaddingUnits;
    if (auto it = sheet.columns.find(static_cast<std::uint16_t>(column - 1)); it != sheet.columns.end()) {
        if (it->second.hidden) return 0;
        if (it->second.width != 0) units = it->second.width;
    }
    return std::round(units * kDigitPixels / 256.0) * kPointsPerPixel;
}

double rowHeightPoints(const SheetModel& sheet, std::uint32_t row) {
    std::uint32_t twips = sheet.defaultRowHeightTwips;
    if (const RowDef* def = sheet.rows.row(row)) {
        if (def->hidden) return 0;
        if (def->customHeight || def->heightTwips != RowDef{}.heightTwips) twips = def->heightTwips;
    }
    return twips / 20.0;
}

std::uint16_t columnWidthUnits(double characters) {
    constexpr double kMarginPixels = 5;  // the two cell margins of a column
    const double pixels = std::floor(characters * kDigitPixels) + kMarginPixels;
    return static_cast<std::uint16_t>(std::clamp(std::lround(pixels * 256 / kDigitPixels), 0L, 65535L));
}

double columnLeftPoints(const SheetModel& sheet, std::uint32_t column) {
    double left = 0;
    for (std::uint32_t c = 1; c < column && c <= kMaxColumns; ++c) left += columnWidthPoints(sheet, c);
    return left;
}

double rowTopPoints(const SheetModel& sheet, std::uint32_t row) {
    // Rows past the ones the sheet holds all have the default height.
    const std::uint32_t held = std::min<std::uint32_t>(row - 1, sheet.rows.count());
    double top = 0;
    for (std::uint32_t r = 1; r <= held; ++r) top += rowHeightPoints(sheet, r);
    return top + (row - 1 - held) * (sheet.defaultRowHeightTwips / 20.0);
}

PointRect anchorRect(const SheetModel& sheet, const DrawingAnchor& a) {
    const double left = columnLeftPoints(sheet, a.fromColumn) +
                        columnWidthPoints(sheet, a.fromColumn) * a.fromColumnOffset / kColumnOffsetUnits;
    const double top =
        rowTopPoints(sheet, a.fromRow) + rowHeightPoints(sheet, a.fromRow) * a.fromRowOffset / kRowOffsetUnits;
    const double right =
        columnLeftPoints(sheet, a.toColumn) + columnWidthPoints(sheet, a.toColumn) * a.toColumnOffset / kColumnOffsetUnits;
    const double bottom =
        rowTopPoints(sheet, a.toRow) + rowHeightPoints(sheet, a.toRow) * a.toRowOffset / kRowOffsetUnits;
    return {left, top, std::max(0.0, right - left), std::max(0.0, bottom - top)};
}

DrawingAnchor anchorAt(const SheetModel& sheet, std::uint32_t row, std::uint32_t column, double widthPt,
                       double heightPt) {
    DrawingAnchor a;
    a.fromColumn = column;
    a.fromRow = row;
    const auto [toColumn, columnOffset] = walk(column, kMaxColumns, widthPt, kColumnOffsetUnits,
                                               [&](std::uint32_t c) { return columnWidthPoints(sheet, c); });
    const auto [toRow, rowOffset] =
        walk(row, kMaxRows, heightPt, kRowOffsetUnits, [&](std::uint32_t r) { return rowHeightPoints(sheet, r); });
    a.toColumn = toColumn;
    a.toColumnOffset = columnOffset;
    a.toRow = toRow;
    a.toRowOffset = rowOffset;
    return a;
}

}  // namespace office::engine
