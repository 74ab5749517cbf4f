#include "render/SheetPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace render {

namespace {

using office::BorderStyle;
using office::ShownCell;

// Space between a cell's edge and its text, and one level of indent (three
// characters of the default font), in points.
constexpr double kPadding = 1.5;
constexpr double kIndentLevel = 6.75;
// Merged areas larger than this are not looked into for spilled texts.
constexpr std::uint64_t kMergeCellsMarked = 100000;

QColor rgb(std::uint32_t value) { return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF); }

std::uint64_t key(std::uint32_t row, std::uint32_t column) { return (std::uint64_t{row} << 16) | column; }

// A font whose size, drawn through a painter whose unit is a point, is
// `points` on any device: Qt sizes point fonts by the device's resolution.
QFont fontOf(const ShownCell& cell, const QPaintDevice* device, double points) {
    QFont font(QString::fromStdString(cell.fontName.empty() ? std::string("Arial") : cell.fontName));
    const double dpi = device ? device->logicalDpiY() : 72.0;
    font.setPointSizeF(std::max(points, 1.0) * 72.0 / dpi);
    font.setBold(cell.bold);
    font.setItalic(cell.italic);
    font.setUnderline(cell.underline);
    font.setStrikeOut(cell.strikeout);
    return font;
}

Qt::Alignment alignmentOf(const ShownCell& cell) {
    Qt::Alignment flags;
    switch (cell.align) {
    case ShownCell::Align::Center: flags = Qt::AlignHCenter; break;
    case ShownCell::Align::Right: flags = Qt::AlignRight; break;
    default: flags = Qt::AlignLeft;
    }
    switch (cell.valign) {
    case ShownCell::VAlign::Top: return flags | Qt::AlignTop;
    case ShownCell::VAlign::Center: return flags | Qt::AlignVCenter;
    default: return flags | Qt::AlignBottom;
    }
}

// A border line's width in points and dashes (in widths of the pen).
struct LineLook {
    double width;
    QList<qreal> dashes;  // empty: solid
};

LineLook lookOf(BorderStyle style) {
    switch (style) {
    case BorderStyle::Medium: return {1.5, {}};
    case BorderStyle::Thick: return {2.25, {}};
    case BorderStyle::Hair: return {0.5, {1, 1}};
    case BorderStyle::Dotted: return {0.75, {1, 1}};
    case BorderStyle::Dashed: return {0.75, {3, 1}};
    case BorderStyle::MediumDashed: return {1.5, {4, 2}};
    case BorderStyle::DashDot: return {0.75, {6, 2, 2, 2}};
    case BorderStyle::MediumDashDot:
    case BorderStyle::SlantDashDot: return {1.5, {5, 1.5, 1.5, 1.5}};
    case BorderStyle::DashDotDot: return {0.75, {6, 2, 2, 2, 2, 2}};
    case BorderStyle::MediumDashDotDot: return {1.5, {5, 1.5, 1.5, 1.5, 1.5, 1.5}};
    default: return {0.75, {}};
    }
}

void drawLine(QPainter& painter, const office::ShownLine& line, QPointF from, QPointF to, bool horizontal) {
    if (line.style == BorderStyle::None) return;
    if (line.style == BorderStyle::Double) {
        // Two thin lines with a thin gap between them, centred on the edge.
        QPen pen(rgb(line.color), 0.75, Qt::SolidLine, Qt::FlatCap);
        painter.setPen(pen);
        const QPointF step = horizontal ? QPointF(0, 0.75) : QPointF(0.75, 0);
        painter.drawLine(from - step, to - step);
        painter.drawLine(from + step, to + step);
        return;
    }
    const LineLook look = lookOf(line.style);
    QPen pen(rgb(line.color), look.width, Qt::SolidLine, Qt::FlatCap);
    if (!look.dashes.isEmpty()) pen.setDashPattern(look.dashes);
    painter.setPen(pen);
    painter.drawLine(from, to);
}

}  // namespace

