// Filling a chart from its workbook's cells, and the EXTERNSHEET table that
// turns a chart's references into sheets.
#include <gtest/gtest.h>

#include "office/ChartSamples.h"
#include "office/chart/ChartData.h"
#include "support/TestSupport.h"

namespace {

using automation::Variant;
using automation::chart::CellRange;
using automation::chart::Chart;
using office::chart::CellContent;

CellRange range(std::uint16_t sheet, std::uint16_t row1, std::uint16_t col1, std::uint16_t row2, std::uint16_t col2) {
    return CellRange{sheet, row1, row2, col1, col2};
}

// Sheet 0: column A numbers 1, 2, 3, ... except a text in row 3; column B the
// month names; row 0 of columns C and D "Net" "sales". Sheet 1 is empty.
CellContent cellOf(int sheet, std::uint32_t row, std::uint32_t column) {
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May"};
    CellContent c;
    if (sheet != 0) return c;
    if (column == 0) c.value = row == 3 ? Variant("n/a") : Variant(static_cast<double>(row + 1));
    if (column == 1 && row < 5) c.value = Variant(months[row]);
    if (column == 2 && row == 0) c.value = Variant("Net");
    if (column == 3 && row == 0) c.value = Variant("sales");
    if (column == 4) {
        c.value = Variant(45000.0 + row);
        c.shown = "15/03/2023";  // a date as its cell shows it
    }
    return c;
}

TEST(ChartData, SeriesTakeTheirCellsWhereTheyAreInThisWorkbook) {
    Chart chart;
    chart.series.resize(3);
    auto& s = chart.series[0];
    s.name.source = {range(2, 0, 2, 0, 3)};                           // C1:D1
    s.valuesSource = {range(2, 0, 0, 2, 0), range(2, 3, 0, 4, 0)};  // A1:A3, A4:A5
    s.categoriesSource = {range(2, 0, 1, 4, 1)};                    // B1:B5
    auto& other = chart.series[1];
    other.values = {7.0, 8.0};
    other.valuesSource = {range(0, 0, 0, 1, 0)};     // a sheet of another workbook
    other.categoriesSource = {range(5, 0, 4, 1, 4)};  // beyond the table: left as they are
    auto& dates = chart.series[2];
    dates.categoriesSource = {range(2, 0, 4, 1, 4)};
    chart.title = automation::chart::Label{"old", {range(2, 1, 1, 1, 1)}};

    const std::vector<int> externSheets = {-1, 1, 0};
    office::chart::fillFromCells(chart, externSheets, cellOf);

    EXPECT_EQ(s.name.text, "Net sales");
    ASSERT_EQ(s.values.size(), 5u);
    EXPECT_EQ(s.values[0], 1.0);
    EXPECT_EQ(s.values[2], 3.0);
    EXPECT_FALSE(s.values[3].has_value());  // a text is a gap
    EXPECT_EQ(s.values[4], 5.0);
    EXPECT_EQ(s.categories, (std::vector<std::string>{"Jan", "Feb", "Mar", "Apr", "May"}));
    EXPECT_FALSE(s.xValues[0].has_value());
    EXPECT_EQ(other.values, (std::vector<std::optional<double>>{7.0, 8.0}));  // the cache stays
    EXPECT_TRUE(other.categories.empty());
    EXPECT_EQ(dates.categories, (std::vector<std::string>{"15/03/2023", "15/03/2023"}));
    EXPECT_EQ(dates.xValues.front(), 45000.0);
    EXPECT_EQ(chart.title->text, "Feb");
}

TEST(ChartData, AWholeColumnIsCutAtExcelsLimit) {
    Chart chart;
    chart.series.emplace_back().valuesSource = {range(0, 0, 0, 65535, 0)};
    office::chart::fillFromCells(chart, std::vector<int>{0}, cellOf);
    EXPECT_EQ(chart.series[0].values.size(), office::chart::kMaxPoints);
}

TEST(ChartData, ExternSheetTableNamesOurSheetsOnly) {
    charttest::Records globals;
    globals.list = {
        {0x0809, {0x00, 0x06, 0x05, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {0x01AE, {1, 0, 3, 0, 0, 'a', '.', 'x'}},  // another workbook
        {0x01AE, {3, 0, 0x01, 0x04}},              // this workbook, 3 sheets
        {0x0017, {4, 0,                            // four entries
                  0, 0, 0, 0, 0, 0,                // the other workbook's first sheet
                  1, 0, 2, 0, 2, 0,                // our third sheet
                  1, 0, 0xFE, 0xFF, 0xFE, 0xFF,    // our workbook itself
                  1, 0, 0, 0, 0, 0}},              // our first sheet
        {0x000A, {}},
        {0x0017, {1, 0, 1, 0, 1, 0, 1, 0}},        // another substream's: not read
    };
    const auto stream = globals.bytes();
    EXPECT_EQ(office::chart::externSheetTable(stream), (std::vector<int>{-1, 2, -1, 0}));
    EXPECT_TRUE(office::chart::externSheetTable(std::span<const std::uint8_t>()).empty());
    // The same records as a workbook model keeps them.
    std::vector<office::RawRecord> links;
    for (const auto& r : globals.list)
        if (r.id == 0x01AE || r.id == 0x0017) links.push_back({r.id, r.body});
    links.pop_back();  // the other substream's
    EXPECT_EQ(office::chart::externSheetTable(links), (std::vector<int>{-1, 2, -1, 0}));

    const auto path = testsupport::sharedSample("reference/poi_ex42570-20305.xls");
    if (!std::filesystem::exists(path)) return;
    const auto workbook = charttest::loadCharts(path);
    ASSERT_EQ(workbook.externSheets.size(), 30u);
    EXPECT_EQ(workbook.externSheets[0], 0);  // the chart's data sheet
}

}  // namespace
