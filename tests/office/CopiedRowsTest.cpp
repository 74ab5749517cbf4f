// A save copies the cell records of rows still undecoded as they were read.
// Whatever was changed, deleted or added around them, the file written must
// read back as the same workbook written from every cell decoded.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "BiffModelCompare.h"
#include "office/XlsFile.h"
#include "office/biff/Biff8.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/RecordReader.h"
#include "support/TestSupport.h"

namespace {

using office::SheetModel;
using office::WorkbookModel;

// What a save after a store command does to a sheet: a row deleted near the
// top and the last one, a cell changed in the middle, a row added past the end.
void changeAsACommandWould(SheetModel& sheet) {
    const std::uint32_t rows = sheet.rows.count();
    if (rows >= 4) {
        sheet.rows.erase(2, 2);
        sheet.rows.erase(rows - 1, rows - 1);
    }
    if (rows >= 2) sheet.cellAt(sheet.rows.count() / 2 + 1, 1).value = std::string("changed");
    sheet.cellAt(sheet.rows.count() + 2, 2).value = 7.0;
}

bool anyUndecoded(const WorkbookModel& model) {
    for (const SheetModel& sheet : model.sheets)
        if (sheet.rows.hasUndecoded()) return true;
    return false;
}

// The same changes on a copy decoded whole first, which the writer writes
// from its cells; then both written and read back.
void expectCopiesReadAsDecoded(WorkbookModel& lazy, const std::string& password) {
    WorkbookModel decoded = lazy;
    for (SheetModel& sheet : decoded.sheets) sheet.rows.all();
    for (SheetModel& sheet : lazy.sheets)
        if (sheet.kind == office::SheetKind::Worksheet) changeAsACommandWould(sheet);
    for (SheetModel& sheet : decoded.sheets)
        if (sheet.kind == office::SheetKind::Worksheet) changeAsACommandWould(sheet);

    const WorkbookModel back = office::readXls(office::writeXls(lazy, password), password);
    const WorkbookModel expected = office::readXls(office::writeXls(decoded, password), password);
    EXPECT_EQ(bifftest::firstDifference(bifftest::canonical(expected), bifftest::canonical(back)), "");
    // And the lazy model still is what it was, whatever it decoded for the writer.
    EXPECT_EQ(bifftest::firstDifference(bifftest::canonical(decoded), bifftest::canonical(lazy)), "");
}

TEST(CopiedRows, EverySampleChangedAndSavedReadsAsIfWrittenFromItsCells) {
    std::size_t copying = 0;
    for (const testsupport::SampleWorkbook& sample : testsupport::sampleWorkbooks()) {
        SCOPED_TRACE(sample.path.filename().string());
        WorkbookModel lazy;
        try {
            lazy = office::readXls(testsupport::readFileBytes(sample.path), sample.password);
        } catch (const std::exception&) {
            continue;  // the damaged samples
        }
        if (!anyUndecoded(lazy)) continue;
        expectCopiesReadAsDecoded(lazy, sample.password);
        ++copying;
    }
    EXPECT_GE(copying, 5u);
}

// A store-like sheet: repeated and unique texts, numbers as RK and as
// NUMBER, booleans, errors, formatted blanks and a row format.
WorkbookModel lineTable(std::uint32_t rows) {
    WorkbookModel model = WorkbookModel::withDefaults();
    model.xfs.resize(18, model.xfs.back());
    SheetModel& sheet = model.sheets.emplace_back();
    sheet.name = "DATA";
    for (std::uint32_t row = 1; row <= rows; ++row) {
        sheet.cellAt(row, 1).value = static_cast<double>(row);
        sheet.cellAt(row, 2).value = "Group " + std::to_string(row / 10);
        sheet.cellAt(row, 4).value = "line " + std::to_string(row);
        sheet.cellAt(row, 5).value = 0.1 * row;
        if (row % 7 == 0) sheet.cellAt(row, 6).value = office::CellValue::boolean(true);
        if (row % 11 == 0) sheet.cellAt(row, 7).value = office::CellValue::error(0x07);
        if (row % 5 == 0) sheet.cellAt(row, 9).xf = 17;
    }
    sheet.rowAt(3).xf = 16;
    return model;
}

// The shared-string table's count of uses and of distinct texts.
std::pair<std::uint32_t, std::uint32_t> stringCounts(const std::vector<std::uint8_t>& stream) {
    office::biff::RecordReader reader(stream);
    office::biff::Record r;
    while (reader.next(r))
        if (r.id == office::biff::rec::kSst && r.body.size() >= 8)
            return {r.body[0] | (r.body[1] << 8) | (r.body[2] << 16) | (static_cast<std::uint32_t>(r.body[3]) << 24),
                    r.body[4] | (r.body[5] << 8) | (r.body[6] << 16) | (static_cast<std::uint32_t>(r.body[7]) << 24)};
    return {0, 0};
}

TEST(CopiedRows, AStoreSavedAfterDeletesKeepsItsRowsAndOnlyTheTextsStillUsed) {
    WorkbookModel lazy = office::readXls(office::writeXls(lineTable(400), ""), "");
    ASSERT_TRUE(lazy.sheets.at(0).rows.hasUndecoded());
    WorkbookModel copy = lazy;
    expectCopiesReadAsDecoded(copy, "");
    EXPECT_TRUE(copy.sheets.at(0).rows.hasUndecoded()) << "the writer decoded rows it could copy";

    // Rows 100 to 199 deleted: their lines' texts leave the table, the groups' stay once.
    SheetModel& sheet = lazy.sheets.at(0);
    sheet.rows.erase(100, 199);
    sheet.cellAt(5, 4).value = std::string("line 7");  // a text another copied row holds
    const std::vector<std::uint8_t> stream = office::biff::writeWorkbookStream(lazy, "");
    ASSERT_TRUE(sheet.rows.hasUndecoded());
    std::set<std::string> texts;
    std::uint32_t textCells = 0;
    const WorkbookModel back = office::biff::readWorkbookStream(std::span<const std::uint8_t>(stream), "");
    const SheetModel& read = back.sheets.at(0);
    ASSERT_EQ(read.rows.count(), 300u);
    for (const office::RowDef& row : read.rows.all())
        for (const office::Cell& cell : row.cells)
            if (cell.value.isText()) ++textCells, texts.insert(std::string(cell.value.text()));
    EXPECT_EQ(stringCounts(stream), std::make_pair(textCells, static_cast<std::uint32_t>(texts.size())));
    EXPECT_EQ(read.cell(99, 4)->value.text(), "line 99");
    EXPECT_EQ(read.cell(100, 4)->value.text(), "line 200");
    EXPECT_EQ(read.cell(100, 1)->value.number(), 200.0);
    EXPECT_EQ(read.cell(5, 4)->value.text(), "line 7");
    EXPECT_EQ(read.rows.row(3)->xf, std::optional<std::uint16_t>(16));
    EXPECT_EQ(read.cell(100, 9)->xf, 17);
    EXPECT_EQ(bifftest::firstDifference(bifftest::canonical(lazy), bifftest::canonical(back)), "");
}

// The cell formats a stream's XF records hold, and the largest a cell record names.
std::pair<std::size_t, std::size_t> formatsHeldAndNamed(const std::vector<std::uint8_t>& stream) {
    namespace rec = office::biff::rec;
    office::biff::RecordReader reader(stream);
    office::biff::Record r;
    std::size_t held = 0, named = 0;
    while (reader.next(r)) {
        if (r.id == rec::kXf) ++held;
        const bool oneCell = r.id == rec::kLabelSst || r.id == rec::kNumber || r.id == rec::kRk ||
                             r.id == rec::kBlank || r.id == rec::kBoolErr;
        if (oneCell && r.body.size() >= 6) named = std::max<std::size_t>(named, r.body[4] | (r.body[5] << 8));
    }
    return {held, named};
}

// Formats the file written no longer holds are written as the default
// format, as a decoded cell's would be: such rows are not copied.
TEST(CopiedRows, RowsWithFormatsTheNewFileLacksAreWrittenFromTheirCells) {
    WorkbookModel model = lineTable(40);
    model.xfs.resize(model.xfs.size() + 3, model.xfs.back());
    const std::uint16_t last = static_cast<std::uint16_t>(model.xfs.size() - 1);
    model.sheets.at(0).cellAt(20, 3).xf = last;
    WorkbookModel lazy = office::readXls(office::writeXls(model, ""), "");
    lazy.xfs.resize(lazy.xfs.size() - 3);
    WorkbookModel copy = lazy;
    expectCopiesReadAsDecoded(copy, "");

    const std::vector<std::uint8_t> stream = office::biff::writeWorkbookStream(lazy, "");
    const auto [held, named] = formatsHeldAndNamed(stream);
    EXPECT_LT(named, held);
    EXPECT_EQ(office::biff::readWorkbookStream(std::span<const std::uint8_t>(stream), "").sheets.at(0).cell(20, 3)->xf,
              office::kDefaultCellFormat);
}

}  // namespace
