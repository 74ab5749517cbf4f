#include "ui/qt/FormPrinter.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <memory>

#include "ui/qt/Conversions.h"
#include "ui/qt/FormWindow.h"
#include "ui/qt/QtWindowSystem.h"

namespace ui::qt {

bool printImage(QPagedPaintDevice& device, const QImage& image) {
    if (image.isNull()) return false;
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QRect page = painter.viewport();
    const double scale = std::min(static_cast<double>(page.width()) / image.width(),
                                  static_cast<double>(page.height()) / image.height());
    const QRectF target(page.left(), page.top(), image.width() * scale, image.height() * scale);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
    return painter.end();
}

bool QtWindowSystem::printForm(Form& form) {
    // The picture of the window on screen; a form not shown is drawn in a
    // window built for the purpose and never shown.
    QImage image;
    if (QWidget* window = windowOf(form)) {
        image = window->grab().toImage();
    } else {
        FormWindow picture(form, guard_, nullptr, false);
        picture.ensurePolished();
        image = picture.grab().toImage();
    }
    if (image.isNull()) return false;

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(toQString(form.caption().empty() ? form.name() : form.caption()));
    if (!printToPdf_.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(toQString(printToPdf_));
    } else {
        QPrintDialog dialog(&printer, topWindow());
        const bool accepted = dialog.exec() == QDialog::Accepted;
        // The dialog's loop is not ours: a handler that failed meanwhile
        // ends the printing here.
        guard_.rethrowPending();
        if (!accepted) return false;
    }
    return printImage(printer, image);
}

}  // namespace ui::qt
