// Sorting a range by one column, and the cell formats and sizes a range sets,
// on in-memory workbooks.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "automation/AutomationError.h"

using automation::Variant;
using namespace automation::excel;

namespace {

class EngineSort : public ::testing::Test {
protected:
    void SetUp() override {
        app = enginetest::newApplication();
        book = app->GetWorkbooks().Add();
        sheet = book->WorksheetAt(1);
    }
    office::WorkbookModel& model() { return dynamic_cast<office::engine::EngineWorkbook&>(*book).core()->model; }
    // Rows of columns A and B as "A:B" texts, from row 1 down to `last`.
    std::vector<std::string> rows(long last) {
        std::vector<std::string> out;
        for (long r = 1; r <= last; ++r)
            out.push_back(sheet->Cells(r, 1)->Value().toText() + ":" + sheet->Cells(r, 2)->Value().toText());
        return out;
    }

    std::shared_ptr<Application> app;
    std::shared_ptr<Workbook> book;
    std::shared_ptr<Worksheet> sheet;
};

}  // namespace

TEST_F(EngineSort, NumbersThenTextsIgnoringCaseThenEmptyCellsEqualKeysKeepTheirOrder) {
    const std::vector<std::pair<const char*, Variant>> lines = {
        {"head", "Sort"}, {"a", 300.0}, {"b", "beta"}, {"c", Variant{}}, {"d", 20.0},
        {"e", "Alpha"},   {"f", 300.0}, {"g", "ALPHA"}, {"h", -5.0}};
    long row = 1;
    for (const auto& [id, key] : lines) {
        sheet->Cells(row, 1)->SetValue(id);
        if (!key.isEmpty()) sheet->Cells(row, 2)->SetValue(key);
        sheet->Cells(row, 30)->SetValue(id);  // beyond the sorted columns: stays
        ++row;
    }
    sheet->GetRange("A:B")->Sort(*sheet->GetRange("B1"), true);
    EXPECT_EQ(rows(9), (std::vector<std::string>{"head:Sort", "h:-5", "d:20", "a:300", "f:300", "e:Alpha", "g:ALPHA",
                                                 "b:beta", "c:"}));
    EXPECT_EQ(sheet->Cells(2, 30)->Value().toText(), "a");

    // Without a header the first row takes part; a key outside the range is refused.
    sheet->GetRange("A:B")->Sort(*sheet->GetRange("A1"), false);
    EXPECT_EQ(rows(2), (std::vector<std::string>{"a:300", "b:beta"}));
    EXPECT_THROW(sheet->GetRange("A:B")->Sort(*sheet->GetRange("C1"), true), automation::AutomationError);
    sheet->Protect("pw");
    EXPECT_THROW(sheet->GetRange("A:B")->Sort(*sheet->GetRange("A1"), true), automation::AutomationError);
}

TEST_F(EngineSort, FormatsAndSizesOfARange) {
    auto cell = sheet->Cells(2, 2);
    cell->SetValue("x");
    cell->GetFont().SetSize(12);
    cell->SetHorizontalAlignment(HAlign::Center);
    cell->SetWrapText(true);
    cell->SetBorderLineStyle(LineStyle::Continuous);
    EXPECT_EQ(cell->GetFont().Size(), 12);
    const office::XfDef& xf = model().xfAt(model().sheets[0].cell(2, 2)->xf);
    EXPECT_EQ(xf.alignment.horizontal, office::HorizontalAlignment::Center);
    EXPECT_TRUE(xf.alignment.wrap && xf.groups.alignment && xf.groups.border);
    EXPECT_EQ(xf.borders.left.style, office::BorderStyle::Thin);
    // The neighbour keeps the default format.
    EXPECT_EQ(sheet->Cells(2, 3)->GetFont().Size(), 10);

    sheet->Rows(2)->SetRowHeight(40);
    EXPECT_EQ(sheet->Cells(2, 1)->Height(), 40);
    sheet->Columns("B:B")->SetColumnWidth(50);
    EXPECT_NEAR(sheet->Cells(1, 2)->Width(), 355 * 0.75, 0.01);  // 50 digits of 7 pixels and the margins
    EXPECT_THROW(cell->GetFont().SetSize(0), automation::AutomationError);

    // The selection rule outlives protecting and unprotecting.
    sheet->SetEnableSelection(SelectionMode::NoSelection);
    sheet->Protect("");
    sheet->Unprotect("");
    EXPECT_EQ(sheet->EnableSelection(), SelectionMode::NoSelection);
}
