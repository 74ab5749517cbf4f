#include "render/SheetView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

namespace render {

namespace {
constexpr int kScrollStep = 20;  // pixels an arrow key or a wheel notch moves
}

SheetView::SheetView(office::ShownSheet sheet, QWidget* parent)
    : QAbstractScrollArea(parent), sheet_(std::move(sheet)), painter_(sheet_) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(kScrollStep);
    verticalScrollBar()->setSingleStep(kScrollStep);
    updateScrollBars();
    scrollToStart();
}

// Where the sheet's window was scrolled to, below and right of frozen panes.
void SheetView::scrollToStart() {
    horizontalScrollBar()->setValue(static_cast<int>(
        (painter_.columnEdge(sheet_.leftColumn) - painter_.columnEdge(sheet_.frozenColumns + 1)) * pixelsPerPoint()));
    verticalScrollBar()->setValue(static_cast<int>(
        (painter_.rowEdge(sheet_.topRow) - painter_.rowEdge(sheet_.frozenRows + 1)) * pixelsPerPoint()));
}

double SheetView::pixelsPerPoint() const { return logicalDpiX() / 72.0 * sheet_.zoom; }

QSize SheetView::sheetPixels() const {
    const QSizeF size = painter_.size() * pixelsPerPoint();
    return QSize(static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height())));
}

void SheetView::updateScrollBars() {
    const QSize sheet = sheetPixels(), room = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, sheet.width() - room.width()));
    horizontalScrollBar()->setPageStep(room.width());
    verticalScrollBar()->setRange(0, std::max(0, sheet.height() - room.height()));
    verticalScrollBar()->setPageStep(room.height());
}

void SheetView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    // The window takes its size in steps before it first shows: the start
    // holds until then.
    if (!painted_) scrollToStart();
}

void SheetView::scrollContentsBy(int, int) { viewport()->update(); }

void SheetView::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (ctrl && event->key() == Qt::Key_Home) {
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
    } else if (ctrl && event->key() == Qt::Key_End) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    } else if (event->key() == Qt::Key_Home) {
        horizontalScrollBar()->setValue(0);
    } else {
        QAbstractScrollArea::keyPressEvent(event);  // arrows and pages; Esc goes on to the window
    }
}

// Frozen rows and columns stay; the rest scrolls past them: up to four
// panes, each painted through its own clip.
void SheetView::paintEvent(QPaintEvent* event) {
    painted_ = true;
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Qt::white);
    const double scale = pixelsPerPoint();
    const double fixedX = painter_.columnEdge(sheet_.frozenColumns + 1) * scale;
    const double fixedY = painter_.rowEdge(sheet_.frozenRows + 1) * scale;
    const double width = viewport()->width(), height = viewport()->height();
    const double scrollX = horizontalScrollBar()->value(), scrollY = verticalScrollBar()->value();
    struct Pane {
        QRectF clip;
        QPointF scrolled;
    };
    const Pane panes[] = {
        {QRectF(0, 0, fixedX, fixedY), QPointF(0, 0)},
        {QRectF(fixedX, 0, width - fixedX, fixedY), QPointF(scrollX, 0)},
        {QRectF(0, fixedY, fixedX, height - fixedY), QPointF(0, scrollY)},
        {QRectF(fixedX, fixedY, width - fixedX, height - fixedY), QPointF(scrollX, scrollY)},
    };
    for (const Pane& pane : panes) {
        const QRectF clip = pane.clip.intersected(QRectF(event->rect()));
        if (clip.isEmpty()) continue;
        painter.save();
        painter.setClipRect(clip);
        painter.translate(-pane.scrolled);
        painter.scale(scale, scale);
        const QRectF shown = clip.translated(pane.scrolled);
        painter_.paint(painter, QRectF(shown.topLeft() / scale, shown.size() / scale));
        painter.restore();
    }
}

}  // namespace render
