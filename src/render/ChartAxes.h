#pragma once
// The axes of column, bar, line, area and scatter charts: the value ranges
// Excel would choose, the category labels, titles, gridlines, visibility.
#include <QStringList>
#include <limits>

#include "automation/Chart.h"

QT_BEGIN_NAMESPACE
class QAbstractAxis;
class QChart;
QT_END_NAMESPACE

namespace render {

// The smallest and largest value drawn on an axis.
struct ValueSpan {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    void add(double v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    bool empty() const { return lo > hi; }
};

// A value axis over `span` (ticks and range as Excel picks them unless the
// chart fixes them), added to `qchart` at `alignment`; the chart's size must
// be set already. `percent`: a 100% stacked chart, labelled 0% to 100%.
QAbstractAxis* addValueAxis(QChart& qchart, const automation::chart::Axis& axis, ValueSpan span, Qt::Alignment alignment,
                            bool percent = false);
// A category axis with one label per point: the chart's category labels, or
// 1, 2, 3, ... where it has none.
QAbstractAxis* addCategoryAxis(QChart& qchart, const automation::chart::Axis& axis, const QStringList& labels,
                               Qt::Alignment alignment);
// The labels of the categories of the chart's longest series.
QStringList categoryLabels(const automation::chart::Chart& chart);

}  // namespace render