SheetPainter::SheetPainter(const office::ShownSheet& sheet) : sheet_(sheet) {
    columnEdges_.push_back(0);
    for (double width : sheet.columnWidths) columnEdges_.push_back(columnEdges_.back() + std::max(width, 0.0));
    rowEdges_.push_back(0);
    for (double height : sheet.rowHeights) rowEdges_.push_back(rowEdges_.back() + std::max(height, 0.0));

    for (const office::ShownPicture& picture : sheet.pictures) {
        QImage image;
        if (!picture.image.empty())
            image.loadFromData(picture.image.data(), static_cast<int>(picture.image.size()));
        images_.push_back(std::move(image));
    }

    byRow_.resize(sheet.cells.size());
    for (std::size_t k = 0; k < byRow_.size(); ++k) byRow_[k] = k;
    std::stable_sort(byRow_.begin(), byRow_.end(),
                     [&](std::size_t a, std::size_t b) { return sheet.cells[a].row < sheet.cells[b].row; });
    for (const ShownCell& cell : sheet.cells) {
        tallestSpan_ = std::max(tallestSpan_, cell.rowSpan);
        if (!cell.text.empty() && cell.rowSpan == 1 && cell.columnSpan == 1) occupied_.push_back(key(cell.row, cell.column));
        if (cell.rowSpan == 1 && cell.columnSpan == 1) continue;
        if (std::uint64_t{cell.rowSpan} * cell.columnSpan > kMergeCellsMarked) continue;
        for (std::uint32_t r = 0; r < cell.rowSpan; ++r)
            for (std::uint32_t c = 0; c < cell.columnSpan; ++c) occupied_.push_back(key(cell.row + r, cell.column + c));
    }
    std::sort(occupied_.begin(), occupied_.end());
}

double SheetPainter::columnEdge(std::uint32_t column) const {
    if (column < 1) return 0;
    return columnEdges_[std::min<std::size_t>(column - 1, columnEdges_.size() - 1)];
}

double SheetPainter::rowEdge(std::uint32_t row) const {
    if (row < 1) return 0;
    return rowEdges_[std::min<std::size_t>(row - 1, rowEdges_.size() - 1)];
}

QSizeF SheetPainter::size() const {
    QSizeF size(columnEdges_.back(), rowEdges_.back());
    for (const office::ShownPicture& picture : sheet_.pictures) {
        size.setWidth(std::max(size.width(), picture.left + picture.width));
        size.setHeight(std::max(size.height(), picture.top + picture.height));
    }
    return size;
}

QRectF SheetPainter::cellRect(const ShownCell& cell) const {
    const double left = columnEdge(cell.column), top = rowEdge(cell.row);
    return QRectF(left, top, columnEdge(cell.column + cell.columnSpan) - left, rowEdge(cell.row + cell.rowSpan) - top);
}

bool SheetPainter::occupied(std::uint32_t row, std::uint32_t column) const {
    return std::binary_search(occupied_.begin(), occupied_.end(), key(row, column));
}

// A text wider than its cell spills into the empty cells beside it, on the
// side its alignment leaves open, as far as it needs.
QRectF SheetPainter::textRect(const ShownCell& cell, const QRectF& rect, double textWidth) const {
    if (cell.wrap || cell.number || cell.shrink || cell.rowSpan > 1 || cell.columnSpan > 1 ||
        textWidth <= rect.width())
        return rect;
    const std::uint32_t columns = columnCount();
    QRectF out = rect;
    const bool toRight = cell.align != ShownCell::Align::Right, toLeft = cell.align != ShownCell::Align::Left;
    const double need = cell.align == ShownCell::Align::Center ? (textWidth - rect.width()) / 2 : textWidth - rect.width();
    if (toRight)
        for (std::uint32_t c = cell.column + 1; c <= columns && out.right() - rect.right() < need; ++c) {
            if (occupied(cell.row, c)) break;
            out.setRight(columnEdge(c + 1));
        }
    if (toLeft)
        for (std::uint32_t c = cell.column - 1; c >= 1 && rect.left() - out.left() < need; --c) {
            if (occupied(cell.row, c)) break;
            out.setLeft(columnEdge(c));
        }
    return out;
}

