// Chart kinds and forms as other charts carry them (a real chart with its
// type record changed), and damaged charts: every cut and thousands of
// changed bytes end in a clear error or a chart, never in a crash or a hang.
#include <gtest/gtest.h>

#include <random>

#include "automation/AutomationError.h"
#include "office/ChartSamples.h"
#include "office/chart/ChartData.h"
#include "office/chart/ChartReader.h"
#include "support/TestSupport.h"

namespace {

using automation::AutomationError;
using automation::chart::Chart;
using automation::chart::Grouping;
using automation::chart::Kind;
using charttest::Records;

constexpr std::uint16_t kBar = 0x1017, kLine = 0x1018, kPie = 0x1019, kArea = 0x101A, kScatter = 0x101B,
                        kRadar = 0x103E, kChart3d = 0x103A, kBegin = 0x1033, kEnd = 0x1034, kSeries = 0x1003;

// A chart of the samples as records: 0 the pie and 1 the line chart of
// formatted.xls; tika's column chart for 2.
Records sampleRecords(int which) {
    const char* file = which == 2 ? "reference/tika_testEXCEL-charts.xls" : "formatted.xls";
    auto path = which == 2 ? testsupport::sharedSample(file) : testsupport::testData(file);
    const auto workbook = charttest::loadCharts(path);
    return Records::parse(workbook.substream(workbook.charts[which == 2 ? 1 : which]));
}

Chart read(const Records& records) { return office::chart::readChart(records.bytes(), office::chart::defaultPalette()); }

void expectChartError(const std::vector<std::uint8_t>& bytes, const std::string& words = "") {
    try {
        office::chart::readChart(bytes, office::chart::defaultPalette());
        ADD_FAILURE() << "no error";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), 1004);
        EXPECT_EQ(e.description().rfind("The chart could not be read: ", 0), 0u) << e.description();
        EXPECT_NE(e.description().find(words), std::string::npos) << e.description();
    }
}

TEST(ChartKinds, BarColumnAndTheirStackedForms) {
    if (!std::filesystem::exists(testsupport::sharedSample("reference"))) GTEST_SKIP();
    struct Case {
        std::uint16_t flags;
        Kind kind;
        Grouping grouping;
    };
    // BAR flags: 1 horizontal, 2 stacked, 4 100%.
    for (const Case& c : {Case{0x0, Kind::Column, Grouping::Standard}, Case{0x1, Kind::Bar, Grouping::Standard},
                          Case{0x2, Kind::Column, Grouping::Stacked}, Case{0x6, Kind::Column, Grouping::PercentStacked},
                          Case{0x7, Kind::Bar, Grouping::PercentStacked}}) {
        Records records = sampleRecords(2);
        records.first(kBar).body[4] = static_cast<std::uint8_t>(c.flags);
        const Chart chart = read(records);
        EXPECT_EQ(chart.kind, c.kind) << c.flags;
        EXPECT_EQ(chart.grouping, c.grouping) << c.flags;
        EXPECT_EQ(chart.series.front().kind, c.kind);
        EXPECT_FALSE(chart.threeD);
    }
    Records records = sampleRecords(2);
    records.insertAfter(kBar, {kChart3d, std::vector<std::uint8_t>(14)});
    EXPECT_TRUE(read(records).threeD);
}

TEST(ChartKinds, LineAndAreaForms) {
    // LINE and AREA share their flags: 1 stacked, 2 100%.
    struct Case {
        std::uint16_t id;
        std::uint8_t flags;
        Kind kind;
        Grouping grouping;
    };
    for (const Case& c : {Case{kLine, 1, Kind::Line, Grouping::Stacked}, Case{kLine, 3, Kind::Line, Grouping::PercentStacked},
                          Case{kArea, 0, Kind::Area, Grouping::Standard}, Case{kArea, 1, Kind::Area, Grouping::Stacked},
                          Case{kArea, 3, Kind::Area, Grouping::PercentStacked}}) {
        Records records = sampleRecords(1);
        auto& type = records.first(kLine);
        type.id = c.id;
        type.body[0] = c.flags;
        const Chart chart = read(records);
        EXPECT_EQ(chart.kind, c.kind);
        EXPECT_EQ(chart.grouping, c.grouping);
        ASSERT_EQ(chart.series.size(), 2u);
        // The line chart left its fills automatic: as areas they take the second automatic fill.
        if (c.kind == Kind::Area) {
            EXPECT_EQ(chart.series[1].fill, 0x993366u);  // index 25 of the default palette
        }
    }
}

