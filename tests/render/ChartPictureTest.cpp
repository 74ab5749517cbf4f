// The pictures themselves: charts of the samples read by the engine and
// drawn by the picture maker, looked at pixel by pixel. This test program
// makes no QApplication of its own, as a batch build would not: the picture
// maker makes one on the offscreen platform.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "automation/AutomationError.h"
#include "office/ChartSamples.h"
#include "render/QtPictureMaker.h"
#include "support/TestSupport.h"

namespace {

using automation::Picture;
using automation::chart::Chart;
using automation::chart::Grouping;
using automation::chart::Kind;
using automation::chart::Rgb;

QImage decode(const Picture& picture) {
    QImage image = QImage::fromData(picture.png.data(), static_cast<int>(picture.png.size()), "PNG");
    EXPECT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), picture.widthPx);
    EXPECT_EQ(image.height(), picture.heightPx);
    return image.convertToFormat(QImage::Format_ARGB32);
}

int pixelsOf(const QImage& image, Rgb rgb, QRect area = {}) {
    if (area.isNull()) area = image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == rgb && qAlpha(image.pixel(x, y)) == 255) ++n;
    return n;
}

// Pixels clearly darker than the light backgrounds: text and lines.
int darkPixels(const QImage& image, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128 && qGray(image.pixel(x, y)) < 100) ++n;
    return n;
}

int pixelsFor(double points) { return static_cast<int>(std::lround(points * render::QtPictureMaker::kDotsPerInch / 72)); }

charttest::WorkbookCharts formatted() { return charttest::loadCharts(testsupport::testData("formatted.xls")); }

class ChartPicture : public ::testing::Test {
protected:
    render::QtPictureMaker maker;
};

TEST_F(ChartPicture, PieOfFourSlicesShowsItsFourColours) {
    const auto workbook = formatted();
    const Chart pie = workbook.readAndFill(workbook.charts[0]);
    const Picture picture = maker.chartPicture(pie, 255, 170);
    EXPECT_EQ(picture.widthPx, pixelsFor(255));
    EXPECT_EQ(picture.heightPx, pixelsFor(170));
    const QImage image = decode(picture);
    ASSERT_EQ(pie.series.front().pointFills.size(), 4u);
    for (Rgb slice : pie.series.front().pointFills) EXPECT_GT(pixelsOf(image, slice), 500) << std::hex << slice;
    // A bigger slice covers more of the picture.
    EXPECT_GT(pixelsOf(image, 0x004586), pixelsOf(image, 0xFFD320));
}

TEST_F(ChartPicture, LineChartShowsItsSeriesColoursAndTitle) {
    const auto workbook = formatted();
    Chart line = workbook.readAndFill(workbook.charts[1]);
    const QImage image = decode(maker.chartPicture(line, 255, 170));
    EXPECT_EQ(image.size(), QSize(pixelsFor(255), pixelsFor(170)));
    EXPECT_GT(pixelsOf(image, 0x004586), 100);
    EXPECT_GT(pixelsOf(image, 0xFF420E), 100);
    // The title sits at the top, across the middle.
    const QRect titleBand(image.width() / 5, 0, image.width() * 3 / 5, image.height() / 8);
    EXPECT_GT(darkPixels(image, titleBand), 50);
    line.title.reset();
    EXPECT_EQ(darkPixels(decode(maker.chartPicture(line, 255, 170)), titleBand), 0);
}

TEST_F(ChartPicture, EveryChartOfTheSamplesIsDrawnInItsColours) {
    for (const char* file : {"budget.xls", "formatted.xls", "reference/tika_testEXCEL-charts.xls",
                             "reference/poi_SimpleScatterChart.xls", "reference/poi_ex42570-20305.xls"}) {
        const auto path = testsupport::sharedSample(file);
        if (!std::filesystem::exists(path)) continue;
        const auto workbook = charttest::loadCharts(path);
        for (const auto& found : workbook.charts) {
            SCOPED_TRACE(std::string(file) + " " + found.sheet);
            const Chart chart = workbook.readAndFill(found);
            const QImage image = decode(maker.chartPicture(chart, 360, 216));
            EXPECT_EQ(image.size(), QSize(pixelsFor(360), pixelsFor(216)));
            const auto& first = chart.series.front();
            const Rgb color = chart.kind == Kind::Line      ? first.line.color
                              : chart.kind == Kind::Scatter ? first.marker.fill
                                                            : first.fill;
            // Some points of one sample lie beyond the axis its chart fixes:
            // the legend's marker shows the colour then.
            EXPECT_GT(pixelsOf(image, color), 8) << std::hex << color;
        }
    }
}