void SheetPainter::paintText(QPainter& painter, const ShownCell& cell, const QRectF& area) const {
    const QRectF rect = cellRect(cell);
    if (rect.width() <= 0 || rect.height() <= 0) return;
    const double indent = cell.align == ShownCell::Align::Center ? 0 : cell.indent * kIndentLevel;
    const double room = rect.width() - 2 * kPadding - indent;
    QFont font = fontOf(cell, painter.device(), cell.fontPoints);
    QString text = QString::fromStdString(cell.text);
    QFontMetricsF metrics(font, painter.device());
    double textWidth = 0;
    if (!cell.wrap) {
        for (const QString& line : text.split(QLatin1Char('\n'))) textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
        if (cell.shrink && textWidth > room && room > 0) {
            font = fontOf(cell, painter.device(), cell.fontPoints * room / textWidth);
            metrics = QFontMetricsF(font, painter.device());
            textWidth = room;
        } else if (cell.number && textWidth > room) {
            // A number never shows in part.
            const double hash = metrics.horizontalAdvance(QLatin1Char('#'));
            text = QString(hash > 0 ? std::max(0, static_cast<int>(room / hash)) : 0, QLatin1Char('#'));
        }
    }
    QRectF box = textRect(cell, rect, textWidth + 2 * kPadding + indent);
    // Outside the area the text would be clipped away, yet a PDF would still hold it.
    if (!box.intersects(area)) return;
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setFont(font);
    painter.setPen(rgb(cell.color));
    box.adjust(kPadding, 0, -kPadding, 0);
    if (cell.align == ShownCell::Align::Left) box.setLeft(box.left() + indent);
    if (cell.align == ShownCell::Align::Right) box.setRight(box.right() - indent);
    int flags = static_cast<int>(alignmentOf(cell));
    if (cell.wrap) flags |= Qt::TextWordWrap;
    painter.drawText(box, flags, text);
    painter.restore();
}

void SheetPainter::paintEdges(QPainter& painter, const ShownCell& cell) const {
    const QRectF r = cellRect(cell);
    if (r.width() <= 0 || r.height() <= 0) return;
    drawLine(painter, cell.top, r.topLeft(), r.topRight(), true);
    drawLine(painter, cell.bottom, r.bottomLeft(), r.bottomRight(), true);
    drawLine(painter, cell.left, r.topLeft(), r.bottomLeft(), false);
    drawLine(painter, cell.right, r.topRight(), r.bottomRight(), false);
}

void SheetPainter::paint(QPainter& painter, const QRectF& area) const {
    // The cells of the rows the area shows, and merged areas reaching into them.
    const auto firstRow = static_cast<std::uint32_t>(
        std::upper_bound(rowEdges_.begin(), rowEdges_.end(), area.top()) - rowEdges_.begin());
    const auto lastRow = static_cast<std::uint32_t>(
        std::lower_bound(rowEdges_.begin(), rowEdges_.end(), area.bottom()) - rowEdges_.begin());
    const std::uint32_t from = firstRow > tallestSpan_ ? firstRow - tallestSpan_ : 0;
    auto begin = std::lower_bound(byRow_.begin(), byRow_.end(), from,
                                  [&](std::size_t k, std::uint32_t row) { return sheet_.cells[k].row < row; });
    auto end = std::upper_bound(byRow_.begin(), byRow_.end(), lastRow,
                                [&](std::uint32_t row, std::size_t k) { return row < sheet_.cells[k].row; });

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (auto it = begin; it != end; ++it) {
        const ShownCell& cell = sheet_.cells[*it];
        if (!cell.fill) continue;
        const QRectF rect = cellRect(cell);
        if (rect.intersects(area)) painter.fillRect(rect, rgb(*cell.fill));
    }
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (auto it = begin; it != end; ++it)
        if (!sheet_.cells[*it].text.empty()) paintText(painter, sheet_.cells[*it], area);
    for (auto it = begin; it != end; ++it) {
        const ShownCell& cell = sheet_.cells[*it];
        if (cellRect(cell).adjusted(-2, -2, 2, 2).intersects(area)) paintEdges(painter, cell);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (std::size_t k = 0; k < images_.size(); ++k) {
        const office::ShownPicture& picture = sheet_.pictures[k];
        const QRectF rect(picture.left, picture.top, picture.width, picture.height);
        if (images_[k].isNull() || !rect.intersects(area)) continue;
        painter.drawImage(rect, images_[k]);
    }
    painter.restore();
}

}  // namespace render
