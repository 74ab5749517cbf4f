#pragma once
// A sheet as it shows on screen, for a view that only draws: every cell's
// shown text with its font, fill and alignment, merged areas as spans,
// column widths and row heights in points (0 for hidden ones).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace office {

struct WorkbookModel;
struct SheetModel;

struct ShownCell {
    enum class Align { Left, Center, Right };
    std::uint32_t row = 1, column = 1;  // 1-based
    std::uint32_t rowSpan = 1, columnSpan = 1;
    std::string text;
    std::string fontName;
    double fontPoints = 10;
    bool bold = false, italic = false, underline = false;
    std::uint32_t color = 0;             // 0xRRGGBB
    std::optional<std::uint32_t> fill;   // none: the sheet's background
    Align align = Align::Left;
    bool wrap = false;
};

struct ShownSheet {
    std::vector<double> columnWidths;  // points, index column - 1
    std::vector<double> rowHeights;    // points, index row - 1
    std::vector<ShownCell> cells;      // with a text or a fill; covered parts of merged areas left out
};

ShownSheet ShowSheet(const WorkbookModel& model, const SheetModel& sheet);

}  // namespace office
