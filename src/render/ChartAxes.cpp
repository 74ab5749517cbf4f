#include "render/ChartAxes.h"

#include <QBarCategoryAxis>
#include <QCategoryAxis>
#include <QChart>
#include <QLogValueAxis>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "render/ChartStyle.h"

namespace render {
namespace {

using automation::chart::Axis;

constexpr double kLabelPt = 10;

// Excel starts a value axis at zero unless the values sit high above it
// (the lowest above five sixths of the highest), and likewise below zero.
void includeZero(ValueSpan& span) {
    if (span.lo >= 0 && span.lo <= span.hi * 5 / 6) span.lo = 0;
    if (span.hi <= 0 && span.hi >= span.lo * 5 / 6) span.hi = 0;
}

struct Scale {
    double min = 0;
    double max = 1;
    double step = 0.2;
    int decimals = 1;  // of the labels: as many as the step needs
};

// 1, 2 or 5 times a power of ten: the first at least `rough`.
double roundStep(double rough) {
    const double magnitude = std::pow(10, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * magnitude >= rough * (1 - 1e-9)) return m * magnitude;
    return 10 * magnitude;
}

// The scale Excel picks for values over `span`: up to ten major units, fewer
// where the axis is too short for their labels, the top value 5% of the
// range above the highest one, bounds on whole units; whatever the chart
// fixes is kept.
Scale excelScale(ValueSpan span, const Axis& axis, int intervals) {
    if (!axis.min) includeZero(span);
    double lo = axis.min.value_or(span.lo), hi = axis.max.value_or(span.hi);
    if (!(hi > lo)) hi = lo + (lo == 0 ? 1 : std::abs(lo));
    const double range = hi - lo;
    if (!axis.max && hi > 0) hi += range * 0.05;
    if (!axis.min && lo < 0) lo -= range * 0.05;
    Scale scale;
    scale.step = axis.majorUnit && *axis.majorUnit > range / 1000 ? *axis.majorUnit : roundStep((hi - lo) / intervals);
    scale.min = axis.min ? lo : std::floor(lo / scale.step) * scale.step;
    scale.max = axis.max ? hi : std::ceil(hi / scale.step) * scale.step;
    scale.decimals = 0;
    while (scale.decimals < 6 && std::abs(std::round(scale.step * std::pow(10, scale.decimals)) -
                                          scale.step * std::pow(10, scale.decimals)) > 1e-6)
        ++scale.decimals;
    return scale;
}

// Number formats Qt's printf-style labels can show.
QString labelFormat(const Axis& axis) {
    const std::string& f = axis.numberFormat;
    if (f == "0" || f == "#,##0") return QStringLiteral("%.0f");
    if (f == "0.00" || f == "#,##0.00") return QStringLiteral("%.2f");
    if (f == "0.00E+00" || f == "##0.0E+0") return QStringLiteral("%.2e");
    return {};
}

void styleAxis(QAbstractAxis& q, const Axis& axis) {
    q.setLabelsFont(chartFont(kLabelPt));
    q.setLabelsVisible(axis.visible);
    q.setLineVisible(axis.visible);
    q.setGridLineVisible(axis.majorGridlines);
    q.setGridLinePen(QPen(QColor(0x80, 0x80, 0x80), 0.75));
    q.setLinePen(QPen(Qt::black, 1));
    q.setLabelsColor(Qt::black);
    q.setReverse(axis.reversed);
    if (axis.title) {
        q.setTitleFont(chartFont(kLabelPt, true));
        q.setTitleBrush(Qt::black);
        q.setTitleText(QString::fromStdString(axis.title->text));
    }
}

}  // namespace

QAbstractAxis* addValueAxis(QChart& qchart, const Axis& axis, ValueSpan span, Qt::Alignment alignment, bool percent) {
    if (span.empty()) span = {0, 1};
    QAbstractAxis* result = nullptr;
    if (axis.logarithmic && span.lo > 0 && !percent) {
        auto* log = new QLogValueAxis();
        log->setBase(10);
        log->setLabelFormat(QStringLiteral("%g"));
        log->setRange(axis.min.value_or(std::pow(10, std::floor(std::log10(span.lo)))),
                      axis.max.value_or(std::pow(10, std::ceil(std::log10(span.hi)))));
        result = log;
    } else {
        // A 100% chart labels its axis 0% to 100%: printf-style formats cannot
        // write the sign, so the labels are categories placed on their values.
        auto* values = percent ? new QCategoryAxis() : new QValueAxis();
        // Qt shortens labels closer than about two lines of text (vertical)
        // or four digits and a gap (horizontal) to "...".
        const bool vertical = alignment & (Qt::AlignLeft | Qt::AlignRight);
        const qreal length = 0.7 * (vertical ? qchart.size().height() : qchart.size().width());
        const int intervals = std::clamp(static_cast<int>(length / (vertical ? 36 : 60)), 2, 10);
        Axis shown = axis;
        if (percent) {  // a 100% chart always runs from 0% to 100%
            shown.min = 0;
            shown.max = 100;
            shown.majorUnit = roundStep(100.0 / intervals);
        }
        const Scale scale = excelScale(span, shown, intervals);
        values->setRange(scale.min, scale.max);
        values->setTickType(QValueAxis::TicksDynamic);
        values->setTickAnchor(scale.min);
        values->setTickInterval(scale.step);
        if (auto* labels = qobject_cast<QCategoryAxis*>(values)) {
            labels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
            for (double p = 0; p <= 100; p += scale.step) labels->append(QStringLiteral("%1%").arg(p), p);
        } else {
            const QString format = labelFormat(axis);
            values->setLabelFormat(format.isEmpty() ? QStringLiteral("%.%1f").arg(scale.decimals) : format);
        }
        result = values;
    }
    styleAxis(*result, axis);
    qchart.addAxis(result, alignment);
    return result;
}

QAbstractAxis* addCategoryAxis(QChart& qchart, const Axis& axis, const QStringList& labels, Qt::Alignment alignment) {
    auto* categories = new QBarCategoryAxis();
    // The axis keeps one of equal labels only: repeated ones are told apart
    // by invisible zero-width spaces, so every point keeps its place.
    QStringList unique;
    for (const QString& label : labels) {
        QString text = label;
        while (unique.contains(text)) text += QChar(0x200B);
        unique << text;
    }
    categories->append(unique);
    styleAxis(*categories, axis);
    qchart.addAxis(categories, alignment);
    return categories;
}

QStringList categoryLabels(const automation::chart::Chart& chart) {
    std::size_t count = 0;
    const automation::chart::Series* named = nullptr;
    for (const auto& s : chart.series) {
        count = std::max(count, s.values.size());
        if (!named && !s.categories.empty()) named = &s;
    }
    QStringList labels;
    for (std::size_t i = 0; i < count; ++i) {
        if (named && i < named->categories.size())
            labels << QString::fromStdString(named->categories[i]);
        else
            labels << QString::number(i + 1);
    }
    return labels;
}

}  // namespace render