Chart twoSeries(Kind kind, Grouping grouping) {
    Chart chart;
    chart.kind = kind;
    chart.grouping = grouping;
    chart.legend.shown = true;
    chart.categoryAxis.present = chart.valueAxis.present = true;
    const Rgb colors[] = {0x3366FF, 0xFF9900};
    for (int i = 0; i < 2; ++i) {
        auto& s = chart.series.emplace_back();
        s.kind = kind;
        s.name.text = i == 0 ? "North" : "South";
        s.values = {10.0 + i, std::nullopt, 30.0, 25.0 - 10 * i};
        s.categories = {"Q1", "Q2", "Q3", "Q4"};
        s.fill = colors[i];
        s.line.color = colors[i];
        s.line.widthPt = 2;
        s.marker.shape = automation::chart::Marker::Shape::Square;
        s.marker.fill = s.marker.border = colors[i];
    }
    return chart;
}

TEST_F(ChartPicture, StackedAndPercentFormsOfEveryKindShowEachSeries) {
    for (Kind kind : {Kind::Column, Kind::Bar, Kind::Line, Kind::Area})
        for (Grouping grouping : {Grouping::Standard, Grouping::Stacked, Grouping::PercentStacked}) {
            SCOPED_TRACE(static_cast<int>(kind) * 10 + static_cast<int>(grouping));
            const QImage image = decode(maker.chartPicture(twoSeries(kind, grouping), 300, 200));
            EXPECT_GT(pixelsOf(image, 0x3366FF), 100);
            EXPECT_GT(pixelsOf(image, 0xFF9900), 100);
        }
    Chart scatter = twoSeries(Kind::Scatter, Grouping::Standard);
    scatter.series[1].line.visible = false;  // markers only
    const QImage image = decode(maker.chartPicture(scatter, 300, 200));
    EXPECT_GT(pixelsOf(image, 0x3366FF), 100);
    EXPECT_GT(pixelsOf(image, 0xFF9900), 20);

    Chart doughnut = twoSeries(Kind::Pie, Grouping::Standard);
    doughnut.holePercent = 50;
    doughnut.series[0].pointFills = {0x3366FF, 0x00AA00, 0xAA00AA, 0x00AAAA};
    const QImage rings = decode(maker.chartPicture(doughnut, 300, 200));
    EXPECT_GT(pixelsOf(rings, 0xAA00AA), 100);  // the inner ring's slices
    EXPECT_GT(pixelsOf(rings, 0xFF9900), 100);  // the outer ring, one colour
    const QPoint centre(rings.width() / 2 - (doughnut.legend.shown ? 40 : 0), rings.height() / 2);
    EXPECT_EQ(qAlpha(rings.pixel(centre)) == 255 ? (rings.pixel(centre) & 0xFFFFFF) : 0xFFFFFFu, 0xFFFFFFu);
}

TEST_F(ChartPicture, KindsWeDoNotDrawGiveAFramedPlaceholderWithTheTitle) {
    Chart radar = twoSeries(Kind::Unknown, Grouping::Standard);
    radar.title = automation::chart::Label{"Sales by region", {}};
    const QImage image = decode(maker.chartPicture(radar, 200, 120));
    EXPECT_EQ(image.size(), QSize(pixelsFor(200), pixelsFor(120)));
    EXPECT_EQ(pixelsOf(image, 0x3366FF), 0);
    // The frame runs round the edge, the title below the middle.
    EXPECT_GT(darkPixels(image, QRect(0, image.height() / 2 - 2, 3, 4)) +
                  pixelsOf(image, 0x808080, QRect(0, 0, image.width(), 2)), 0);
    EXPECT_GT(darkPixels(image, QRect(0, image.height() / 2, image.width(), image.height() / 2)), 50);

    // A chart whose values could not be found is not drawn empty either.
    Chart empty = twoSeries(Kind::Column, Grouping::Standard);
    for (auto& s : empty.series) s.values.assign(4, std::nullopt);
    const QImage placeholder = decode(maker.chartPicture(empty, 200, 120));
    EXPECT_EQ(pixelsOf(placeholder, 0x3366FF), 0);
    EXPECT_GT(pixelsOf(placeholder, 0x808080, QRect(0, 0, placeholder.width(), 2)), 0);
}

TEST_F(ChartPicture, SizesThatCannotBeDrawnAreRefused) {
    const Chart chart = twoSeries(Kind::Column, Grouping::Standard);
    for (auto [w, h] : {std::pair{0.0, 100.0}, {100.0, -5.0}, {5000.0, 100.0}, {NAN, 100.0}}) {
        try {
            maker.chartPicture(chart, w, h);
            ADD_FAILURE() << w << " x " << h;
        } catch (const automation::AutomationError& e) {
            EXPECT_EQ(e.number(), 1004);
        }
    }
}

}  // namespace
