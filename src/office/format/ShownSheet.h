#pragma once
// A sheet as it shows on screen, for a view that only draws: every cell's
// shown text with its font, fill, borders and alignment, merged areas as
// spans, column widths and row heights in points (0 for hidden ones), and
// the pictures over the cells with their places in points.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "office/model/CellFormat.h"

namespace office {

struct WorkbookModel;
struct SheetModel;

struct ShownLine {
    BorderStyle style = BorderStyle::None;
    std::uint32_t color = 0;  // 0xRRGGBB
    bool operator==(const ShownLine&) const = default;
};

struct ShownCell {
    enum class Align { Left, Center, Right };
    enum class VAlign { Top, Center, Bottom };
    std::uint32_t row = 1, column = 1;  // 1-based
    std::uint32_t rowSpan = 1, columnSpan = 1;
    std::string text;
    bool number = false;                 // a number: "###" where it does not fit, never spills over
    std::string fontName;
    double fontPoints = 10;
    bool bold = false, italic = false, underline = false, strikeout = false;
    std::uint32_t color = 0;             // 0xRRGGBB
    std::optional<std::uint32_t> fill;   // none: the sheet's background
    Align align = Align::Left;
    VAlign valign = VAlign::Bottom;
    bool wrap = false;
    bool shrink = false;                 // the font made smaller until the text fits
    int indent = 0;                      // levels of three characters from the aligned side
    // The area's edges: a merged area takes each edge from the cells along it.
    ShownLine left, right, top, bottom;
};

// A picture over the cells, in points from the sheet's top-left corner.
struct ShownPicture {
    double left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> image;     // a PNG, JPEG, TIFF or BMP file; empty for a kind no view can draw
};

struct ShownSheet {
    std::vector<double> columnWidths;    // points, index column - 1
    std::vector<double> rowHeights;      // points, index row - 1
    std::vector<ShownCell> cells;        // with a text, a fill or a border; covered parts of merged areas left out
    std::vector<ShownPicture> pictures;  // in drawing order (last on top)
    double zoom = 1;                     // the sheet window's zoom
    // Frozen panes keep these first rows and columns in place; the rest
    // opens scrolled to `topRow` and `leftColumn`.
    std::uint32_t frozenRows = 0, frozenColumns = 0;
    std::uint32_t topRow = 1, leftColumn = 1;

    // The left edge of a column and the top edge of a row in points
    // (1-based; one past the last gives the whole width or height).
    double columnLeft(std::uint32_t column) const;
    double rowTop(std::uint32_t row) const;
    double width() const { return columnLeft(static_cast<std::uint32_t>(columnWidths.size()) + 1); }
    double height() const { return rowTop(static_cast<std::uint32_t>(rowHeights.size()) + 1); }
};

ShownSheet ShowSheet(const WorkbookModel& model, const SheetModel& sheet);

}  // namespace office
