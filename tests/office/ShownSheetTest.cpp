// The formatted sample as a view draws it: merged title, fonts and fills,
// hidden row, alignment by kind of value, widths and heights.
#include <gtest/gtest.h>

#include "office/XlsFile.h"
#include "office/format/ShownSheet.h"
#include "support/TestSupport.h"

namespace {

const office::ShownCell* at(const office::ShownSheet& shown, std::uint32_t row, std::uint32_t column) {
    for (const auto& cell : shown.cells)
        if (cell.row == row && cell.column == column) return &cell;
    return nullptr;
}

TEST(ShownSheet, TheFormattedSample) {
    const office::WorkbookModel model = office::readXlsFile(testsupport::testData("formatted.xls").string(), "");
    const office::SheetModel* report = nullptr;
    for (const auto& sheet : model.sheets)
        if (sheet.name == "Report") report = &sheet;
    ASSERT_TRUE(report);
    const office::ShownSheet shown = office::ShowSheet(model, *report);

    // The title spans A1:D1; the covered cells are not drawn on their own.
    const auto* title = at(shown, 1, 1);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text, "Quarterly report");
    EXPECT_EQ(title->columnSpan, 4u);
    EXPECT_EQ(title->rowSpan, 1u);
    EXPECT_TRUE(title->bold);
    EXPECT_EQ(title->fontPoints, 16);
    EXPECT_TRUE(title->fill);
    EXPECT_FALSE(at(shown, 1, 2));

    // The header: white on a blue fill.
    const auto* header = at(shown, 2, 2);
    ASSERT_TRUE(header && header->fill);
    EXPECT_EQ(header->color, 0xFFFFFFu);
    EXPECT_NE(*header->fill, 0xFFFFFFu);

    // Amounts as shown, to the right; texts to the left.
    const auto* amount = at(shown, 3, 2);
    ASSERT_TRUE(amount);
    EXPECT_EQ(amount->text, "1,250.50 €");
    EXPECT_EQ(amount->align, office::ShownCell::Align::Right);
    EXPECT_EQ(at(shown, 3, 1)->align, office::ShownCell::Align::Left);
    EXPECT_EQ(at(shown, 9, 2)->text, "09/12/2025");
    EXPECT_TRUE(at(shown, 10, 1)->wrap);

    // Row 8 is hidden; the others keep their heights; custom widths differ.
    ASSERT_GE(shown.rowHeights.size(), 10u);
    EXPECT_EQ(shown.rowHeights[7], 0);
    for (std::size_t row = 0; row < 10; ++row) {
        if (row == 7) continue;
        EXPECT_GT(shown.rowHeights[row], 0) << row;
    }
    ASSERT_EQ(shown.columnWidths.size(), 4u);
    EXPECT_NE(shown.columnWidths[0], shown.columnWidths[1]);
}

}  // namespace
