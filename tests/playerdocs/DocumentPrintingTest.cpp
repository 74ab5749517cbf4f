// A document line printed: exactly the pages of its range, slides across the
// paper; a line without a layout engine prints nothing.
#include <gtest/gtest.h>

#include <QPdfDocument>
#include <QPrinter>
#include <filesystem>

#include "app/DocumentPrinting.h"
#include "app/LibreOfficePdfMaker.h"
#include "playerdocs/DocsSupport.h"

namespace docstest {
namespace {

namespace fs = std::filesystem;

class DocumentPrintingTest : public DocumentLineTest {
protected:
    void SetUp() override {
        path = docsPresentation();
        excel = objects.CreateExcel();
        file = std::make_unique<player::PresentationFile>(player::PresentationFile::Open(*excel, path));
    }
    // Prints line `n` to a PDF file; its page sizes in points, or nothing
    // when nothing was printed.
    std::optional<std::vector<QSizeF>> print(player::LinePdfMaker& maker, const player::PresentationLine& line) {
        const std::string out = (folder.path() / ("printed-" + std::to_string(++printed) + ".pdf")).string();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(out));
        printer.setPageSize(QPageSize(QPageSize::A4));
        if (!app::PrintDocumentLine(printer, maker, *file, line)) {
            EXPECT_FALSE(fs::exists(out)) << "printed although nothing was to be printed";
            return std::nullopt;
        }
        QPdfDocument document;
        EXPECT_EQ(document.load(QString::fromStdString(out)), QPdfDocument::Error::None) << out;
        std::vector<QSizeF> sizes;
        for (int page = 0; page < document.pageCount(); ++page) sizes.push_back(document.pagePointSize(page));
        return sizes;
    }
    const player::PresentationLine& line(int n) { return file->lines().at(n); }

    std::string path;
    std::shared_ptr<automation::excel::Application> excel;
    std::unique_ptr<player::PresentationFile> file;
    int printed = 0;
};

bool portrait(const QSizeF& size) { return size.height() > size.width(); }

TEST_F(DocumentPrintingTest, APdfLinePrintsItsPagesWithoutLayoutEngine) {
    app::LibreOfficePdfMaker maker(ctx, "");
    const auto handout = print(maker, line(3));
    ASSERT_TRUE(handout);
    ASSERT_EQ(handout->size(), 3u);
    for (const QSizeF& size : *handout) EXPECT_TRUE(portrait(size)) << size.width() << "x" << size.height();

    // Documents need the layout engine: nothing printed without it.
    EXPECT_FALSE(print(maker, line(0)));
    EXPECT_FALSE(print(maker, line(1)));
}

TEST_F(DocumentPrintingTest, TheRangeOfAWordAndAPowerPointLineIsPrinted) {
    const std::string soffice = libreOffice();
    if (soffice.empty()) GTEST_SKIP() << "SKIPPED: LibreOffice (soffice) is not installed";
    app::LibreOfficePdfMaker maker(ctx, soffice);
    const auto report = print(maker, line(0));  // pages 2 to 3
    ASSERT_TRUE(report);
    ASSERT_EQ(report->size(), 2u);
    EXPECT_TRUE(portrait(report->front()));

    const auto deck = print(maker, line(1));  // slides 2 to 6, across the paper
    ASSERT_TRUE(deck);
    ASSERT_EQ(deck->size(), 5u);
    for (const QSizeF& size : *deck) EXPECT_FALSE(portrait(size)) << size.width() << "x" << size.height();
}

}  // namespace
}  // namespace docstest
