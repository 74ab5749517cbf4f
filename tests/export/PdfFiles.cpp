#include "export/PdfFiles.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>

namespace exporttest {

namespace {

// Qt draws text and reads PDFs only with an application object; the tests
// run on the offscreen platform.
void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tests_export";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

}  // namespace

void writePdf(const std::string& path, const std::vector<std::string>& pageTexts) {
    ensureApplication();
    QPdfWriter writer(QString::fromStdString(path));
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter;
    ASSERT_TRUE(painter.begin(&writer)) << path;
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 24));
    for (std::size_t k = 0; k < pageTexts.size(); ++k) {
        if (k > 0) writer.newPage();
        painter.drawText(QPointF(600, 1200), QString::fromStdString(pageTexts[k]));
    }
    painter.end();
}

std::vector<std::string> pdfPageTexts(const std::string& path) {
    ensureApplication();
    QPdfDocument document;
    if (document.load(QString::fromStdString(path)) != QPdfDocument::Error::None) {
        ADD_FAILURE() << path << " is no readable PDF";
        return {};
    }
    std::vector<std::string> texts;
    for (int page = 0; page < document.pageCount(); ++page)
        texts.push_back(document.getAllText(page).text().trimmed().toStdString());
    return texts;
}

}  // namespace exporttest
