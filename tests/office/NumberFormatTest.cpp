// Cell texts as the spreadsheet shows them: format codes over chosen values,
// and every number of the formatted sample against the text LibreOffice
// shows for it (its CSV export "as shown").
#include <gtest/gtest.h>

#include "office/XlsFile.h"
#include "office/format/NumberFormat.h"
#include "support/TestSupport.h"

namespace {

using automation::Variant;

TEST(NumberFormat, CodesOverValues) {
    const struct {
        Variant value;
        const char* code;
        const char* shown;
    } cases[] = {
        {1234.5, "General", "1234.5"},
        {-0.25, "General", "-0.25"},
        {1234.567, "0.00", "1234.57"},
        {1234567.891, "#,##0.00", "1,234,567.89"},
        {0.5, "#,##0", "1"},
        {0.4, "#.##", ".4"},
        {0.25, "0.0%", "25.0%"},
        {1, "0%", "100%"},
        {1250.5, "#,##0.00 [$€-410]", "1,250.50 €"},
        {1250.5, "#,##0.00\\ \"€\"", "1,250.50 €"},
        {-1250.5, "#,##0.00 \"€\";-#,##0.00 \"€\"", "-1,250.50 €"},
        {-1250.5, "#,##0.00_);[Red](#,##0.00)", "(1,250.50)"},
        {1250.5, "#,##0.00_);[Red](#,##0.00)", "1,250.50 "},
        {0, "0.00;-0.00;\"zero\"", "zero"},
        {-0.001, "0.00", "0.00"},  // rounds to nothing: no sign
        {12345678, "#,##0,", "12,346"},  // scaled by a thousand
        {5, "000", "005"},
        {0.000123, "0.00E+00", "1.23E-04"},
        {98765, "0.0E+0", "9.9E+4"},
        {46000, "dd/mm/yyyy", "09/12/2025"},
        {46000, "d-mmm-yy", "9-Dec-25"},
        {46000, "dddd d mmmm yyyy", "Tuesday 9 December 2025"},
        {46000.75, "m/d/yyyy h:mm", "12/9/2025 18:00"},
        {0.5208333333, "h:mm AM/PM", "12:30 PM"},
        {0.0006944444, "hh:mm:ss", "00:01:00"},
        {61, "yyyy-mm-dd", "1900-03-01"},
        {60, "yyyy-mm-dd", "1900-02-29"},  // the day the 1900 system counts
        {Variant("text"), "0.00", "text"},
        {Variant("north"), "\"Region: \"@", "Region: north"},
        {Variant("x"), "0;0;0;[Blue]@\"!\"", "x!"},
        {Variant(), "0.00", ""},
        {Variant::boolean(true), "0.00", "TRUE"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(office::FormatValue(c.value, c.code), c.shown) << c.code << " over " << c.value.toText();
    EXPECT_EQ(office::FormatValue(0, "yyyy-mm-dd", true), "1904-01-01");
}

TEST(NumberFormat, TheFormattedSampleShowsWhatLibreOfficeShows) {
    const office::WorkbookModel model = office::readXlsFile(testsupport::testData("formatted.xls").string(), "");
    const office::SheetModel* report = nullptr;
    for (const auto& sheet : model.sheets)
        if (sheet.name == "Report") report = &sheet;
    ASSERT_TRUE(report);
    // LibreOffice's CSV export of the sheet, texts as shown.
    const std::vector<std::vector<std::string>> shown = {
        {"Quarterly report", "", "", ""},
        {"Region", "Q1", "Q2", "Share"},
        {"North", "1,250.50 €", "1,400.25 €", "35.0%"},
        {"South", "980.00 €", "1,010.75 €", "28.0%"},
        {"East", "640.40 €", "700.00 €", "19.0%"},
        {"West", "655.00 €", "690.10 €", "18.0%"},
        {"Total", "3,525.90 €", "3,801.10 €", "100.0%"},
        {"Hidden row", "1", "2", "3"},
        {"Date", "09/12/2025", "", ""},
        {"A long text that wraps inside its cell because wrapping is on", "", "", ""},
    };
    for (std::uint32_t row = 1; row <= shown.size(); ++row)
        for (std::uint32_t column = 1; column <= 4; ++column) {
            const office::Cell* cell = report->cell(row, column);
            EXPECT_EQ(cell ? office::ShownText(model, *cell) : "", shown[row - 1][column - 1])
                << "row " << row << ", column " << column;
        }
}

}  // namespace
