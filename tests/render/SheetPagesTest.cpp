// A shown sheet printed to PDF pages as its page setup says, read back with
// Qt PDF: how many pages, their size, and the cells' texts page by page, in
// order, no row cut between two pages.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPdfWriter>
#include <QRegularExpression>

#include "office/XlsFile.h"
#include "office/format/ShownSheet.h"
#include "office/model/WorkbookModel.h"
#include "render/GuiApplication.h"
#include "render/SheetPages.h"
#include "support/TestSupport.h"

namespace {

// `rows` x `columns` cells "R<row>C<column>", 12.75 points high, 60 wide.
office::ShownSheet grid(std::uint32_t rows, std::uint32_t columns) {
    office::ShownSheet sheet;
    sheet.columnWidths.assign(columns, 60);
    sheet.rowHeights.assign(rows, 12.75);
    for (std::uint32_t r = 1; r <= rows; ++r)
        for (std::uint32_t c = 1; c <= columns; ++c) {
            office::ShownCell cell;
            cell.row = r;
            cell.column = c;
            cell.fontName = "Arial";
            cell.text = "R" + std::to_string(r) + "C" + std::to_string(c);
            sheet.cells.push_back(cell);
        }
    return sheet;
}

struct Printed {
    int painted = 0;
    std::vector<QString> texts;  // page by page
    std::vector<QSizeF> sizes;   // points
    std::vector<QRectF> boxes;   // the texts' bounds, points
};

class SheetPages : public ::testing::Test {
protected:
    void SetUp() override { render::ensureGuiApplication(); }

    Printed print(const office::ShownSheet& sheet, const office::PageSetup& setup) {
        const QString path = QString::fromStdString((folder.path() / "sheet.pdf").string());
        Printed out;
        {
            QPdfWriter writer(path);
            render::ApplyPageSetup(setup, writer);
            QPainter painter(&writer);
            out.painted = render::PaintSheetPages(sheet, setup, painter, writer);
        }
        QPdfDocument document;
        EXPECT_EQ(document.load(path), QPdfDocument::Error::None);
        for (int page = 0; page < document.pageCount(); ++page) {
            const QPdfSelection all = document.getAllText(page);
            out.texts.push_back(all.text());
            out.sizes.push_back(document.pagePointSize(page));
            out.boxes.push_back(all.boundingRectangle());
        }
        return out;
    }

