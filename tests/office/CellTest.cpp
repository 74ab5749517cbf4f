// A cell keeps its format number in its value's spare room, shares its text
// and its formula with its copies: values of every kind written over a cell
// leave the format alone, a shared text or formula lives exactly as long as
// its last holder, and cells compare by what they hold, not where.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "office/XlsFile.h"
#include "office/engine/SheetCopy.h"
#include "office/model/WorkbookModel.h"

namespace {

using automation::Variant;
using office::Cell;
using office::CellText;
using office::CellValue;
using office::Formula;
using office::FormulaRef;

TEST(Cell, ValuesOfEveryKindWrittenOverACellKeepItsFormat) {
    const std::vector<CellValue> values = {CellValue(),         CellValue(1.5),         CellValue(std::string(40, 'x')),
                                           CellValue("short"),  CellValue::boolean(true), CellValue::error(7),
                                           CellValue(""),       CellValue(-2.0),        CellValue(std::string(300, 'z'))};
    std::vector<Cell> cells(3);
    for (std::size_t i = 0; i < cells.size(); ++i) cells[i].xf = static_cast<std::uint16_t>(0xABC0 + i);
    for (const CellValue& value : values) {
        for (Cell& cell : cells) cell.value = value;  // copied in
        cells[1].value = CellValue(value);           // and moved in
        cells[2].value = cells[2].value;             // and over itself
        for (std::size_t i = 0; i < cells.size(); ++i) {
            EXPECT_EQ(cells[i].xf, static_cast<std::uint16_t>(0xABC0 + i)) << value.toText();
            EXPECT_EQ(cells[i].value, value) << value.toText();
        }
    }
    // Cells copied and moved whole, as rows grow and sheets are copied.
    std::vector<Cell> grown;
    for (int i = 0; i < 100; ++i) grown.push_back(Cell{std::to_string(i) + std::string(20, 'y'), std::uint16_t(i), nullptr});
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(grown[i].xf, i);
        EXPECT_EQ(grown[i].value.text(), std::to_string(i) + std::string(20, 'y'));
    }
}

TEST(Cell, ValuesGoToTheAutomationCallsAndBackUnchanged) {
    const std::vector<Variant> values = {Variant(),           Variant(0.0),        Variant(-1e300),  Variant(""),
                                         Variant("Gruppo è"), Variant::boolean(false), Variant::boolean(true),
                                         Variant::error(0x2A), Variant(std::string("nul\0in", 6))};
    for (const Variant& v : values) {
        const CellValue held = CellValue::fromVariant(v);
        EXPECT_EQ(held.toVariant(), v) << v.toText();
        EXPECT_EQ(static_cast<int>(held.kind()), static_cast<int>(v.type())) << v.toText();
        EXPECT_EQ(held.toText(), v.toText());
    }
}

TEST(Cell, EqualTextsHeldApartAreEqualAndKindsNeverMix) {
    const CellValue a("Gruppo 1"), b(std::string("Gruppo ") + "1");
    EXPECT_FALSE(a.sharedText().sameAs(b.sharedText()));
    EXPECT_EQ(a, b);
    EXPECT_EQ((Cell{a, 15, nullptr}), (Cell{b, 15, nullptr}));
    EXPECT_NE(a, CellValue("Gruppo 2"));
    EXPECT_NE(a, CellValue("Gruppo 1 "));
    // The empty text is a text: not the empty cell, not zero, not FALSE.
    EXPECT_TRUE(CellValue("").isText());
    EXPECT_NE(CellValue(""), CellValue());
    EXPECT_NE(CellValue(0.0), CellValue());
    EXPECT_NE(CellValue(0.0), CellValue::boolean(false));
    EXPECT_NE(CellValue::boolean(false), CellValue::error(0));
    EXPECT_NE(CellValue::error(7), CellValue::error(0x0F));
    EXPECT_EQ(CellValue::error(7), CellValue::error(7));
}

TEST(Cell, ATextChangedInOneCellStaysInTheCellsSharingIt) {
    std::vector<Cell> row(4);
    row[0].value = CellValue("shared name");
    for (std::size_t i = 1; i < row.size(); ++i) row[i].value = row[0].value;
    ASSERT_TRUE(row[3].value.sharedText().sameAs(row[0].value.sharedText()));

    row[0].value = CellValue("renamed");  // a new text, not a change of the shared one
    row[1].value = 3.0;
    row[2].value = CellValue();
    EXPECT_EQ(row[3].value.text(), "shared name");
    EXPECT_EQ(row[0].value.text(), "renamed");
    EXPECT_TRUE(row[1].value.isNumber());
    // The last holder gone, the text goes; what is left is sound.
    row[3].value = row[0].value;
    EXPECT_EQ(row[3].value.text(), "renamed");
}

