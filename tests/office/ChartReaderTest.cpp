// The chart reader over real workbooks: LibreOffice's (no cached values: the
// series are filled from the cells) and Excel's (chart sheets, embedded
// charts, cached values). The facts were checked with LibreOffice's own
// import of the same files (tests/external/chart_pictures.sh prints them).
#include <gtest/gtest.h>

#include <optional>

#include "automation/AutomationError.h"
#include "office/ChartSamples.h"
#include "office/chart/ChartData.h"
#include "office/chart/ChartReader.h"
#include "support/TestSupport.h"

namespace {

using automation::chart::Chart;
using automation::chart::Kind;
using automation::chart::Rgb;

struct SeriesFacts {
    std::string name;
    std::vector<double> values;  // the first points, when the test names them
    std::size_t points = 0;
    std::optional<Rgb> color;    // fill of bars and slices' series, line of line series, marker of scatter
};

struct ChartFacts {
    std::string file;
    std::size_t index = 0;  // among the workbook's charts, in sheet order
    std::string sheet;
    bool chartSheet = false;
    Kind kind = Kind::Unknown;
    std::string title;      // "" for none
    bool legend = false;
    std::vector<SeriesFacts> series;
    std::vector<std::string> categories;  // of the first series, when named
    std::vector<Rgb> sliceColors;         // pies
    bool cached = true;                   // the chart records carry the values
};

std::string describe(const ChartFacts& f) { return f.file + " #" + std::to_string(f.index); }

const std::vector<ChartFacts>& sampleCharts() {
    static const std::vector<ChartFacts> facts = {
        {"budget.xls", 0, "Data", false, Kind::Column, "", false,
         {{"Income", {1200, 1350, 1100, 1500}, 4, 0x004586}, {"Costs", {800, 900, 950, 700}, 4, 0xFF420E}},
         {"Jan", "Feb", "Mar", "Apr"}, {}, false},
        {"formatted.xls", 0, "Report", false, Kind::Pie, "", false,
         {{"Q1", {1250.5, 980, 640.4, 655}, 4, 0x004586}},
         {"North", "South", "East", "West"}, {0x004586, 0xFF420E, 0xFFD320, 0x579D1C}, false},
        {"formatted.xls", 1, "Report", false, Kind::Line, "Q1 against Q2", false,
         {{"Q1", {1250.5, 980, 640.4, 655}, 4, 0x004586}, {"Q2", {1400.25, 1010.75, 700, 690.1}, 4, 0xFF420E}},
         {"North", "South", "East", "West"}, {}, false},
        {"reference/tika_testEXCEL-charts.xls", 0, "charttabyodawg", true, Kind::Pie, "WhamPuff", true,
         {{"WhamPuff", {9, 5, 16}, 3, 0x9999FF}}, {}, {0x9999FF, 0x993366, 0xFFFFCC}, true},
        {"reference/tika_testEXCEL-charts.xls", 1, "Sheet1", false, Kind::Column, "fizzlepuff", true,
         {{"YottaPuff", {1, 2, 300}, 3, 0x9999FF}}, {}, {}, true},
        {"reference/poi_SimpleScatterChart.xls", 0, "Sheet1", false, Kind::Scatter, "Y", true,
         {{"Y", {0.5, 1.5}, 2, 0x33CCCC}}, {"0", "1"}, {}, false},
        {"reference/poi_SimpleScatterChart.xls", 1, "Chart1", true, Kind::Scatter, "Y", true,
         {{"Y", {0.5, 1.5}, 2, 0x33CCCC}}, {"0", "1"}, {}, true},
        {"reference/poi_ex42570-20305.xls", 0, "Chart", true, Kind::Scatter, "", true,
         {{"H-1", {1, 2, 3}, 365, 0x000080}, {"H-2", {1}, 1, std::nullopt}}, {}, {}, true},
    };
    return facts;
}

Rgb seriesColor(const automation::chart::Series& s) {
    if (s.kind == Kind::Line) return s.line.color;
    if (s.kind == Kind::Scatter) return s.marker.fill;
    return s.fill;
}

void expectSeries(const Chart& chart, const ChartFacts& f, bool valuesKnown) {
    ASSERT_EQ(chart.series.size(), f.series.size());
    for (std::size_t i = 0; i < f.series.size(); ++i) {
        const auto& s = chart.series[i];
        const SeriesFacts& want = f.series[i];
        SCOPED_TRACE("series " + want.name);
        EXPECT_EQ(s.name.text, want.name);
        EXPECT_EQ(s.kind, f.kind);
        ASSERT_EQ(s.values.size(), want.points);
        for (std::size_t p = 0; p < want.values.size(); ++p) {
            if (!valuesKnown) {
                EXPECT_FALSE(s.values[p].has_value());
                continue;
            }
            ASSERT_TRUE(s.values[p].has_value()) << "point " << p;
            EXPECT_DOUBLE_EQ(*s.values[p], want.values[p]) << "point " << p;
        }
        if (want.color) {
            EXPECT_EQ(seriesColor(s), *want.color);
        }
    }
    if (valuesKnown && !f.categories.empty()) {
        EXPECT_EQ(chart.series.front().categories, f.categories);
    }
    if (!f.sliceColors.empty()) {
        EXPECT_EQ(chart.series.front().pointFills, f.sliceColors);
    }
}

class ChartSampleTest : public ::testing::TestWithParam<ChartFacts> {};

TEST_P(ChartSampleTest, ReadsWhatTheFileHolds) {
    const ChartFacts& f = GetParam();
    const auto path = testsupport::sharedSample(f.file);
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not there";
    const auto workbook = charttest::loadCharts(path);
    ASSERT_GT(workbook.charts.size(), f.index);
    const auto& found = workbook.charts[f.index];
    EXPECT_EQ(found.sheet, f.sheet);
    EXPECT_EQ(found.chartSheet, f.chartSheet);

    // As the records give it: the cache, where the writer left one.
    const Chart read = workbook.read(found);
    EXPECT_EQ(read.kind, f.kind);
    EXPECT_EQ(read.title ? read.title->text : "", f.title);
    EXPECT_EQ(read.legend.shown, f.legend);
    {
        SCOPED_TRACE("cached values");
        if (f.cached) expectSeries(read, f, true);
    }
    // Filled from the cells: LibreOffice's charts get their values, Excel's
    // cache agrees with the cells it was made from.
    const Chart filled = workbook.readAndFill(found);
    SCOPED_TRACE("filled from the cells");
    expectSeries(filled, f, true);
    EXPECT_EQ(filled.title ? filled.title->text : "", f.title);
}

INSTANTIATE_TEST_SUITE_P(Samples, ChartSampleTest, ::testing::ValuesIn(sampleCharts()),
                         [](const auto& info) {
                             std::string name = describe(info.param);
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(ChartReader, EveryChartOfTheSamplesIsFound) {
    const std::vector<std::pair<std::string, std::size_t>> counts = {
        {"budget.xls", 1}, {"protected.xls", 1}, {"formatted.xls", 2},
        {"reference/tika_testEXCEL-charts.xls", 2}, {"reference/poi_SimpleScatterChart.xls", 2},
        {"reference/poi_ex42570-20305.xls", 1}};
    for (const auto& [file, count] : counts) {
        const auto path = testsupport::sharedSample(file);
        if (!std::filesystem::exists(path)) continue;
        const auto workbook = charttest::loadCharts(path);
        EXPECT_EQ(workbook.charts.size(), count) << file;
        for (const auto& c : workbook.charts) EXPECT_NO_THROW(workbook.readAndFill(c)) << file;
    }
}

// The engine keeps each chart's substream in its model (the drawing objects
// of a sheet, a chart sheet's own); those are the charts this reader reads.
TEST(ChartReader, TheEngineKeepsTheChartsWeRead) {
    for (const char* file : {"budget.xls", "protected.xls", "formatted.xls", "reference/tika_testEXCEL-charts.xls",
                             "reference/poi_SimpleScatterChart.xls", "reference/poi_ex42570-20305.xls"}) {
        SCOPED_TRACE(file);
        const auto path = testsupport::sharedSample(file);
        if (!std::filesystem::exists(path)) continue;
        const auto workbook = charttest::loadCharts(path);
        std::vector<std::vector<std::uint8_t>> kept;
        for (const auto& sheet : workbook.model.sheets) {
            if (sheet.kind == office::SheetKind::Chart) kept.push_back(sheet.chartStream);
            for (const auto& object : sheet.drawings)
                if (object.kind == office::DrawingKind::Chart) kept.push_back(object.chartStream);
        }
        ASSERT_EQ(kept.size(), workbook.charts.size());
        for (std::size_t i = 0; i < kept.size(); ++i) {
            // The records after the BOF as they stand; the BOF a clear chart BOF
            // even where the writer encrypted it (LibreOffice does so with a password).
            const auto found = workbook.substream(workbook.charts[i]);
            constexpr std::size_t kBofEnd = 4 + 16;
            ASSERT_GT(kept[i].size(), kBofEnd);
            EXPECT_EQ(std::vector<std::uint8_t>(kept[i].begin() + kBofEnd, kept[i].end()),
                      std::vector<std::uint8_t>(found.begin() + kBofEnd, found.end())) << "chart " << i;
            EXPECT_EQ(std::vector<std::uint8_t>(kept[i].begin() + 4, kept[i].begin() + 8),
                      (std::vector<std::uint8_t>{0x00, 0x06, 0x20, 0x00})) << "chart " << i;
            EXPECT_NO_THROW(office::chart::readChart(kept[i], workbook.model.palette));
        }
        EXPECT_EQ(office::chart::externSheetTable(workbook.model.links), workbook.externSheets);
    }
}

TEST(ChartReader, AxesTitlesAndScales) {
    const auto path = testsupport::sharedSample("reference/tika_testEXCEL-charts.xls");
    if (!std::filesystem::exists(path)) GTEST_SKIP();
    auto workbook = charttest::loadCharts(path);
    const Chart column = workbook.read(workbook.charts[1]);
    ASSERT_TRUE(column.categoryAxis.title && column.valueAxis.title);
    EXPECT_EQ(column.categoryAxis.title->text, "eksaxis");
    EXPECT_EQ(column.valueAxis.title->text, "whyaxis");
    EXPECT_TRUE(column.valueAxis.majorGridlines);
    EXPECT_FALSE(column.valueAxis.min.has_value());
    EXPECT_EQ(column.plotArea.style, automation::chart::AreaFill::Style::Solid);
    EXPECT_EQ(column.plotArea.color, 0xC0C0C0u);
    // A chart sheet's size is its page's.
    const Chart pie = workbook.read(workbook.charts[0]);
    EXPECT_NEAR(pie.widthPt, 683.04, 0.01);
    EXPECT_FALSE(pie.categoryAxis.present);

    const auto scatterPath = testsupport::sharedSample("reference/poi_ex42570-20305.xls");
    if (!std::filesystem::exists(scatterPath)) return;
    workbook = charttest::loadCharts(scatterPath);
    const Chart scatter = workbook.read(workbook.charts[0]);
    ASSERT_TRUE(scatter.valueAxis.min && scatter.valueAxis.max);
    EXPECT_EQ(*scatter.valueAxis.min, 500);
    EXPECT_EQ(*scatter.valueAxis.max, 1200);
    EXPECT_EQ(scatter.valueAxis.numberFormat, "#,##0");
    EXPECT_FALSE(scatter.categoryAxis.min.has_value());
    EXPECT_EQ(scatter.categoryAxis.max.value_or(0), 90);
    // A series whose links point at deleted cells keeps its cached values.
    EXPECT_TRUE(scatter.series[1].valuesSource.empty());
    EXPECT_EQ(scatter.series[0].xValues.size(), 365u);
}

}  // namespace
