#pragma once
// Drawing a chart of the model onto a picture canvas with Qt Charts, or, for
// a chart we cannot draw, a framed placeholder with its title.
#include "automation/Chart.h"
#include "render/PictureCanvas.h"

QT_BEGIN_NAMESPACE
class QChart;
QT_END_NAMESPACE

namespace render {

// A kind we draw, with at least one point to draw.
bool isDrawable(const automation::chart::Chart& chart);
void drawChart(const automation::chart::Chart& chart, PictureCanvas& canvas);
void drawPlaceholder(const automation::chart::Chart& chart, PictureCanvas& canvas);

// The series and axes of each family of kinds (ChartSeries*.cpp).
void addCartesianSeries(QChart& qchart, const automation::chart::Chart& chart);
void addPieSeries(QChart& qchart, const automation::chart::Chart& chart);

}  // namespace render
