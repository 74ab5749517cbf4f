// The formatted sample and the frozen copy our build makes of it, as the
// player's view shows them: the copy shows what the source shows (texts,
// fonts, fills, borders, merged areas, sizes), its charts come back as
// pictures where the charts were, and the painter puts borders, fills and
// pictures on the right pixels, with no gridlines.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPdfWriter>

#include "office/XlsFile.h"
#include "office/format/ShownSheet.h"
#include "office/model/WorkbookModel.h"
#include "player/PlayerFixture.h"
#include "render/GuiApplication.h"
#include "render/SheetPages.h"
#include "render/SheetPainter.h"

namespace {

using office::BorderStyle;

const office::SheetModel& sheetOf(const office::WorkbookModel& model, const std::string& name) {
    for (const auto& sheet : model.sheets)
        if (sheet.name == name) return sheet;
    throw std::runtime_error("no sheet " + name);
}

const office::ShownCell& at(const office::ShownSheet& shown, std::uint32_t row, std::uint32_t column) {
    for (const auto& cell : shown.cells)
        if (cell.row == row && cell.column == column) return cell;
    throw std::runtime_error("no shown cell " + std::to_string(row) + "," + std::to_string(column));
}

class FrozenSheetView : public playertest::PlayerTest {
protected:
    void SetUp() override {
        render::ensureGuiApplication();
        source = office::readXlsFile(sample("formatted.xls"), "");
        const std::string presentation = buildPresentation(
            {{1, "Report", "", "Quarterly report", (folder.path() / "formatted.xls").string(), "Report", "Report", "",
              {}, {}, 100}},
            "Report", "1");
        frozen = office::readXlsFile(presentation, "");
        original = office::ShowSheet(source, sheetOf(source, "Report"));
        shown = office::ShowSheet(frozen, sheetOf(frozen, "Report"));
    }

