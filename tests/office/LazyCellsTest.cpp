// A sheet's cells decoded when asked for must be the cells decoded at once:
// on every sample, through every way in (a cell peeked at, a row, all rows),
// in any order, with changes made in between, and on copies.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "office/XlsFile.h"
#include "office/biff/Biff8.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/RecordWriter.h"
#include "office/cfb/CompoundFile.h"
#include "support/TestSupport.h"
#include "HandMadeStreams.h"

namespace {

namespace rec = office::biff::rec;
using office::Cell;
using office::SheetModel;
using office::WorkbookModel;

// The Workbook stream read both ways: every cell at once (from a stream the
// reader does not keep), and decoded as asked for (from one it keeps).
struct BothWays {
    WorkbookModel now;
    WorkbookModel later;
};

BothWays readBothWays(const std::vector<std::uint8_t>& stream, const std::string& password) {
    return {office::biff::readWorkbookStream(std::span<const std::uint8_t>(stream), password),
            office::biff::readWorkbookStream(std::vector<std::uint8_t>(stream), password)};
}

std::vector<std::uint8_t> workbookStream(const testsupport::SampleWorkbook& sample) {
    const office::cfb::Node root = office::cfb::readCompoundFile(testsupport::readFileBytes(sample.path));
    const office::cfb::Node* stream = root.child("Workbook");
    if (!stream) stream = root.child("Book");
    return stream ? stream->data : std::vector<std::uint8_t>{};
}

// Every cell peeked at, and one column past each row, before anything is
// decoded; each row's cells also read in one walk, from its first column
// and from its second.
void expectSamePeeks(const SheetModel& now, const SheetModel& later) {
    const std::vector<office::RowDef>& rows = now.rows.all();
    ASSERT_EQ(later.rows.count(), rows.size());
    for (std::uint32_t row = 1; row <= rows.size(); ++row) {
        const auto width = static_cast<std::uint32_t>(rows[row - 1].cells.size());
        ASSERT_EQ(later.rows.width(row), width) << "row " << row;
        for (std::uint32_t first = 1; first <= std::min(width, 2u); ++first) {
            std::vector<automation::Variant> values(width + 2 - first, automation::Variant("stale"));
            later.rows.peekValues(row, first, values);
            for (std::uint32_t column = first; column <= width + 1; ++column) {
                const Cell* expected = now.cell(row, column);
                EXPECT_EQ(values[column - first], expected ? expected->value.toVariant() : automation::Variant())
                    << row << "," << column << " from " << first;
            }
        }
        for (std::uint32_t column = 1; column <= width + 1; ++column) {
            const Cell* expected = now.cell(row, column);
            const std::optional<Cell> peeked = later.peek(row, column);
            ASSERT_EQ(peeked.has_value(), expected != nullptr) << row << "," << column;
            if (expected) {
                EXPECT_EQ(*peeked, *expected) << row << "," << column;
            }
        }
    }
}

// Some rows decoded one by one (from the end, so that the one walk over the
// rest starts between them), then all of them.
void expectSameRows(const SheetModel& now, const SheetModel& later) {
    const std::vector<office::RowDef>& rows = now.rows.all();
    for (std::uint32_t row = later.rows.count(); row >= 1; row -= std::min<std::uint32_t>(row, 3)) {
        ASSERT_NE(later.rows.row(row), nullptr);
        EXPECT_EQ(*later.rows.row(row), rows[row - 1]) << "row " << row;
    }
    EXPECT_EQ(later.rows.all(), rows);
}

TEST(LazyCells, EverySampleDecodesTheSameCellsWhicheverWayItIsAskedFor) {
    std::size_t cells = 0;
    for (const testsupport::SampleWorkbook& sample : testsupport::sampleWorkbooks()) {
        SCOPED_TRACE(sample.path.filename().string());
        const std::vector<std::uint8_t> stream = workbookStream(sample);
        ASSERT_FALSE(stream.empty());
        BothWays read = readBothWays(stream, sample.password);
        ASSERT_EQ(read.later.sheets.size(), read.now.sheets.size());
        for (std::size_t i = 0; i < read.now.sheets.size(); ++i) {
            SCOPED_TRACE(read.now.sheets[i].name);
            expectSamePeeks(read.now.sheets[i], read.later.sheets[i]);
            const SheetModel copy = read.later.sheets[i];  // shares what is still undecoded
            expectSameRows(read.now.sheets[i], read.later.sheets[i]);
            EXPECT_EQ(copy.rows.all(), read.now.sheets[i].rows.all());
            for (const auto& row : read.now.sheets[i].rows.all()) cells += row.cells.size();
        }
        EXPECT_EQ(read.later, read.now);
    }
    EXPECT_GT(cells, 1000u);  // the samples hold cells to compare
}

// A workbook of one sheet "Data" whose cells read "r<row>c<column>".
WorkbookModel textSheet(std::uint32_t rows, std::uint32_t columns) {
    WorkbookModel model = WorkbookModel::withDefaults();
    SheetModel& sheet = model.sheets.emplace_back();
    sheet.name = "Data";
    for (std::uint32_t row = 1; row <= rows; ++row)
        for (std::uint32_t column = 1; column <= columns; ++column)
            sheet.cellAt(row, column).value = "r" + std::to_string(row) + "c" + std::to_string(column);
    return model;
}

TEST(LazyCells, ChangesMadeBeforeTheRestIsDecodedStay) {
    WorkbookModel model = textSheet(300, 5);
    const auto file = office::writeXls(model, "");

    WorkbookModel read = office::readXls(file, "");
    SheetModel& data = read.sheets.at(0);
    ASSERT_TRUE(data.rows.hasUndecoded());
    data.cellAt(10, 2).value = std::string("changed");
    data.cellAt(400, 1).value = 4.0;  // past the rows read
    data.rowAt(20).hidden = true;
    const SheetModel before = data;
    EXPECT_EQ(data.peek(10, 2)->value.text(), "changed");
    EXPECT_EQ(data.peek(11, 2)->value.text(), "r11c2");

    model.sheets[0].cellAt(10, 2).value = std::string("changed");
    model.sheets[0].cellAt(400, 1).value = 4.0;
    model.sheets[0].rowAt(20).hidden = true;
    EXPECT_EQ(data.rows.all(), model.sheets[0].rows.all());
    EXPECT_FALSE(data.rows.hasUndecoded());
    EXPECT_EQ(before, data);  // the copy decodes the same from what it shares
    EXPECT_EQ(office::readXls(office::writeXls(read, ""), ""), read);
}

// Copies of a sheet share their rows until one changes them or decodes a
// row: whatever one copy does, the others keep what they had.
TEST(LazyCells, CopiesShareTheirRowsUntilOneChangesThem) {
    const WorkbookModel model = textSheet(50, 3);
    const SheetModel& sheet = model.sheets.at(0);
    const WorkbookModel read = office::readXls(office::writeXls(model, ""), "");
    ASSERT_TRUE(read.sheets.at(0).rows.hasUndecoded());

    SheetModel a = read.sheets.at(0);
    SheetModel b = a;
    b.cellAt(5, 1).value = std::string("b");
    EXPECT_EQ(a.peek(5, 1)->value.text(), "r5c1");
    EXPECT_EQ(a.rows.row(5)->cells.at(0).value.text(), "r5c1");

    SheetModel c = b;
    c.rows.all()[5].hidden = true;
    c.rowAt(60).hidden = true;
    EXPECT_FALSE(b.rows.row(6)->hidden);
    EXPECT_EQ(b.rows.count(), 50u);
    EXPECT_EQ(b.peek(5, 1)->value.text(), "b");

    SheetModel d = b;  // b now decoded whole: they share decoded rows
    static_cast<const SheetModel&>(b).rows.all();
    d.cellAt(1, 1).value = 9.0;
    EXPECT_EQ(b.cell(1, 1)->value.text(), "r1c1");
    EXPECT_EQ(d.cell(1, 1)->value.number(), 9.0);

    EXPECT_EQ(a, sheet);
    EXPECT_EQ(read.sheets.at(0), sheet);
}

void number(office::biff::RecordWriter& w, std::uint16_t row, std::uint16_t column, double value) {
    w.begin(rec::kNumber);
    w.u16(row);
    w.u16(column);
    w.u16(15);
    w.f64(value);
    w.end();
}

// A sheet "S" whose cells are written by `cells`.
std::vector<std::uint8_t> oneSheet(const std::function<void(office::biff::RecordWriter&)>& cells) {
    return testsupport::workbookStream(testsupport::nothing, testsupport::nothing, cells);
}

// A one-sheet stream read both ways: its rows stay undecoded, and every cell
// peeked at and every row decoded is the same either way.
BothWays expectUndecodedAndAlike(const std::vector<std::uint8_t>& stream) {
    BothWays read = readBothWays(stream, "");
    EXPECT_TRUE(read.later.sheets.at(0).rows.hasUndecoded());
    expectSamePeeks(read.now.sheets.at(0), read.later.sheets.at(0));
    expectSameRows(read.now.sheets.at(0), read.later.sheets.at(0));
    return read;
}

// Writers put a row's cells together; one that goes back to an earlier row
// cannot have its rows decoded one at a time, and is decoded whole at once.
TEST(LazyCells, RowsWhoseCellsAreSpreadOutAreDecodedAtOnce) {
    const auto stream = oneSheet([](office::biff::RecordWriter& w) {
        number(w, 0, 0, 1);
        number(w, 1, 0, 2);
        number(w, 0, 2, 3);  // row 1 again, after row 2
        number(w, 1, 1, 4);
    });
    BothWays read = readBothWays(stream, "");
    const SheetModel& later = read.later.sheets.at(0);
    EXPECT_FALSE(later.rows.hasUndecoded());
    EXPECT_EQ(later, read.now.sheets.at(0));
    EXPECT_EQ(later.cell(1, 3)->value.number(), 3.0);
    EXPECT_EQ(later.cell(2, 2)->value.number(), 4.0);

    // Rows in any order, each together, stay undecoded.
    const auto ordered = oneSheet([](office::biff::RecordWriter& w) {
        number(w, 5, 1, 6);
        number(w, 5, 3, 7);
        number(w, 2, 0, 8);
    });
    expectUndecodedAndAlike(ordered);

    // Within a row, columns backwards, or one written twice: each cell is
    // still found, though a walk stopping at a later column would miss it.
    const auto unordered = oneSheet([](office::biff::RecordWriter& w) {
        number(w, 0, 3, 1);
        number(w, 0, 1, 2);
        number(w, 1, 0, 3);
        number(w, 1, 2, 4);
        number(w, 1, 0, 5);
    });
    EXPECT_EQ(expectUndecodedAndAlike(unordered).later.sheets.at(0).peek(1, 2)->value.number(), 2.0);
}


// Whole numbers as RK values in one MULRK record, from `column` on.
void wholeNumbers(office::biff::RecordWriter& w, std::uint16_t row, std::uint16_t column,
                  std::initializer_list<std::int32_t> values) {
    w.begin(rec::kMulRk);
    w.u16(row);
    w.u16(column);
    for (const std::int32_t value : values) {
        w.u16(15);
        w.u32(static_cast<std::uint32_t>(value) << 2 | 2u);  // an integer, not divided by 100
    }
    w.u16(static_cast<std::uint16_t>(column + values.size() - 1));
    w.end();
}

// A row's cell is looked for first in the record its column would have if
// the row held a record per cell from column A on: rows that do not must
// still give every cell, and so must a row with more records than the
// sheet's list of them counts for one row.
TEST(LazyCells, RowsNotWrittenACellARecordFromColumnAGiveEveryCell) {
    const auto stream = oneSheet([](office::biff::RecordWriter& w) {
        number(w, 0, 2, 1);  // from column C on
        number(w, 0, 3, 2);
        number(w, 1, 0, 3);  // a gap at column B
        number(w, 1, 2, 4);
        number(w, 1, 3, 5);
        wholeNumbers(w, 2, 0, {6, 7, 8});  // one record for three cells
        number(w, 2, 3, 9);
        number(w, 3, 0, 10);
        wholeNumbers(w, 3, 1, {11, 12});
        number(w, 3, 3, 13);
        for (int k = 0; k < 70000; ++k) number(w, 4, 1, k);  // the last one counts
        number(w, 4, 0, 14);
    });
    const BothWays read = expectUndecodedAndAlike(stream);
    const SheetModel& later = read.later.sheets.at(0);
    EXPECT_EQ(later.peek(1, 3)->value.number(), 1.0);
    EXPECT_EQ(later.peek(2, 3)->value.number(), 4.0);
    EXPECT_EQ(later.peek(3, 3)->value.number(), 8.0);
    EXPECT_EQ(later.peek(4, 4)->value.number(), 13.0);
    EXPECT_EQ(later.peek(5, 2)->value.number(), 69999.0);
    EXPECT_EQ(later.peek(5, 1)->value.number(), 14.0);
}

}  // namespace
