// The sheet transfer end to end with real chart pictures: the engine reads
// each chart (values from the source's cells, colours from its palette) and
// the Qt picture maker draws it; the Presentation then holds pictures that
// are as large as the charts were and show their colours and titles.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <filesystem>

#include "builder/SheetTransfer.h"
#include "office/ChartSamples.h"
#include "office/XlsFile.h"
#include "office/engine/EngineApplication.h"
#include "office/engine/EngineWorkbook.h"
#include "office/engine/SheetGeometry.h"
#include "parts/PartsFixture.h"
#include "render/QtPictureMaker.h"

namespace {

using automation::chart::Rgb;

class ChartTransferTest : public partstest::PartsTest {
protected:
    void SetUp() override {
        windows.autoAcknowledge = true;
        ctx.state.ExcelApp = objects.CreateExcel();
        engine().pictures = std::make_shared<render::QtPictureMaker>();
        presentation = ctx.state.ExcelApp->GetWorkbooks().Add();
        presentation->WorksheetAt(1)->SetName("START");
    }

    office::engine::ApplicationState& engine() {
        return *dynamic_cast<office::engine::EngineApplication&>(*ctx.state.ExcelApp).state();
    }
    office::WorkbookModel& model() {
        return dynamic_cast<office::engine::EngineWorkbook&>(*presentation).core()->model;
    }

    int transfer(const std::filesystem::path& file, const std::string& input, const std::string& output) {
        const auto before = testsupport::readFileBytes(file);
        int status = -1;
        builder::TransferSheet(ctx, *presentation, file.string(), input, output, "charts", status);
        EXPECT_EQ(testsupport::readFileBytes(file), before);
        return status;
    }

    QImage pictureOf(const office::DrawingObject& object) {
        EXPECT_EQ(object.kind, office::DrawingKind::Picture);
        const auto png = model().pictures.at(object.picture - 1).imageBytes();
        QImage image = QImage::fromData(png.data(), static_cast<int>(png.size()), "PNG");
        EXPECT_FALSE(image.isNull());
        return image.convertToFormat(QImage::Format_ARGB32);
    }

    std::shared_ptr<automation::excel::Workbook> presentation;
};

int pixelsOf(const QImage& image, Rgb rgb) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == rgb) ++n;
    return n;
}

int darkPixels(const QImage& image, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128 && qGray(image.pixel(x, y)) < 100) ++n;
    return n;
}

int pixelsFor(double points) {
    return static_cast<int>(std::lround(points * render::QtPictureMaker::kDotsPerInch / 72));
}

TEST_F(ChartTransferTest, ThePieAndLineChartsBecomePicturesOfTheirSizeColoursAndTitle) {
    const auto file = folder.path() / "formatted.xls";
    std::filesystem::copy_file(testsupport::testData("formatted.xls"), file);
    ASSERT_EQ(transfer(file, "Report", "Report"), 0);
    EXPECT_TRUE(windows.messages().empty());

    const auto charts = charttest::loadCharts(testsupport::testData("formatted.xls"));
    ASSERT_EQ(charts.charts.size(), 2u);
    const office::SheetModel& source = charts.model.sheets.at(0);
    const office::SheetModel& sheet = model().sheets.at(1);
    ASSERT_EQ(sheet.drawings.size(), 2u);
    std::vector<const office::DrawingObject*> sourceCharts;
    for (const auto& object : source.drawings)
        if (object.kind == office::DrawingKind::Chart) sourceCharts.push_back(&object);
    ASSERT_EQ(sourceCharts.size(), 2u);

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i == 0 ? "pie" : "line");
        const QImage image = pictureOf(sheet.drawings[i]);
        const auto chartRect = office::engine::anchorRect(source, sourceCharts[i]->anchor);
        EXPECT_EQ(image.width(), pixelsFor(chartRect.width));
        EXPECT_EQ(image.height(), pixelsFor(chartRect.height));
        const auto chart = charts.readAndFill(charts.charts[i]);
        if (i == 0) {
            ASSERT_EQ(chart.series.front().pointFills.size(), 4u);
            for (Rgb slice : chart.series.front().pointFills) EXPECT_GT(pixelsOf(image, slice), 500) << std::hex << slice;
        } else {
            for (const auto& series : chart.series) EXPECT_GT(pixelsOf(image, series.line.color), 100);
            const QRect titleBand(image.width() / 5, 0, image.width() * 3 / 5, image.height() / 8);
            EXPECT_GT(darkPixels(image, titleBand), 50) << "the title is drawn";
        }
    }
}

TEST_F(ChartTransferTest, AChartWithoutCachedValuesDrawsFromTheSourceCells) {
    // LibreOffice keeps no values in its charts: the copy must still draw
    // them from the source workbook's cells, which the Presentation lacks.
    const auto file = folder.path() / "budget.xls";
    std::filesystem::copy_file(testsupport::testData("budget.xls"), file);
    ASSERT_EQ(transfer(file, "Data", "Budget"), 0);
    const auto charts = charttest::loadCharts(testsupport::testData("budget.xls"));
    ASSERT_FALSE(charts.charts.empty());
    const auto chart = charts.readAndFill(charts.charts[0]);
    ASSERT_FALSE(chart.series.empty());
    const auto& values = chart.series.front().values;
    EXPECT_TRUE(std::any_of(values.begin(), values.end(), [](const auto& v) { return v.has_value(); }));
    const office::SheetModel& sheet = model().sheets.at(1);
    ASSERT_EQ(sheet.drawings.size(), 1u);
    const QImage image = pictureOf(sheet.drawings[0]);
    const auto& first = chart.series.front();
    const Rgb color = chart.kind == automation::chart::Kind::Line ? first.line.color : first.fill;
    EXPECT_GT(pixelsOf(image, color), 100) << std::hex << color;
}

TEST_F(ChartTransferTest, AnExcelChartSheetArrivesAsItsPictureAtA3) {
    const auto reference = testsupport::sharedSample("reference/tika_testEXCEL-charts.xls");
    if (!std::filesystem::exists(reference)) GTEST_SKIP() << "shared reference files absent";
    const auto file = folder.path() / "charts.xls";
    std::filesystem::copy_file(reference, file);
    ASSERT_EQ(transfer(file, "CHARTTABYODAWG", "Chart sheet"), 0);
    const office::SheetModel& sheet = model().sheets.at(1);
    EXPECT_EQ(sheet.name, "Chart sheet");
    ASSERT_EQ(sheet.drawings.size(), 1u);
    EXPECT_EQ(sheet.drawings[0].anchor.fromRow, 3u);
    EXPECT_EQ(sheet.drawings[0].anchor.fromColumn, 1u);
    const QImage image = pictureOf(sheet.drawings[0]);
    // The chart sheet's chart is 683 x 467 points.
    EXPECT_EQ(image.width(), pixelsFor(683.04));
    EXPECT_EQ(image.height(), pixelsFor(467.04));
    EXPECT_EQ(sheet.window.zoom, 85);
    // The embedded chart of the other sheet arrives as a picture too.
    ASSERT_EQ(transfer(file, "Sheet1", "Embedded"), 0);
    const office::SheetModel& embedded = model().sheets.at(1);
    ASSERT_EQ(embedded.drawings.size(), 1u);
    EXPECT_EQ(embedded.drawings[0].kind, office::DrawingKind::Picture);
}

}  // namespace
