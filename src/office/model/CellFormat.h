#pragma once
// Cell formats as the workbook model holds them: fonts, number formats by
// index, and cell formats (XF) made of typed parts. Colours are indexes into
// the workbook's palette (colorRgb turns one into red, green and blue). The
// file encoding of all this lives in biff/FormatRecords.
#include <array>
#include <cstdint>
#include <string>

namespace office {

// The cell format every cell without one of its own has (XF 15).
constexpr std::uint16_t kDefaultCellFormat = 15;

// Colour indexes beyond the palette.
constexpr std::uint16_t kWindowTextColor = 0x40;        // system window text (automatic lines, patterns)
constexpr std::uint16_t kWindowBackgroundColor = 0x41;  // system window background (automatic fills)
constexpr std::uint16_t kAutomaticFontColor = 0x7FFF;

// The workbook's colours 8..63 as 0x00RRGGBB (PALETTE record).
using Palette = std::array<std::uint32_t, 56>;
const Palette& defaultPalette();
// The colour an index stands for: 0..7 the fixed colours, 8..63 the palette,
// the system and automatic indexes black (text, lines) or white (background).
std::uint32_t colorRgb(const Palette& palette, std::uint16_t index);

enum class FontScript : std::uint8_t { Normal = 0, Superscript = 1, Subscript = 2 };

struct FontDef {
    std::string name = "Arial";
    std::uint16_t heightTwips = 200;  // 10 points
    std::uint16_t weight = 400;       // 700 = bold
    bool italic = false;
    bool strikeout = false;
    std::uint8_t underline = 0;       // 0 none, 1 single, 2 double, 0x21 single accounting, 0x22 double accounting
    FontScript script = FontScript::Normal;
    std::uint16_t colorIndex = kAutomaticFontColor;
    std::uint8_t family = 0;
    std::uint8_t charset = 0;
    bool bold() const { return weight >= 700; }
    bool operator==(const FontDef&) const = default;
};

enum class HorizontalAlignment : std::uint8_t {
    General = 0, Left = 1, Center = 2, Right = 3, Fill = 4, Justify = 5, CenterAcrossSelection = 6, Distributed = 7
};
enum class VerticalAlignment : std::uint8_t { Top = 0, Center = 1, Bottom = 2, Justify = 3, Distributed = 4 };

struct Alignment {
    HorizontalAlignment horizontal = HorizontalAlignment::General;
    VerticalAlignment vertical = VerticalAlignment::Bottom;
    bool wrap = false;
    bool justifyLastLine = false;
    std::uint8_t rotation = 0;   // 0..90 degrees up, 91..180 = 1..90 down, 255 stacked letters
    std::uint8_t indent = 0;     // 0..15 levels
    bool shrinkToFit = false;
    std::uint8_t readingOrder = 0;  // 0 by context, 1 left to right, 2 right to left
    bool operator==(const Alignment&) const = default;
};

enum class BorderStyle : std::uint8_t {
    None = 0, Thin, Medium, Dashed, Dotted, Thick, Double, Hair,
    MediumDashed, DashDot, MediumDashDot, DashDotDot, MediumDashDotDot, SlantDashDot
};

struct BorderLine {
    BorderStyle style = BorderStyle::None;
    std::uint8_t color = 0;  // palette index (0..127)
    bool operator==(const BorderLine&) const = default;
};

struct Borders {
    BorderLine left, right, top, bottom;
    BorderLine diagonal;
    bool diagonalDown = false;  // top-left to bottom-right
    bool diagonalUp = false;    // bottom-left to top-right
    bool operator==(const Borders&) const = default;
};

// Pattern 0 is no fill, 1 a solid fill in the foreground colour; 2..18 the
// hatchings, drawn in the foreground colour over the background colour.
struct Fill {
    std::uint8_t pattern = 0;
    std::uint8_t foreground = kWindowTextColor;
    std::uint8_t background = kWindowBackgroundColor;
    bool operator==(const Fill&) const = default;
};

struct CellProtection {
    bool locked = true;
    bool formulaHidden = false;
    bool operator==(const CellProtection&) const = default;
};

// For a cell format, the groups of attributes it sets itself instead of
// taking them from its style; for a style, the groups the style leaves out.
struct XfAttributeGroups {
    bool numberFormat = false, font = false, alignment = false, border = false, fill = false, protection = false;
    bool operator==(const XfAttributeGroups&) const = default;
};

// One cell format (XF). `font` is an index into WorkbookModel::fonts (the file
// skips index 4; the reader and writer map it).
struct XfDef {
    std::uint16_t font = 0;
    std::uint16_t format = 0;       // number format index (0 = General)
    bool isStyle = false;
    std::uint16_t parentStyle = 0;  // for cell formats: the style XF they derive from
    CellProtection protection;
    bool quotePrefix = false;       // the text was typed with a leading apostrophe
    Alignment alignment;
    Borders borders;
    Fill fill;
    XfAttributeGroups groups;
    bool pivotButton = false;
    bool operator==(const XfDef&) const = default;
};

}  // namespace office
