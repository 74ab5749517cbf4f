// Pies and doughnuts: a pie draws its first series, as Excel does; a
// doughnut draws every series as a ring, the first innermost.
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <algorithm>

#include "render/ChartDrawing.h"
#include "render/ChartStyle.h"

namespace render {

using automation::chart::Chart;
using automation::chart::Series;

namespace {

constexpr qreal kPieSize = 0.8;  // of the plot area

QColor sliceColor(const Series& s, std::size_t point) {
    if (s.pointFills.empty()) return toColor(s.fill);
    return toColor(s.pointFills[point % s.pointFills.size()]);
}

}  // namespace

void addPieSeries(QChart& qchart, const Chart& chart) {
    const std::size_t rings = chart.holePercent > 0 ? chart.series.size() : 1;
    const qreal hole = kPieSize * chart.holePercent / 100;
    for (std::size_t r = 0; r < rings; ++r) {
        const Series& s = chart.series[r];
        auto* pie = new QPieSeries();
        pie->setHoleSize(hole + (kPieSize - hole) * r / rings);
        pie->setPieSize(hole + (kPieSize - hole) * (r + 1) / rings);
        for (std::size_t i = 0; i < s.values.size(); ++i) {
            const QString label =
                i < s.categories.size() ? QString::fromStdString(s.categories[i]) : QString::number(i + 1);
            pie->append(label, std::max(0.0, s.values[i].value_or(0)))->setLabelVisible(false);
        }
        qchart.addSeries(pie);
        // Colours after adding: the chart's theme paints the slices it is given.
        const QList<QPieSlice*> slices = pie->slices();
        for (qsizetype i = 0; i < slices.size(); ++i) {
            slices[i]->setBrush(sliceColor(s, static_cast<std::size_t>(i)));
            slices[i]->setPen(strokePen(s.line));
        }
        // The legend names the categories once, as Excel's does.
        if (r > 0)
            for (QLegendMarker* marker : qchart.legend()->markers(pie)) marker->setVisible(false);
    }
}

}  // namespace render