    testsupport::TempFolder folder{"tavolex-sheet-pages"};
};

// The cells a page's text shows, in order. The text is read without its
// blanks: the reader breaks landscape pages after every letter.
std::vector<std::pair<int, int>> cellsOn(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    std::vector<std::pair<int, int>> cells;
    const QRegularExpression cell(QStringLiteral("R(\\d+)C(\\d+)"));
    for (auto it = cell.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        cells.emplace_back(match.captured(1).toInt(), match.captured(2).toInt());
    }
    return cells;
}

bool shows(const QString& text, int row, int column) {
    const auto cells = cellsOn(text);
    return std::find(cells.begin(), cells.end(), std::pair{row, column}) != cells.end();
}

// The rows whose first cell a page shows, in order.
std::vector<int> rowsOn(const QString& text) {
    std::vector<int> rows;
    for (const auto& [row, column] : cellsOn(text))
        if (column == 1) rows.push_back(row);
    return rows;
}

TEST_F(SheetPages, AtFullSizeALongSheetRunsOverPagesCutBetweenRows) {
    office::PageSetup setup;  // A4 portrait, 100 %, margins of 1 inch top and bottom
    setup.paperSize = 9;
    const Printed printed = print(grid(200, 3), setup);
    // 841.9 points of paper less two inches of margins hold 54 rows of 12.75.
    const int perPage = static_cast<int>((841.89 - 144) / 12.75);
    const int expected = (200 + perPage - 1) / perPage;
    ASSERT_EQ(printed.painted, expected);
    ASSERT_EQ(static_cast<int>(printed.texts.size()), expected);
    int next = 1;
    for (std::size_t page = 0; page < printed.texts.size(); ++page) {
        const std::vector<int> rows = rowsOn(printed.texts[page]);
        ASSERT_FALSE(rows.empty()) << "page " << page + 1;
        for (int row : rows) EXPECT_EQ(row, next++) << "page " << page + 1;
        EXPECT_TRUE(shows(printed.texts[page], rows.back(), 3));
        EXPECT_LE(static_cast<int>(rows.size()), perPage);
        EXPECT_NEAR(printed.sizes[page].width(), 595.3, 1);
    }
    EXPECT_EQ(next, 201);
}

TEST_F(SheetPages, FittingShrinksToThePagesAsked) {
    office::PageSetup setup;
    setup.fitToPages = true;
    for (auto [wide, tall, pages] : {std::tuple{1, 1, 1}, {1, 2, 2}, {1, 0, 2}}) {
        setup.fitWidth = static_cast<std::uint16_t>(wide);
        setup.fitHeight = static_cast<std::uint16_t>(tall);
        // 15 columns of 60 points need two pages across at full size.
        const Printed printed = print(grid(120, 15), setup);
        EXPECT_EQ(printed.painted, pages) << wide << "x" << tall;
        ASSERT_EQ(static_cast<int>(printed.texts.size()), pages);
        QString all;
        for (const QString& text : printed.texts) all += text + QLatin1Char('\n');
        std::vector<int> rows = rowsOn(all);
        ASSERT_EQ(rows.size(), 120u) << wide << "x" << tall;
        for (int row = 1; row <= 120; ++row) EXPECT_EQ(rows[row - 1], row);
        EXPECT_TRUE(shows(all, 120, 15));
    }
    // Fitting never enlarges: a small sheet stays as it is on its one page.
    setup.fitWidth = setup.fitHeight = 1;
    const Printed small = print(grid(2, 2), setup);
    EXPECT_EQ(small.painted, 1);
    EXPECT_LT(small.boxes[0].width(), 130);
}

TEST_F(SheetPages, PageOrderPaperOrientationAndCentring) {
    office::PageSetup setup;
    setup.paperSize = 1;  // Letter
    setup.landscape = true;
    // 20 columns of 60 points: two pages across on 9.5 inches of room.
    const office::ShownSheet wide = grid(60, 20);
    const Printed down = print(wide, setup);
    ASSERT_EQ(down.painted, 4);
    EXPECT_NEAR(down.sizes[0].width(), 792, 1);
    EXPECT_NEAR(down.sizes[0].height(), 612, 1);
    // Down, then over: the second page continues the rows of the first columns.
    EXPECT_TRUE(shows(down.texts[1], 60, 1));
    EXPECT_FALSE(shows(down.texts[1], 1, 1));
    setup.overThenDown = true;
    const Printed over = print(wide, setup);
    ASSERT_EQ(over.painted, 4);
    EXPECT_TRUE(shows(over.texts[1], 1, 20));
    EXPECT_FALSE(shows(over.texts[1], 1, 1));

    // Centred across the page: as much room on the left as on the right.
    office::PageSetup centred;
    centred.centerHorizontally = true;
    const Printed one = print(grid(3, 2), centred);
    ASSERT_EQ(one.painted, 1);
    const QRectF box = one.boxes[0];
    EXPECT_NEAR(box.left(), one.sizes[0].width() - box.right(), 40);
    EXPECT_GT(box.left(), 200);
}

TEST_F(SheetPages, AnEmptySheetIsOneBlankPage) {
    const Printed printed = print(office::ShownSheet{}, office::PageSetup{});
    EXPECT_EQ(printed.painted, 1);
    ASSERT_EQ(printed.texts.size(), 1u);
    EXPECT_TRUE(printed.texts[0].trimmed().isEmpty());
}

TEST_F(SheetPages, TheFormattedSampleOnItsOwnPageSetup) {
    const office::WorkbookModel model = office::readXlsFile(testsupport::testData("formatted.xls").string(), "");
    const office::SheetModel* report = nullptr;
    for (const auto& sheet : model.sheets)
        if (sheet.name == "Report") report = &sheet;
    ASSERT_TRUE(report);
    const Printed printed = print(office::ShowSheet(model, *report), report->pageSetup);
    ASSERT_EQ(printed.painted, 1);
    const QString text = printed.texts[0];
    // The shown texts in reading order; the hidden row is not printed.
    qsizetype at = 0;
    for (const char* shown : {"Quarterly report", "Region", "Share", "North", "1,250.50 €", "35.0%", "Total",
                              "3,525.90 €", "100.0%", "Date", "09/12/2025"}) {
        const qsizetype found = text.indexOf(QString::fromUtf8(shown), at);
        EXPECT_GE(found, at) << shown << " in " << text.toStdString();
        if (found >= 0) at = found;
    }
    EXPECT_FALSE(text.contains(QStringLiteral("Hidden row")));
}

}  // namespace
