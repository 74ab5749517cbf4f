#include "app/DocumentPrinting.h"

#include <QPainter>
#include <QPdfDocument>
#include <algorithm>

#include "automation/AutomationError.h"

namespace app {

namespace {

// Dots per inch pages are drawn at: sharp on paper, and a page of a
// 1200-dpi printer stays tens of megabytes, not hundreds.
constexpr double kMostDpi = 300.0;

}  // namespace

bool PrintDocumentLine(QPrinter& printer, player::LinePdfMaker& maker, const player::PresentationFile& file,
                       const player::PresentationLine& line) {
    const std::optional<player::LinePages> pages = maker.pagesOf(file, line);
    if (!pages) return false;
    QPdfDocument document;
    if (document.load(QString::fromStdString(pages->pdfPath)) != QPdfDocument::Error::None)
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "\"" + line.description + "\" cannot be printed: its pages cannot be read.");
    const int last = std::min(pages->last, static_cast<int>(document.pageCount()));
    const int first = std::max(1, pages->first);
    if (first > last) return true;

    const QSizeF firstPage = document.pagePointSize(first - 1);
    printer.setPageOrientation(firstPage.width() > firstPage.height() ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait);
    printer.setDocName(QString::fromStdString(line.description));
    QPainter painter;
    if (!painter.begin(&printer))
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "The printer \"" + printer.printerName().toStdString() +
                                              "\" cannot print \"" + line.description + "\".");
    const double scale = std::min(1.0, kMostDpi / printer.resolution());
    for (int page = first; page <= last; ++page) {
        if (page > first) printer.newPage();
        const QRect area = painter.viewport();
        const QSizeF fitted = document.pagePointSize(page - 1).scaled(QSizeF(area.size()), Qt::KeepAspectRatio);
        const QImage image = document.render(page - 1, (fitted * scale).toSize());
        const QRectF target(area.x() + (area.width() - fitted.width()) / 2,
                            area.y() + (area.height() - fitted.height()) / 2, fitted.width(), fitted.height());
        painter.drawImage(target, image);
    }
    painter.end();
    return true;
}

}  // namespace app
