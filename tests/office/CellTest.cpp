// A cell keeps its format number in its value's spare room, and shares its
// formula with its copies: values of every kind written over a cell leave the
// format alone, and a formula lives exactly as long as its last cell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "office/model/WorkbookModel.h"

namespace {

using automation::Variant;
using office::Cell;
using office::Formula;
using office::FormulaRef;

TEST(Cell, ValuesOfEveryKindWrittenOverACellKeepItsFormat) {
    const std::vector<Variant> values = {Variant(), Variant(1.5), Variant(std::string(40, 'x')), Variant("short"),
                                         Variant::boolean(true), Variant::error(7), Variant(), Variant(-2.0)};
    std::vector<Cell> cells(3);
    for (std::size_t i = 0; i < cells.size(); ++i) cells[i].xf = static_cast<std::uint16_t>(0xABC0 + i);
    for (const Variant& value : values) {
        for (Cell& cell : cells) cell.value = value;  // copied in
        cells[1].value = Variant(value);             // and moved in
        for (std::size_t i = 0; i < cells.size(); ++i) {
            EXPECT_EQ(cells[i].xf, static_cast<std::uint16_t>(0xABC0 + i)) << value.toText();
            EXPECT_EQ(cells[i].value, value);
        }
    }
    // Cells copied and moved whole, as rows grow and sheets are copied.
    std::vector<Cell> grown;
    for (int i = 0; i < 100; ++i) grown.push_back(Cell{Variant(std::to_string(i) + std::string(20, 'y')), std::uint16_t(i), nullptr});
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(grown[i].xf, i);
        EXPECT_EQ(grown[i].value.text(), std::to_string(i) + std::string(20, 'y'));
    }
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
    Cell a{Variant(1.0), 15, FormulaRef(Formula{{5}, {}})};
    Cell b{Variant(1.0), 15, FormulaRef(Formula{{5}, {}})};
    Cell c{Variant(1.0), 15, FormulaRef(Formula{{6}, {}})};
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(a, (Cell{Variant(1.0), 15, nullptr}));
}

}  // namespace
