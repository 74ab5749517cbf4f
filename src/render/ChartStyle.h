#pragma once
// The chart model's colours, lines, markers and texts as Qt draws them.
// Sizes in the model are points; Qt Charts works in logical units (1/96 inch).
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>

#include "automation/Chart.h"

namespace render {

QColor toColor(automation::chart::Rgb rgb);
// Qt::NoPen for a line the chart does not draw.
QPen strokePen(const automation::chart::Stroke& stroke);
// The marker drawn at each point of a line or scatter series, as an image Qt
// places centred on the point (`pixelRatio` image pixels per logical unit).
QImage markerImage(const automation::chart::Marker& marker, qreal pixelRatio);
// The marker's size in logical units.
qreal markerSize(const automation::chart::Marker& marker);
// Excel's chart texts: Arial (Liberation Sans where Arial is missing).
QFont chartFont(double points, bool bold = false);

}  // namespace render
