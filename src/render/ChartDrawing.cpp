// The chart is laid out in a graphics scene of its own, never shown: its
// geometry is set by hand and the scene rendered onto the canvas, with
// animations off, so one call gives the finished picture.
#include "render/ChartDrawing.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QPainter>
#include <algorithm>

#include "render/ChartStyle.h"

namespace render {
namespace {

using automation::chart::AreaFill;
using automation::chart::Chart;
using automation::chart::Kind;
using automation::chart::Legend;

constexpr double kTitlePt = 12;  // Excel's chart title: 12 point bold
constexpr double kTextPt = 10;

bool hasPoint(const automation::chart::Series& s) {
    return std::any_of(s.values.begin(), s.values.end(), [](const auto& v) { return v.has_value(); });
}

QBrush areaBrush(const AreaFill& fill, QColor automatic) {
    switch (fill.style) {
    case AreaFill::Style::Solid: return toColor(fill.color);
    case AreaFill::Style::None: return Qt::NoBrush;
    case AreaFill::Style::Automatic: break;
    }
    return automatic;
}

void setUpLegend(QLegend& legend, const Legend& model, Kind kind) {
    // Lines and points show their marker in the legend, bars, areas and slices a square.
    if (kind == Kind::Line || kind == Kind::Scatter) legend.setMarkerShape(QLegend::MarkerShapeFromSeries);
    legend.setVisible(model.shown);
    legend.setFont(chartFont(kTextPt));
    legend.setLabelColor(Qt::black);
    switch (model.position) {
    case Legend::Position::Bottom: legend.setAlignment(Qt::AlignBottom); break;
    case Legend::Position::Top: legend.setAlignment(Qt::AlignTop); break;
    case Legend::Position::Left: legend.setAlignment(Qt::AlignLeft); break;
    default: legend.setAlignment(Qt::AlignRight); break;  // right, the corner, or placed by hand
    }
}

}  // namespace

bool isDrawable(const Chart& chart) {
    if (chart.kind == Kind::Unknown || chart.series.empty()) return false;
    if (chart.kind == Kind::Pie) return hasPoint(chart.series.front());
    return std::any_of(chart.series.begin(), chart.series.end(), hasPoint);
}

void drawChart(const Chart& chart, PictureCanvas& canvas) {
    QGraphicsScene scene;
    auto* qchart = new QChart();  // owned by the scene
    scene.addItem(qchart);
    qchart->setAnimationOptions(QChart::NoAnimation);
    qchart->setBackgroundRoundness(0);
    qchart->setBackgroundBrush(areaBrush(chart.chartArea, Qt::white));
    qchart->setBackgroundPen(chart.chartBorder ? strokePen(*chart.chartBorder) : QPen(Qt::NoPen));
    qchart->setMargins(QMargins(4, 4, 4, 4));
    qchart->layout()->setContentsMargins(0, 0, 0, 0);
    const QBrush plot = areaBrush(chart.plotArea, Qt::transparent);
    qchart->setPlotAreaBackgroundVisible(plot.style() != Qt::NoBrush);
    qchart->setPlotAreaBackgroundBrush(plot);
    if (chart.title) {
        qchart->setTitleFont(chartFont(kTitlePt, true));
        qchart->setTitleBrush(Qt::black);
        qchart->setTitle(QString::fromStdString(chart.title->text));
    }
    setUpLegend(*qchart->legend(), chart.legend, chart.kind);
    const QRectF area(0, 0, canvas.widthLogical(), canvas.heightLogical());
    qchart->setGeometry(area);  // before the axes, which fit their ticks to it
    if (chart.kind == Kind::Pie)
        addPieSeries(*qchart, chart);
    else
        addCartesianSeries(*qchart, chart);

    qchart->layout()->activate();
    QPainter painter(&canvas.image());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    scene.render(&painter, area, area);
}

void drawPlaceholder(const Chart& chart, PictureCanvas& canvas) {
    const QRectF area(0, 0, canvas.widthLogical(), canvas.heightLogical());
    QPainter p(&canvas.image());
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(area, Qt::white);
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
    // A small bar-chart glyph over the title says "a chart was here".
    const qreal unit = std::min(area.width(), area.height()) / 12;
    const QPointF base(area.center().x() - 2.5 * unit, area.center().y() - unit);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 170, 170));
    const qreal heights[] = {2, 3.5, 1.5};
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(base.x() + i * 2 * unit, base.y() - heights[i] * unit, unit * 1.4, heights[i] * unit));
    p.setPen(QColor(64, 64, 64));
    p.setFont(chartFont(kTextPt, true));
    const QString title = chart.title ? QString::fromStdString(chart.title->text) : QString();
    const QRectF text(area.left() + 4, base.y() + unit / 2, area.width() - 8, area.bottom() - base.y() - unit);
    p.drawText(text, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, title);
}

}  // namespace render
