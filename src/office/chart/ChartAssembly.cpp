// From the parts the records gave to the model the picture maker draws:
// series in plot order with their group's kind, automatic formats resolved the
// way Excel draws them, titles taken from the texts their links name.
#include <algorithm>

#include "office/chart/ChartParts.h"

namespace office::chart {
namespace {

using automation::chart::AreaFill;
using automation::chart::Chart;
using automation::chart::Kind;
using automation::chart::Label;
using automation::chart::Series;

constexpr std::uint16_t kTextAutomatic = 0x0010;  // TEXT fAutoText: the title is the series name
constexpr std::uint16_t kTextDeleted = 0x0040;
constexpr std::uint16_t kLinkChartTitle = 1, kLinkValueAxis = 2, kLinkCategoryAxis = 3;
constexpr double kAutoSeriesLinePt = 1.5;

bool drawnAsLine(Kind kind) { return kind == Kind::Line || kind == Kind::Scatter; }

void applyFormats(Series& s, const SeriesPart& part, const GroupPart& group, std::size_t formatIndex,
                  const ChartPalette& palette) {
    const PartFormat& format = part.format;
    if (format.area && !format.area->automatic) {
        s.filled = !format.area->none;
        s.fill = format.area->color;
    } else {
        s.fill = palette.autoFill(formatIndex);
    }
    if (format.line && !format.line->automatic) {
        s.line = format.line->stroke;
    } else if (drawnAsLine(s.kind)) {
        s.line.color = palette.autoLine(formatIndex);
        s.line.widthPt = kAutoSeriesLinePt;
    } else {
        s.line.color = 0x000000;  // the thin black border of bars and slices
    }
    if (drawnAsLine(s.kind)) {
        s.marker = (format.marker && !format.marker->automatic) ? format.marker->marker
                                                                 : autoMarker(formatIndex, palette);
    }
    if (s.kind != Kind::Pie) return;
    s.pointFills.resize(s.values.size());
    for (std::size_t i = 0; i < s.pointFills.size(); ++i) {
        auto point = part.points.find(static_cast<std::uint16_t>(i));
        if (point != part.points.end() && point->second.area && !point->second.area->automatic)
            s.pointFills[i] = point->second.area->color;
        else
            s.pointFills[i] = group.variedColors ? palette.autoFill(i) : s.fill;
    }
}

AreaFill areaFill(const std::optional<AreaFormat>& format) {
    AreaFill fill;
    if (!format || format->automatic) return fill;
    fill.style = format->none ? AreaFill::Style::None : AreaFill::Style::Solid;
    fill.color = format->color;
    return fill;
}

void assembleTitles(ChartParts& parts, Chart& chart) {
    for (TextPart& text : parts.texts) {
        if (text.flags & kTextDeleted) continue;
        std::optional<Label> label;
        if (text.hasText || !text.label.source.empty())
            label = std::move(text.label);
        else if ((text.flags & kTextAutomatic) && text.link == kLinkChartTitle && chart.series.size() == 1)
            label = chart.series.front().name;  // Excel titles a one-series chart with the series' name
        if (!label) continue;
        switch (text.link) {
        case kLinkChartTitle: chart.title = std::move(label); break;
        case kLinkValueAxis: chart.valueAxis.title = std::move(label); break;
        case kLinkCategoryAxis: chart.categoryAxis.title = std::move(label); break;
        default: break;
        }
    }
}

}  // namespace

Chart assembleChart(ChartParts& parts, const ChartPalette& palette) {
    Chart chart;
    chart.widthPt = parts.widthPt;
    chart.heightPt = parts.heightPt;
    chart.legend = parts.legend;
    chart.categoryAxis = std::move(parts.categoryAxis);
    chart.valueAxis = std::move(parts.valueAxis);
    chart.chartArea = areaFill(parts.chartArea);
    chart.plotArea = areaFill(parts.plotArea);
    if (parts.chartBorder) chart.chartBorder = parts.chartBorder->stroke;

    // Plot order: the format index of each series, ties kept in file order.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < parts.series.size(); ++i)
        if (!parts.series[i].auxiliary) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return parts.series[a].formatIndex.value_or(a) < parts.series[b].formatIndex.value_or(b);
    });

    const GroupPart none;
    auto groupOf = [&](const SeriesPart& s) -> const GroupPart& {
        if (s.group < parts.groups.size()) return parts.groups[s.group];
        return parts.groups.empty() ? none : parts.groups.front();
    };
    for (std::size_t position = 0; position < order.size(); ++position) {
        SeriesPart& part = parts.series[order[position]];
        const GroupPart& group = groupOf(part);
        Series s = std::move(part.series);
        s.kind = group.kind;
        applyFormats(s, part, group, part.formatIndex.value_or(position), palette);
        chart.series.push_back(std::move(s));
    }

    const GroupPart& main = order.empty() ? (parts.groups.empty() ? none : parts.groups.front())
                                          : groupOf(parts.series[order.front()]);
    chart.kind = main.kind;
    chart.grouping = main.grouping;
    chart.threeD = main.threeD;
    chart.variedColors = main.variedColors;
    chart.holePercent = main.holePercent;
    assembleTitles(parts, chart);
    return chart;
}

}  // namespace office::chart
