#pragma once
// A shown sheet on screen: read-only, without gridlines or headings, at the
// zoom of the sheet's window, scrolled with the scroll bars, the wheel and
// the keys (arrows, Page Up and Down, Ctrl+Home, Ctrl+End).
#include <QAbstractScrollArea>

#include "office/format/ShownSheet.h"
#include "render/SheetPainter.h"

namespace render {

class SheetView : public QAbstractScrollArea {
public:
    explicit SheetView(office::ShownSheet sheet, QWidget* parent = nullptr);

    // Screen pixels per point of the sheet: the resolution and the zoom.
    double pixelsPerPoint() const;
    QSize sheetPixels() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBars();
    void scrollToStart();

    office::ShownSheet sheet_;
    SheetPainter painter_;
    bool painted_ = false;
};

}  // namespace render
