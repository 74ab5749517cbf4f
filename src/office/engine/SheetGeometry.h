#pragma once
// Where cells and drawn objects lie on a sheet, in points at 100 % zoom, as
// Excel lays a sheet out: a column is as wide as its characters of the
// default font's 7-pixel digit (at 96 pixels an inch), a row as high as its
// twips say; hidden ones take no room.
#include <cstdint>

#include "office/model/WorkbookModel.h"

namespace office::engine {

// 1-based columns and rows.
double columnWidthPoints(const SheetModel& sheet, std::uint32_t column);
double rowHeightPoints(const SheetModel& sheet, std::uint32_t row);
double columnLeftPoints(const SheetModel& sheet, std::uint32_t column);
double rowTopPoints(const SheetModel& sheet, std::uint32_t row);
// The stored width (1/256 of a digit, cell margins included) of a column
// `characters` digits wide, as Excel's ColumnWidth sets it.
std::uint16_t columnWidthUnits(double characters);

struct PointRect {
    double left = 0, top = 0, width = 0, height = 0;
};

PointRect anchorRect(const SheetModel& sheet, const DrawingAnchor& anchor);
// The anchor of an object `widthPt` by `heightPt` whose top-left corner is the
// top-left corner of cell (row, column).
DrawingAnchor anchorAt(const SheetModel& sheet, std::uint32_t row, std::uint32_t column, double widthPt,
                       double heightPt);

}  // namespace office::engine
