// What the readers announce before filling the heap: enough to cover a dense
// sheet's cells, never the whole used range of a sparse one.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "office/XlsFile.h"
#include "office/io/FreshMemory.h"

namespace {

std::vector<std::size_t> announced;
void record(std::size_t bytes) { announced.push_back(bytes); }

// Records what reading `bytes` and decoding all its cells announces, and
// leaves no preparer behind.
std::size_t largestAnnounced(const std::vector<std::uint8_t>& bytes) {
    announced.clear();
    office::io::setHeapPreparer(record);
    office::WorkbookModel back = office::readXls(bytes, "");
    for (const office::SheetModel& sheet : back.sheets) sheet.rows.all();
    office::io::setHeapPreparer(nullptr);
    return announced.empty() ? 0 : *std::max_element(announced.begin(), announced.end());
}

office::WorkbookModel withSheet(office::SheetModel sheet) {
    office::WorkbookModel model = office::WorkbookModel::withDefaults();
    sheet.name = "Data";
    model.sheets.push_back(std::move(sheet));
    return model;
}

TEST(FreshMemory, ADenseSheetAnnouncesItsCellsAndASparseOneNoMoreThanItsStreamCanHold) {
    // Lines as a store holds them: a number, then texts.
    office::SheetModel dense;
    for (std::uint32_t row = 1; row <= 500; ++row) {
        dense.cellAt(row, 1).value = double(row);
        for (std::uint32_t column = 2; column <= 10; ++column)
            dense.cellAt(row, column).value = "text " + std::to_string(row * column);
    }
    const auto denseFile = office::writeXls(withSheet(dense), "");
    EXPECT_GE(largestAnnounced(denseFile), 500 * 10 * sizeof(office::Cell));

    // Two cells at opposite corners: the used range is the whole grid.
    office::SheetModel sparse;
    sparse.cellAt(1, 1).value = 1.0;
    sparse.cellAt(office::kMaxRows, office::kMaxColumns).value = 2.0;
    const auto sparseFile = office::writeXls(withSheet(sparse), "");
    const std::size_t sparseAnnounced = largestAnnounced(sparseFile);
    EXPECT_GT(sparseAnnounced, 0u);
    EXPECT_LE(sparseAnnounced, 8 * sparseFile.size());
}

TEST(FreshMemory, NothingIsAnnouncedWithoutAPreparerAndReadingIsTheSame) {
    office::SheetModel sheet;
    sheet.cellAt(3, 2).value = std::string("kept");
    const auto file = office::writeXls(withSheet(sheet), "");
    announced.clear();
    const office::WorkbookModel back = office::readXls(file, "");
    EXPECT_TRUE(announced.empty());
    ASSERT_NE(back.sheets.at(0).cell(3, 2), nullptr);
    EXPECT_EQ(back.sheets[0].cell(3, 2)->value.text(), "kept");
}

}  // namespace