    office::WorkbookModel source, frozen;
    office::ShownSheet original, shown;
};

TEST_F(FrozenSheetView, TheCopyShowsWhatTheSourceShows) {
    ASSERT_EQ(shown.cells.size(), original.cells.size());
    for (std::size_t k = 0; k < shown.cells.size(); ++k) {
        const office::ShownCell& a = original.cells[k];
        const office::ShownCell& b = shown.cells[k];
        SCOPED_TRACE("row " + std::to_string(a.row) + ", column " + std::to_string(a.column));
        EXPECT_EQ(b.row, a.row);
        EXPECT_EQ(b.column, a.column);
        EXPECT_EQ(b.text, a.text);
        EXPECT_EQ(b.rowSpan, a.rowSpan);
        EXPECT_EQ(b.columnSpan, a.columnSpan);
        EXPECT_EQ(b.fill, a.fill);
        EXPECT_EQ(b.fontName, a.fontName);
        EXPECT_EQ(b.fontPoints, a.fontPoints);
        EXPECT_EQ(b.bold, a.bold);
        EXPECT_EQ(b.color, a.color);
        EXPECT_EQ(b.align, a.align);
        EXPECT_EQ(b.valign, a.valign);
        EXPECT_EQ(b.wrap, a.wrap);
        EXPECT_EQ(b.left, a.left);
        EXPECT_EQ(b.right, a.right);
        EXPECT_EQ(b.top, a.top);
        EXPECT_EQ(b.bottom, a.bottom);
    }
    for (std::size_t column = 0; column < original.columnWidths.size(); ++column)
        EXPECT_NEAR(shown.columnWidths.at(column), original.columnWidths[column], 0.01) << column;
    for (std::size_t row = 0; row < original.rowHeights.size(); ++row)
        EXPECT_NEAR(shown.rowHeights.at(row), original.rowHeights[row], 0.01) << row;
}

TEST_F(FrozenSheetView, BordersWhereTheFilePutsThem) {
    // The table A2:D7 in thin grey lines, the Total row under a black one;
    // the rows below it and the title have none.
    for (std::uint32_t row = 2; row <= 7; ++row)
        for (std::uint32_t column = 1; column <= 4; ++column) {
            const office::ShownCell& cell = at(shown, row, column);
            SCOPED_TRACE("row " + std::to_string(row) + ", column " + std::to_string(column));
            for (const office::ShownLine* line : {&cell.left, &cell.right, &cell.bottom})
                EXPECT_EQ(line->style, BorderStyle::Thin);
            EXPECT_EQ(cell.left.color, 0x808080u);
            EXPECT_EQ(cell.top.style, BorderStyle::Thin);
            EXPECT_EQ(cell.top.color, row == 7 ? 0x000000u : 0x808080u);
        }
    for (std::uint32_t column = 1; column <= 2; ++column) {
        const office::ShownCell& date = at(shown, 9, column);
        EXPECT_EQ(date.top.style, BorderStyle::None);
        EXPECT_EQ(date.left.style, BorderStyle::None);
    }
    EXPECT_EQ(at(shown, 1, 1).bottom.style, BorderStyle::None);
    // The wrapped text is a merged area A10:D10, aligned at its bottom.
    EXPECT_EQ(at(shown, 10, 1).columnSpan, 4u);
    EXPECT_TRUE(at(shown, 10, 1).wrap);
    EXPECT_EQ(at(shown, 1, 1).valign, office::ShownCell::VAlign::Center);
}

TEST_F(FrozenSheetView, ChartsComeBackAsPicturesWhereTheChartsWere) {
    std::vector<const office::DrawingObject*> charts;
    for (const auto& object : sheetOf(source, "Report").drawings)
        if (object.kind == office::DrawingKind::Chart) charts.push_back(&object);
    ASSERT_EQ(charts.size(), 2u);
    EXPECT_TRUE(original.pictures.empty());  // a chart is no picture
    ASSERT_EQ(shown.pictures.size(), 2u);
    for (const office::ShownPicture& picture : shown.pictures) {
        // Pasted at the cell under the chart's top-left corner (the copy's
        // columns and rows are the source's, and reach as far as the pictures).
        bool found = false;
        for (const office::DrawingObject* chart : charts)
            found = found || (std::abs(picture.left - shown.columnLeft(chart->anchor.fromColumn)) < 0.01 &&
                              std::abs(picture.top - shown.rowTop(chart->anchor.fromRow)) < 0.01);
        EXPECT_TRUE(found) << picture.left << "," << picture.top;
        EXPECT_GT(picture.width, 100);
        EXPECT_GT(picture.height, 100);
        EXPECT_FALSE(QImage::fromData(picture.image.data(), static_cast<int>(picture.image.size())).isNull());
    }
    // The sheet reaches as far as its pictures.
    for (const office::ShownPicture& picture : shown.pictures) {
        EXPECT_LE(picture.left + picture.width, shown.width() + 0.01);
        EXPECT_LE(picture.top + picture.height, shown.height() + 0.01);
    }
}

TEST_F(FrozenSheetView, ThePainterPutsLinesFillsAndPicturesOnTheirPixels) {
    const render::SheetPainter painter(shown);
    constexpr double kScale = 2;  // pixels a point
    QImage image((painter.size() * kScale).toSize() + QSize(4, 4), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.scale(kScale, kScale);
        painter.paint(p, QRectF(QPointF(0, 0), painter.size()));
    }
    auto pixel = [&](double xPt, double yPt) {
        return image.pixel(static_cast<int>(xPt * kScale), static_cast<int>(yPt * kScale)) & 0xFFFFFFu;
    };
    auto mid = [](double a, double b) { return (a + b) / 2; };
    const double rowMid3 = mid(shown.rowTop(3), shown.rowTop(4));
    const double columnMid2 = mid(shown.columnLeft(2), shown.columnLeft(3));
    // Grey between A3 and B3, black over the Total row, nothing between A9 and B9.
    EXPECT_EQ(pixel(shown.columnLeft(2), rowMid3), 0x808080u);
    EXPECT_EQ(pixel(columnMid2, shown.rowTop(7)), 0x000000u);
    EXPECT_EQ(pixel(shown.columnLeft(2), mid(shown.rowTop(9), shown.rowTop(10))), 0xFFFFFFu);
    // The title's fill in the corner of its merged area, away from its text.
    EXPECT_EQ(pixel(shown.columnLeft(1) + 2, shown.rowTop(1) + 2), *at(shown, 1, 1).fill);
    EXPECT_EQ(pixel(shown.columnLeft(5) - 2, shown.rowTop(1) + 2), *at(shown, 1, 1).fill);
    // Each picture covers its place with the picture's own colour.
    for (const office::ShownPicture& picture : shown.pictures) {
        const QImage own = QImage::fromData(picture.image.data(), static_cast<int>(picture.image.size()));
        EXPECT_EQ(pixel(picture.left + picture.width / 2, picture.top + picture.height / 2), own.pixel(0, 0) & 0xFFFFFFu);
    }
}

TEST_F(FrozenSheetView, TheCopyPrintsOnThePageSetupTheBuildWrote) {
    const office::PageSetup& setup = sheetOf(frozen, "Report").pageSetup;
    EXPECT_EQ(setup, sheetOf(source, "Report").pageSetup);
    const QString path = QString::fromStdString((folder.path() / "printed.pdf").string());
    int painted = 0;
    {
        QPdfWriter writer(path);
        render::ApplyPageSetup(setup, writer);
        QPainter painter(&writer);
        painted = render::PaintSheetPages(shown, setup, painter, writer);
    }
    QPdfDocument document;
    ASSERT_EQ(document.load(path), QPdfDocument::Error::None);
    ASSERT_EQ(document.pageCount(), painted);
    QString text;
    for (int page = 0; page < document.pageCount(); ++page) text += document.getAllText(page).text() + "\n";
    qsizetype from = 0;
    for (const office::ShownCell& cell : shown.cells) {
        if (cell.text.empty() || shown.rowHeights[cell.row - 1] == 0 || cell.wrap) continue;
        const qsizetype found = text.indexOf(QString::fromStdString(cell.text), from);
        EXPECT_GE(found, from) << cell.text;
        if (found >= 0) from = found;
    }
}

}  // namespace
