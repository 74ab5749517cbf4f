// Column, bar, line, area and scatter series. Bars stack in Qt's own bar
// series; lines and areas are stacked here, since Qt draws them as given.
#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QHorizontalBarSeries>
#include <QHorizontalPercentBarSeries>
#include <QHorizontalStackedBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPercentBarSeries>
#include <QStackedBarSeries>

#include "render/ChartAxes.h"
#include "render/ChartDrawing.h"
#include "render/ChartStyle.h"

namespace render {
namespace {

using automation::chart::Chart;
using automation::chart::Grouping;
using automation::chart::Kind;
using automation::chart::Series;

QString nameOf(const Series& s, std::size_t index) {
    return s.name.text.empty() ? QStringLiteral("Series%1").arg(index + 1) : QString::fromStdString(s.name.text);
}

QAbstractBarSeries* newBarSeries(Kind kind, Grouping grouping) {
    const bool horizontal = kind == Kind::Bar;
    switch (grouping) {
    case Grouping::Stacked:
        return horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalStackedBarSeries) : new QStackedBarSeries;
    case Grouping::PercentStacked:
        return horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalPercentBarSeries) : new QPercentBarSeries;
    case Grouping::Standard: break;
    }
    return horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries) : new QBarSeries;
}

// The height of each point of each series as drawn: stacked on the series
// before it, or as a share of the point's total; nullopt where a standard
// line has a gap.
struct Heights {
    std::vector<std::vector<std::optional<double>>> top;
    std::vector<std::vector<double>> base;
    ValueSpan span;
};

Heights stackedHeights(const std::vector<const Series*>& series, Grouping grouping) {
    std::size_t count = 0;
    for (const Series* s : series) count = std::max(count, s->values.size());
    std::vector<double> total(count, 0), running(count, 0);
    for (const Series* s : series)
        for (std::size_t i = 0; i < s->values.size(); ++i) total[i] += s->values[i].value_or(0);
    Heights h;
    for (const Series* s : series) {
        auto& top = h.top.emplace_back(s->values.size());
        auto& base = h.base.emplace_back(s->values.size(), 0.0);
        for (std::size_t i = 0; i < s->values.size(); ++i) {
            const std::optional<double>& v = s->values[i];
            if (grouping == Grouping::Standard) {
                top[i] = v;
            } else {
                double value = v.value_or(0);
                if (grouping == Grouping::PercentStacked) value = total[i] != 0 ? 100 * value / total[i] : 0;
                base[i] = running[i];
                running[i] += value;
                top[i] = running[i];
            }
            if (top[i]) h.span.add(*top[i]);
            h.span.add(base[i]);
        }
    }
    return h;
}

QLineSeries* newLine(const std::vector<std::optional<double>>& ys, const std::vector<double>* xs) {
    auto* line = new QLineSeries();
    for (std::size_t i = 0; i < ys.size(); ++i)
        if (ys[i]) line->append(xs ? (*xs)[i] : static_cast<double>(i), *ys[i]);  // gaps are joined over
    return line;
}

void styleLine(QLineSeries& line, const Series& s) {
    line.setPen(strokePen(s.line));
    if (s.marker.shape == automation::chart::Marker::Shape::None) return;
    line.setLightMarker(markerImage(s.marker, pixelsPerLogical()));
    line.setMarkerSize(markerSize(s.marker));
    line.setPointsVisible(true);
}

