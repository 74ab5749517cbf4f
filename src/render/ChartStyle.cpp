#include "render/ChartStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "render/PictureCanvas.h"

namespace render {

using automation::chart::Marker;
using automation::chart::Stroke;

QColor toColor(automation::chart::Rgb rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

QPen strokePen(const Stroke& stroke) {
    if (!stroke.visible) return QPen(Qt::NoPen);
    QPen pen(toColor(stroke.color));
    pen.setWidthF(std::max(1.0, stroke.widthPt * kLogicalPerPoint));
    switch (stroke.dash) {
    case Stroke::Dash::Dash: pen.setStyle(Qt::DashLine); break;
    case Stroke::Dash::Dot: pen.setStyle(Qt::DotLine); break;
    case Stroke::Dash::DashDot: pen.setStyle(Qt::DashDotLine); break;
    case Stroke::Dash::DashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    case Stroke::Dash::Solid: break;
    }
    return pen;
}

qreal markerSize(const Marker& marker) { return std::max(3.0, marker.sizePt * kLogicalPerPoint); }

QImage markerImage(const Marker& marker, qreal pixelRatio) {
    const qreal size = markerSize(marker);
    const int pixels = static_cast<int>(std::ceil(size * pixelRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(pixelRatio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(toColor(marker.border), 1.0));
    p.setBrush(toColor(marker.fill));
    const qreal r = size / 2 - 0.5;
    const QPointF c(pixels / pixelRatio / 2, pixels / pixelRatio / 2);
    auto polygon = [&](std::initializer_list<QPointF> points) {
        QPolygonF shape;
        for (const QPointF& q : points) shape << c + q * r;
        p.drawPolygon(shape);
    };
    switch (marker.shape) {
    case Marker::Shape::Square: p.drawRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r)); break;
    case Marker::Shape::Diamond: polygon({{0, -1}, {1, 0}, {0, 1}, {-1, 0}}); break;
    case Marker::Shape::Triangle: polygon({{0, -1}, {1, 0.8}, {-1, 0.8}}); break;
    case Marker::Shape::Circle: p.drawEllipse(c, r, r); break;
    case Marker::Shape::Star:
    case Marker::Shape::Cross:
    case Marker::Shape::Plus:
    case Marker::Shape::Dash: {
        // Shapes made of strokes only, drawn in the border colour.
        const bool diagonals = marker.shape == Marker::Shape::Cross || marker.shape == Marker::Shape::Star;
        const bool vertical = marker.shape == Marker::Shape::Plus || marker.shape == Marker::Shape::Star;
        const bool horizontal = vertical || marker.shape == Marker::Shape::Dash;
        p.setPen(QPen(toColor(marker.border), std::max(1.0, size / 6)));
        if (diagonals) {
            p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
            p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
        }
        if (horizontal) p.drawLine(c + QPointF(-r, 0), c + QPointF(r, 0));
        if (vertical) p.drawLine(c + QPointF(0, -r), c + QPointF(0, r));
        break;
    }
    case Marker::Shape::None: break;
    }
    return image;
}

QFont chartFont(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace render
