#pragma once
// One chart as the picture maker draws it: its kind, its series with their
// values, names and colours, the titles, the axes and the legend. The office
// engine fills it from a workbook's chart records; nothing here knows a file
// format, and every colour is already resolved to RGB.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace automation::chart {

// A colour as 0x00RRGGBB.
using Rgb = std::uint32_t;

enum class Kind : std::uint8_t {
    Unknown,  // a kind we do not draw (radar, surface, bubble, stock, ...): shown as a framed placeholder
    Column,   // vertical bars
    Bar,      // horizontal bars
    Line,
    Pie,      // also a doughnut (Chart::holePercent > 0)
    Area,
    Scatter,
};

// How the series of a column, bar, line or area chart combine.
enum class Grouping : std::uint8_t { Standard, Stacked, PercentStacked };

// The cells a part of the chart reads, as the workbook names them: 0-based
// rows and columns; `externSheet` indexes the workbook's EXTERNSHEET table.
struct CellRange {
    std::uint16_t externSheet = 0;
    std::uint16_t firstRow = 0;
    std::uint16_t lastRow = 0;
    std::uint16_t firstColumn = 0;
    std::uint16_t lastColumn = 0;
    bool operator==(const CellRange&) const = default;
};

// A text of the chart (title, series name) and the cells it comes from, if any.
struct Label {
    std::string text;
    std::vector<CellRange> source;
};

// A line: a line series, a border, an axis.
struct Stroke {
    enum class Dash : std::uint8_t { Solid, Dash, Dot, DashDot, DashDotDot };
    bool visible = true;
    Rgb color = 0;
    double widthPt = 0.75;
    Dash dash = Dash::Solid;
};

// The fill of the chart or plot area: the program's default, none, or a colour.
struct AreaFill {
    enum class Style : std::uint8_t { Automatic, None, Solid };
    Style style = Style::Automatic;
    Rgb color = 0xFFFFFF;
};

struct Marker {
    enum class Shape : std::uint8_t { None, Square, Diamond, Triangle, Cross, Star, Circle, Plus, Dash };
    Shape shape = Shape::None;
    Rgb fill = 0;
    Rgb border = 0;
    double sizePt = 5;
};

struct Series {
    Label name;                                 // empty text when the series has no name
    Kind kind = Kind::Unknown;                  // of its chart group; differs from Chart::kind only in combinations
    std::vector<std::optional<double>> values;  // one per point; nullopt for an empty cell (a gap)
    std::vector<CellRange> valuesSource;
    std::vector<std::string> categories;        // one label per point; empty: the points are numbered 1, 2, 3, ...
    std::vector<std::optional<double>> xValues; // the categories as numbers (the x values of a scatter series)
    std::vector<CellRange> categoriesSource;
    bool filled = true;                         // bars, areas, slices: false when they have no fill
    Rgb fill = 0;                               // bars, areas, the series' colour of a pie
    Stroke line;                                // a line or scatter series' line; the border of bars and slices
    Marker marker;                              // line and scatter points
    std::vector<Rgb> pointFills;                // pie slices: one fill per point
};

struct Axis {
    bool present = false;                 // the chart has this axis
    bool visible = true;                  // its line or labels are drawn
    std::optional<Label> title;
    std::optional<double> min;            // fixed by the user; nullopt: automatic
    std::optional<double> max;
    std::optional<double> majorUnit;
    bool logarithmic = false;
    bool reversed = false;
    bool majorGridlines = false;
    std::uint16_t numberFormatIndex = 0;  // of the labels, 0 = General
    std::string numberFormat;             // the format's text when it is a built-in one, else empty
};

struct Legend {
    enum class Position : std::uint8_t { Bottom, Corner, Top, Right, Left, Floating };
    bool shown = false;
    Position position = Position::Right;
};

struct Chart {
    Kind kind = Kind::Unknown;
    Grouping grouping = Grouping::Standard;
    bool threeD = false;
    bool variedColors = false;           // one colour per point (a pie's slices)
    double holePercent = 0;              // a doughnut's hole, percent of the diameter
    std::optional<Label> title;
    std::vector<Series> series;          // in plot order; trend lines and error bars are not series here
    Axis categoryAxis;                   // the x axis (a value axis for scatter charts)
    Axis valueAxis;                      // the y axis
    Legend legend;
    AreaFill chartArea;
    AreaFill plotArea;
    std::optional<Stroke> chartBorder;
    double widthPt = 0;                  // the size the chart records give; 0 when unknown
    double heightPt = 0;
};

}  // namespace automation::chart
