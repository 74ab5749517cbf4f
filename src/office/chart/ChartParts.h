#pragma once
// What the chart reader collects from the records before it assembles the
// model: series with their formats as the file gives them (automatic or
// not), chart groups, texts with their links. Automatic colours can only be
// chosen once every series' kind and format index are known.
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "automation/Chart.h"
#include "office/chart/ChartFormats.h"

namespace office::chart {

// The formats of one DATAFORMAT block: a whole series, or one point of it.
struct PartFormat {
    std::optional<LineFormat> line;
    std::optional<AreaFormat> area;
    std::optional<MarkerFormat> marker;
};

struct SeriesPart {
    automation::chart::Series series;  // name, values, categories and sources as read
    std::size_t group = 0;             // the chart group (CHARTFORMAT) it is drawn in
    std::optional<std::size_t> formatIndex;  // the plot order, which picks automatic colours
    std::size_t categoryCount = 0;     // as the SERIES record gives it
    bool auxiliary = false;            // a trend line or error bars
    PartFormat format;
    std::map<std::uint16_t, PartFormat> points;
};

struct GroupPart {
    automation::chart::Kind kind = automation::chart::Kind::Unknown;
    automation::chart::Grouping grouping = automation::chart::Grouping::Standard;
    bool variedColors = false;
    bool threeD = false;
    double holePercent = 0;
    bool secondaryAxes = false;
};

struct TextPart {
    std::uint16_t flags = 0;
    std::uint16_t link = 0;  // OBJECTLINK: 1 chart title, 2 value axis, 3 category axis
    automation::chart::Label label;
    bool hasText = false;
};

struct ChartParts {
    std::vector<SeriesPart> series;  // in the order of the SERIES records
    std::vector<GroupPart> groups;   // in the order of the CHARTFORMAT records
    std::vector<TextPart> texts;
    automation::chart::Axis categoryAxis;
    automation::chart::Axis valueAxis;
    automation::chart::Legend legend;
    std::optional<AreaFormat> chartArea;
    std::optional<AreaFormat> plotArea;
    std::optional<LineFormat> chartBorder;
    double widthPt = 0;
    double heightPt = 0;
};

// The model from the parts: kinds, automatic colours, titles.
automation::chart::Chart assembleChart(ChartParts& parts, const ChartPalette& palette);

}  // namespace office::chart