TEST(ChartKinds, DoughnutKeepsItsHole) {
    Records records = sampleRecords(0);
    records.first(kPie).body[2] = 50;  // pcDonut
    const Chart chart = read(records);
    EXPECT_EQ(chart.kind, Kind::Pie);
    EXPECT_EQ(chart.holePercent, 50);
}

TEST(ChartKinds, KindsWeDoNotDrawComeBackWithTheirTitle) {
    if (!std::filesystem::exists(testsupport::sharedSample("reference"))) GTEST_SKIP();
    Records radar = sampleRecords(2);
    radar.first(kBar).id = kRadar;
    Chart chart = read(radar);
    EXPECT_EQ(chart.kind, Kind::Unknown);
    ASSERT_TRUE(chart.title);
    EXPECT_EQ(chart.title->text, "fizzlepuff");
    EXPECT_EQ(chart.series.size(), 1u);

    Records bubbles = sampleRecords(2);
    auto& type = bubbles.first(kBar);
    type.id = kScatter;
    type.body = {100, 0, 1, 0, 1, 0};  // fBubbles
    EXPECT_EQ(read(bubbles).kind, Kind::Unknown);
}

TEST(ChartDamage, RefusedWithAClearMessage) {
    const Records pie = sampleRecords(0);
    const auto good = pie.bytes();
    expectChartError({}, "BOF");
    expectChartError(std::vector<std::uint8_t>(good.begin() + 4, good.end()), "BOF");

    Records worksheet = pie;
    worksheet.list.front().body[2] = 0x10;  // a worksheet's BOF
    expectChartError(worksheet.bytes(), "another kind of sheet");

    Records unbalanced = pie;
    unbalanced.insertAfter(kPie, {kEnd, {}});
    unbalanced.insertAfter(kPie, {kEnd, {}});
    unbalanced.insertAfter(kPie, {kEnd, {}});
    unbalanced.insertAfter(kPie, {kEnd, {}});
    expectChartError(unbalanced.bytes(), "END");

    Records deep = pie;
    for (int i = 0; i < 100; ++i) deep.insertAfter(kPie, {kBegin, {}});
    expectChartError(deep.bytes(), "nested too deeply");

    Records shortSeries = pie;
    shortSeries.first(kSeries).body.resize(5);
    expectChartError(shortSeries.bytes(), "0x1003");

    // Every cut loses the EOF record.
    for (std::size_t n = 0; n < good.size(); ++n) {
        SCOPED_TRACE(n);
        expectChartError(std::vector<std::uint8_t>(good.begin(), good.begin() + n));
    }
}

TEST(ChartDamage, ChangedBytesGiveAChartOrAnError) {
    std::mt19937 random(20240607);
    for (int which = 0; which < 2; ++which) {
        const auto good = sampleRecords(which).bytes();
        for (int round = 0; round < 3000; ++round) {
            auto bytes = good;
            for (int flips = 1 + round % 4; flips > 0; --flips)
                bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
            try {
                const Chart chart = office::chart::readChart(bytes, office::chart::defaultPalette());
                for (const auto& s : chart.series) EXPECT_LE(s.values.size(), office::chart::kMaxPoints);
            } catch (const AutomationError& e) {
                EXPECT_EQ(e.number(), 1004);
            }
        }
    }
}

TEST(ChartDamage, HugePointCountsStayWithinExcelsLimits) {
    Records records;
    records.list.push_back({0x0809, {0x00, 0x06, 0x20, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}});
    records.list.push_back({0x1002, std::vector<std::uint8_t>(16)});
    records.list.push_back({kBegin, {}});
    for (int i = 0; i < 300; ++i) records.list.push_back({kSeries, {1, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0}});
    records.list.push_back({kEnd, {}});
    records.list.push_back({0x000A, {}});
    const Chart chart = read(records);
    std::size_t total = 0;
    for (const auto& s : chart.series) total += s.values.size();
    EXPECT_EQ(chart.series.front().values.size(), office::chart::kMaxPoints);
    EXPECT_EQ(total, 256000u);  // Excel 97-2003's limit for one chart
    EXPECT_EQ(chart.kind, Kind::Unknown);  // no chart group

    for (int i = 0; i < 800; ++i) records.insertAfter(kBegin, {kSeries, std::vector<std::uint8_t>(12)});
    expectChartError(records.bytes(), "too many series");
}

}  // namespace