// A workbook as a store of lines: a few names repeated down a long column.
office::WorkbookModel storeLike(int rows) {
    office::WorkbookModel m = office::WorkbookModel::withDefaults();
    m.sheets.emplace_back().name = "Gruppi";
    for (int r = 1; r <= rows; ++r) {
        m.sheets[0].cellAt(r, 1).value = static_cast<double>(r);
        m.sheets[0].cellAt(r, 2).value = "Group " + std::to_string(r % 7) + " \u00E8\U0001F600";
    }
    return m;
}

TEST(Cell, TheReaderMakesEachSharedStringOnceForAllItsCells) {
    const office::WorkbookModel read = office::readXls(office::writeXls(storeLike(500), ""), "");
    const office::SheetModel& sheet = read.sheets.at(0);
    for (int r = 1; r <= 500; ++r) {
        const CellValue& value = sheet.cell(r, 2)->value;
        ASSERT_EQ(value.text(), "Group " + std::to_string(r % 7) + " \u00E8\U0001F600");
        const int first = r % 7 == 0 ? 7 : r % 7;
        EXPECT_TRUE(value.sharedText().sameAs(sheet.cell(first, 2)->value.sharedText())) << r;
    }
}

TEST(Cell, TextsSharedWithASheetCopiedToAnotherWorkbookOutliveTheSource) {
    office::WorkbookModel target = office::WorkbookModel::withDefaults();
    target.sheets.emplace_back().name = "Other";
    {
        const office::WorkbookModel source = office::readXls(office::writeXls(storeLike(50), ""), "");
        office::SheetModel copy = office::engine::copyOfSheet(source, source.sheets[0], target);
        EXPECT_TRUE(copy.cell(3, 2)->value.sharedText().sameAs(source.sheets[0].cell(3, 2)->value.sharedText()));
        copy.name = "Gruppi";
        target.sheets.push_back(std::move(copy));
        EXPECT_EQ(target.sheets[1].rows.all(), source.sheets[0].rows.all());
    }
    // The source is gone; the copy still reads, changes and saves whole.
    office::SheetModel& copy = target.sheets[1];
    copy.cellAt(3, 2).value = CellValue("changed");
    EXPECT_EQ(copy.cell(10, 2)->value.text(), "Group 3 \u00E8\U0001F600");
    const office::WorkbookModel back = office::readXls(office::writeXls(target, ""), "");
    for (std::uint32_t r = 1; r <= 50; ++r)
        for (std::uint32_t c = 1; c <= 2; ++c) EXPECT_EQ(back.sheets.at(1).cell(r, c)->value, copy.cell(r, c)->value) << r;
    EXPECT_EQ(back.sheets.at(1).cell(3, 2)->value.text(), "changed");
    EXPECT_EQ(back.sheets.at(1).cell(50, 2)->value.text(), "Group 1 \u00E8\U0001F600");
}

TEST(Cell, AFormulaIsSharedByCopiesAndOutlivesEveryHolderButTheLast) {
    FormulaRef first(Formula{{1, 2, 3}, {}});
    FormulaRef copy = first;
    EXPECT_TRUE(copy == first);
    // The reader completes the formula after handing it to its cell: every holder sees it.
    first.editShared().attached.push_back({0x04BC, {9}});
    ASSERT_EQ(copy->attached.size(), 1u);

    first.reset();
    EXPECT_FALSE(first);
    EXPECT_EQ(copy->parsed, (std::vector<std::uint8_t>{1, 2, 3}));

    FormulaRef& same = copy;
    copy = same;  // to itself
    EXPECT_EQ(copy->parsed.size(), 3u);
    FormulaRef moved = std::move(copy);
    EXPECT_FALSE(copy);
    EXPECT_EQ(moved->attached.at(0).id, 0x04BC);
    // Assigned over by a copy of a holder that then goes: the formula stays.
    {
        FormulaRef other(Formula{{7}, {}});
        FormulaRef keeper = other;
        other = moved;
        moved = keeper;
    }
    EXPECT_EQ(moved->parsed, (std::vector<std::uint8_t>{7}));

    // Cells compare their formulas by content.
    Cell a{1.0, 15, FormulaRef(Formula{{5}, {}})};
    Cell b{1.0, 15, FormulaRef(Formula{{5}, {}})};
    Cell c{1.0, 15, FormulaRef(Formula{{6}, {}})};
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(a, (Cell{1.0, 15, nullptr}));
}

}  // namespace