void attach(QChart& qchart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    qchart.addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

// Columns or bars, and the line series of a combination drawn over them.
void addBars(QChart& qchart, const Chart& chart) {
    std::vector<const Series*> barSeries, lineSeries;
    for (const auto& s : chart.series) (s.kind == Kind::Line ? lineSeries : barSeries).push_back(&s);
    QAbstractBarSeries* bars = newBarSeries(chart.kind, chart.grouping);
    bars->setBarWidth(0.6);
    for (std::size_t i = 0; i < barSeries.size(); ++i) {
        const Series& s = *barSeries[i];
        auto* set = new QBarSet(nameOf(s, i));
        set->setBrush(s.filled ? QBrush(toColor(s.fill)) : QBrush(Qt::NoBrush));
        set->setPen(strokePen(s.line));
        for (const auto& v : s.values) set->append(v.value_or(0));
        bars->append(set);
    }
    // Qt stacks the bars itself; the span is needed for the value axis only.
    ValueSpan span = stackedHeights(barSeries, chart.grouping == Grouping::Stacked ? Grouping::Stacked
                                                                                   : Grouping::Standard).span;
    const Heights lines = stackedHeights(lineSeries, Grouping::Standard);
    if (!lines.span.empty()) {
        span.add(lines.span.lo);
        span.add(lines.span.hi);
    }
    const bool horizontal = chart.kind == Kind::Bar;
    QAbstractAxis* categories = addCategoryAxis(qchart, chart.categoryAxis, categoryLabels(chart),
                                                horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    QAbstractAxis* values = addValueAxis(qchart, chart.valueAxis, span, horizontal ? Qt::AlignBottom : Qt::AlignLeft,
                                         chart.grouping == Grouping::PercentStacked);
    if (horizontal)
        attach(qchart, bars, values, categories);
    else
        attach(qchart, bars, categories, values);
    for (std::size_t i = 0; i < lineSeries.size(); ++i) {
        QLineSeries* line = newLine(lines.top[i], nullptr);
        line->setName(nameOf(*lineSeries[i], barSeries.size() + i));
        styleLine(*line, *lineSeries[i]);
        attach(qchart, line, categories, values);
    }
}

void addLinesOrAreas(QChart& qchart, const Chart& chart) {
    std::vector<const Series*> series;
    for (const auto& s : chart.series) series.push_back(&s);
    const Heights h = stackedHeights(series, chart.grouping);
    QAbstractAxis* categories = addCategoryAxis(qchart, chart.categoryAxis, categoryLabels(chart), Qt::AlignBottom);
    QAbstractAxis* values = addValueAxis(qchart, chart.valueAxis, h.span, Qt::AlignLeft,
                                         chart.grouping == Grouping::PercentStacked);
    for (std::size_t i = 0; i < series.size(); ++i) {
        const Series& s = *series[i];
        QLineSeries* upper = newLine(h.top[i], nullptr);
        if (chart.kind == Kind::Line) {
            upper->setName(nameOf(s, i));
            styleLine(*upper, s);
            attach(qchart, upper, categories, values);
            continue;
        }
        std::vector<std::optional<double>> base(h.base[i].begin(), h.base[i].end());
        for (std::size_t p = 0; p < base.size(); ++p)
            if (!h.top[i][p]) base[p].reset();
        auto* area = new QAreaSeries(upper, newLine(base, nullptr));
        area->setName(nameOf(s, i));
        area->setBrush(s.filled ? toColor(s.fill) : QColor(Qt::transparent));
        area->setPen(strokePen(s.line));
        attach(qchart, area, categories, values);
    }
}

void addScatter(QChart& qchart, const Chart& chart) {
    std::vector<std::vector<double>> xs;
    ValueSpan xSpan, ySpan;
    for (const Series& s : chart.series) {
        auto& x = xs.emplace_back();
        const bool numbered = s.xValues.size() >= s.values.size() &&
                              std::all_of(s.xValues.begin(), s.xValues.begin() + s.values.size(),
                                          [](const auto& v) { return v.has_value(); });
        for (std::size_t i = 0; i < s.values.size(); ++i) {
            x.push_back(numbered ? *s.xValues[i] : static_cast<double>(i + 1));  // Excel numbers text x values
            if (s.values[i]) {
                xSpan.add(x.back());
                ySpan.add(*s.values[i]);
            }
        }
    }
    QAbstractAxis* xAxis = addValueAxis(qchart, chart.categoryAxis, xSpan, Qt::AlignBottom);
    QAbstractAxis* yAxis = addValueAxis(qchart, chart.valueAxis, ySpan, Qt::AlignLeft);
    for (std::size_t i = 0; i < chart.series.size(); ++i) {
        const Series& s = chart.series[i];
        QLineSeries* line = newLine(s.values, &xs[i]);
        line->setName(nameOf(s, i));
        styleLine(*line, s);
        attach(qchart, line, xAxis, yAxis);
    }
}

}  // namespace

void addCartesianSeries(QChart& qchart, const Chart& chart) {
    switch (chart.kind) {
    case Kind::Column:
    case Kind::Bar: addBars(qchart, chart); break;
    case Kind::Line:
    case Kind::Area: addLinesOrAreas(qchart, chart); break;
    case Kind::Scatter: addScatter(qchart, chart); break;
    default: break;
    }
}

}  // namespace render
