// Ranges on in-memory workbooks: values, Find/FindNext, End, Delete, Copy,
// hidden rows and columns, fonts.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "automation/AutomationError.h"
#include "office/engine/CellAddress.h"
#include "support/TestSupport.h"

using automation::AutomationError;
using automation::Variant;
using namespace automation::excel;

namespace {

class EngineRange : public ::testing::Test {
protected:
    void SetUp() override {
        app = enginetest::newApplication();
        book = app->GetWorkbooks().Add();
        sheet = book->WorksheetAt(1);
    }
    office::SheetModel& model() {
        return dynamic_cast<office::engine::EngineWorkbook&>(*book).core()->model.sheets[0];
    }
    void fillColumnA(std::initializer_list<Variant> values) {
        long row = 1;
        for (const Variant& v : values) sheet->Cells(row++, 1)->SetValue(v);
    }
    std::string found(const std::shared_ptr<Range>& range) { return range ? range->Address() : "nothing"; }
    std::string end(long row, long column, Direction direction) {
        return sheet->Cells(row, column)->End(direction)->Address();
    }

    std::shared_ptr<Application> app;
    std::shared_ptr<Workbook> book;
    std::shared_ptr<Worksheet> sheet;
};

}  // namespace

TEST_F(EngineRange, ReportsPositionAndAddressOfEveryShape) {
    EXPECT_EQ(sheet->Cells(5, 1)->Address(), "$A$5");
    EXPECT_EQ(sheet->Cells(5, 3)->Row(), 5);
    EXPECT_EQ(sheet->Cells(5, 3)->Column(), 3);
    EXPECT_EQ(sheet->Rows(3)->Address(), "$3:$3");
    EXPECT_EQ(sheet->Columns("K:K")->Address(), "$K:$K");
    EXPECT_EQ(sheet->Columns("K:K")->Column(), 11);
    EXPECT_EQ(sheet->GetRange("A1:K1")->Address(), "$A$1:$K$1");
    EXPECT_EQ(sheet->GetRange("$A$1")->Parent().Name(), "Sheet1");
}

TEST_F(EngineRange, RejectsCellsOffTheGrid) {
    for (auto [row, column] : {std::pair{0L, 1L}, {65537L, 1L}, {1L, 0L}, {1L, 257L}, {-1L, 1L}}) {
        try {
            sheet->Cells(row, column);
            ADD_FAILURE() << row << "," << column;
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.number(), 1004);
        }
    }
    EXPECT_THROW(sheet->Rows(0), AutomationError);
    EXPECT_THROW(sheet->GetRange("A0"), AutomationError);
    EXPECT_THROW(sheet->Columns("A1"), AutomationError);
    EXPECT_EQ(sheet->Cells(65536, 256)->Address(), "$IV$65536");
}

TEST_F(EngineRange, SetValueFillsBlocksAndCapsWholeColumnsAtTheUsedRows) {
    sheet->GetRange("A1:C2")->SetValue(Variant("x"));
    for (long r = 1; r <= 2; ++r)
        for (long c = 1; c <= 3; ++c) EXPECT_EQ(sheet->Cells(r, c)->Value(), Variant("x"));
    sheet->Cells(4, 1)->SetValue(Variant(7));

    sheet->Columns("B:B")->SetValue(Variant(1));
    EXPECT_EQ(model().rows.all().size(), 4u);  // no 65536 rows
    EXPECT_EQ(sheet->Cells(4, 2)->Value(), Variant(1));
    EXPECT_TRUE(sheet->Cells(5, 2)->Value().isEmpty());

    sheet->Rows(1)->SetValue(Variant());
    EXPECT_TRUE(sheet->Cells(1, 1)->Value().isEmpty());
    EXPECT_LE(model().rows.all()[0].cells.size(), 3u);  // clearing created no cells
    EXPECT_EQ(sheet->Cells(2, 1)->Value(), Variant("x"));
}

TEST_F(EngineRange, FindMatchesWholeOrPartTextIgnoringCaseAndNumbersByTheirText) {
    fillColumnA({Variant("Pos."), Variant(5), Variant("5"), Variant(15), Variant("Äpfel"), Variant(2.5)});
    auto column = sheet->Columns("A:A");
    EXPECT_EQ(found(column->Find(Variant(5), FindLookIn::Values, LookAt::Whole)), "$A$2");
    EXPECT_EQ(found(column->Find(Variant("5"), FindLookIn::Values, LookAt::Whole)), "$A$2");
    EXPECT_EQ(found(column->Find(Variant("15"), FindLookIn::Values, LookAt::Whole)), "$A$4");
    EXPECT_EQ(found(column->Find(Variant("äPFEL"), FindLookIn::Values, LookAt::Whole)), "$A$5");
    EXPECT_EQ(found(column->Find(Variant("pf"), FindLookIn::Values, LookAt::Part)), "$A$5");
    EXPECT_EQ(found(column->Find(Variant("2.5"), FindLookIn::Formulas, LookAt::Whole)), "$A$6");
    EXPECT_EQ(found(column->Find(Variant("pf"), FindLookIn::Values, LookAt::Whole)), "nothing");
    EXPECT_EQ(found(column->Find(Variant(6), FindLookIn::Values, LookAt::Whole)), "nothing");
    EXPECT_EQ(found(column->Find(Variant(""), FindLookIn::Values, LookAt::Part)), "nothing");
    EXPECT_EQ(found(sheet->Columns("B:B")->Find(Variant(5), FindLookIn::Values, LookAt::Part)), "nothing");
}

// A number matches the text it shows, which may round it or write it with
// an exponent; a text that only reads as the same number does not match.
TEST_F(EngineRange, FindMatchesANumberByTheTextItShowsNotByItsValue) {
    fillColumnA({Variant("Sort"), Variant(0.1 + 0.2), Variant(1e20), Variant(150), Variant(-0.5)});
    auto column = sheet->Columns("A:A");
    auto find = [&](const Variant& what) { return found(column->Find(what, FindLookIn::Values, LookAt::Whole)); };
    EXPECT_EQ(find(Variant("0.3")), "$A$2");
    EXPECT_EQ(find(Variant(0.3)), "$A$2");
    EXPECT_EQ(find(Variant("1e+20")), "$A$3");
    EXPECT_EQ(find(Variant("150")), "$A$4");
    EXPECT_EQ(find(Variant("-0.5")), "$A$5");
    for (const char* other : {"150.0", "1.5E+2", " 150", "150 ", "0.30000000000000004", "1E20", "abc"})
        EXPECT_EQ(find(Variant(other)), "nothing") << other;
}

TEST_F(EngineRange, FindStartsAfterTheFirstCellAndFindNextWrapsRound) {
    fillColumnA({Variant("id"), Variant(7), Variant(1), Variant(7), Variant(2), Variant(7)});
    auto column = sheet->Columns("A:A");
    auto first = column->Find(Variant(7), FindLookIn::Values, LookAt::Whole);
    ASSERT_TRUE(first);
    std::vector<std::string> seen{first->Address()};
    for (auto next = column->FindNext(*first); next && next->Address() != first->Address();
         next = column->FindNext(*next))
        seen.push_back(next->Address());
    EXPECT_EQ(seen, (std::vector<std::string>{"$A$2", "$A$4", "$A$6"}));
    EXPECT_EQ(column->FindNext(*sheet->Cells(6, 1))->Address(), "$A$2");

    // The first cell itself is looked at last.
    EXPECT_EQ(found(column->Find(Variant("ID"), FindLookIn::Values, LookAt::Whole)), "$A$1");
    EXPECT_EQ(found(sheet->GetRange("A2:A6")->Find(Variant(7), FindLookIn::Values, LookAt::Whole)), "$A$4");
    EXPECT_THROW(column->FindNext(*sheet->Cells(1, 2)), AutomationError);
}

TEST_F(EngineRange, FindOverSeveralColumnsGoesRowByRow) {
    sheet->Cells(2, 1)->SetValue(Variant("hit"));
    sheet->Cells(1, 2)->SetValue(Variant("hit"));
    sheet->Cells(3, 3)->SetValue(Variant("hit"));
    auto block = sheet->GetRange("A1:C3");
    auto first = block->Find(Variant("hit"), FindLookIn::Values, LookAt::Whole);
    EXPECT_EQ(found(first), "$B$1");
    EXPECT_EQ(found(block->FindNext(*first)), "$A$2");
    EXPECT_EQ(found(block->FindNext(*sheet->Cells(2, 1))), "$C$3");
    EXPECT_EQ(found(block->FindNext(*sheet->Cells(3, 3))), "$B$1");
}

TEST_F(EngineRange, EndMovesLikeCtrlArrow) {
    fillColumnA({Variant("a"), Variant("b"), Variant(), Variant(), Variant("e")});
    EXPECT_EQ(end(1, 1, Direction::Down), "$A$2");      // the last filled before the first empty
    EXPECT_EQ(end(2, 1, Direction::Down), "$A$5");      // from a block's end: the next filled
    EXPECT_EQ(end(3, 1, Direction::Down), "$A$5");      // from an empty cell: the next filled
    EXPECT_EQ(end(5, 1, Direction::Down), "$A$65536");  // nothing below
    EXPECT_EQ(end(65536, 1, Direction::Down), "$A$65536");
    EXPECT_EQ(end(65536, 1, Direction::Up), "$A$5");
    EXPECT_EQ(end(5, 1, Direction::Up), "$A$2");
    EXPECT_EQ(end(2, 1, Direction::Up), "$A$1");
    EXPECT_EQ(end(1, 1, Direction::Up), "$A$1");
    EXPECT_EQ(end(1, 2, Direction::Down), "$B$65536");  // an empty column
    EXPECT_EQ(sheet->Columns("A:A")->End(Direction::Down)->Address(), "$A$2");

    sheet->GetRange("A1:C1")->SetValue(Variant(1));
    EXPECT_EQ(end(1, 1, Direction::ToRight), "$C$1");
    EXPECT_EQ(end(1, 3, Direction::ToRight), "$IV$1");
    EXPECT_EQ(end(1, 256, Direction::ToLeft), "$C$1");
    EXPECT_EQ(end(1, 3, Direction::ToLeft), "$A$1");
    EXPECT_EQ(end(2, 1, Direction::ToRight), "$IV$2");
}

TEST_F(EngineRange, DeletingRowsMovesTheRowsBelowUp) {
    fillColumnA({Variant(1), Variant(2), Variant(3), Variant(4), Variant(5)});
    sheet->Rows(2)->Delete();
    EXPECT_EQ(sheet->Cells(2, 1)->Value(), Variant(3));
    sheet->GetRange("2:3")->Delete();
    EXPECT_EQ(sheet->Cells(1, 1)->Value(), Variant(1));
    EXPECT_EQ(sheet->Cells(2, 1)->Value(), Variant(5));
    EXPECT_TRUE(sheet->Cells(3, 1)->Value().isEmpty());
    sheet->Rows(2)->Delete();  // the last row
    EXPECT_EQ(sheet->Cells(1, 1)->End(Direction::Down)->Row(), 65536);
    EXPECT_NO_THROW(sheet->Rows(60000)->Delete());  // beyond the used rows
    EXPECT_EQ(sheet->Cells(1, 1)->Value(), Variant(1));
}

TEST_F(EngineRange, DeletingColumnsAndBlocksShiftsTheRest) {
    sheet->GetRange("A1:D1")->SetValue(Variant("r1"));
    sheet->GetRange("A2:D2")->SetValue(Variant("r2"));
    sheet->Cells(1, 3)->SetValue(Variant("c"));
    sheet->Columns("C:C")->SetHidden(true);
    sheet->Columns("B:B")->Delete();
    EXPECT_EQ(sheet->Cells(1, 2)->Value(), Variant("c"));
    EXPECT_TRUE(sheet->Columns("B:B")->Hidden());
    EXPECT_FALSE(sheet->Columns("C:C")->Hidden());

    // A wide block closes from below, only within its columns.
    sheet->GetRange("A1:B1")->Delete();
    EXPECT_EQ(sheet->Cells(1, 1)->Value(), Variant("r2"));
    EXPECT_TRUE(sheet->Cells(2, 1)->Value().isEmpty());
    EXPECT_EQ(sheet->Cells(1, 3)->Value(), Variant("r1"));
    // A tall block closes from the right: rows 1 and 2 lose their first cell.
    sheet->GetRange("A1:A2")->Delete();
    EXPECT_EQ(sheet->Cells(1, 1)->Value(), Variant("r2"));
    EXPECT_EQ(sheet->Cells(1, 2)->Value(), Variant("r1"));
    EXPECT_EQ(sheet->Cells(2, 2)->Value(), Variant("r2"));
    EXPECT_TRUE(sheet->Cells(2, 1)->Value().isEmpty());
}

TEST_F(EngineRange, CopyingRowsCarriesValuesAndFormatsAndReplacesTheTarget) {
    sheet->GetRange("A2:C2")->SetValue(Variant("line"));
    sheet->Rows(2)->GetFont().SetBold(true);
    sheet->GetRange("A5:E5")->SetValue(Variant("old"));
    sheet->Rows(2)->Copy(*sheet->Rows(5));
    EXPECT_EQ(sheet->Cells(5, 3)->Value(), Variant("line"));
    EXPECT_TRUE(sheet->Cells(5, 1)->GetFont().Bold());
    EXPECT_TRUE(sheet->Cells(5, 5)->Value().isEmpty());
    EXPECT_TRUE(sheet->Cells(5, 9)->GetFont().Bold());  // the row format came along
    EXPECT_EQ(model().rows.all()[4], model().rows.all()[1]);

    // Overlapping source and target.
    sheet->Cells(1, 1)->SetValue(Variant("first"));
    sheet->GetRange("1:2")->Copy(*sheet->Cells(2, 1));
    EXPECT_EQ(sheet->Cells(2, 1)->Value(), Variant("first"));
    EXPECT_EQ(sheet->Cells(3, 1)->Value(), Variant("line"));
    EXPECT_THROW(sheet->Rows(1)->Copy(*sheet->Cells(4, 2)), AutomationError);
    EXPECT_THROW(sheet->GetRange("1:2")->Copy(*sheet->Rows(65536)), AutomationError);
}

TEST_F(EngineRange, CopyingCellsAndColumns) {
    sheet->Cells(1, 1)->SetValue(Variant(1));
    sheet->Cells(1, 2)->SetValue(Variant("two"));
    sheet->Cells(4, 5)->SetValue(Variant("overwritten"));
    sheet->GetRange("A1:B2")->Copy(*sheet->Cells(3, 4));
    EXPECT_EQ(sheet->Cells(3, 4)->Value(), Variant(1));
    EXPECT_EQ(sheet->Cells(3, 5)->Value(), Variant("two"));
    EXPECT_TRUE(sheet->Cells(4, 5)->Value().isEmpty());
    EXPECT_THROW(sheet->GetRange("A1:B1")->Copy(*sheet->Cells(1, 256)), AutomationError);

    sheet->Columns("A:A")->SetHidden(true);
    sheet->Columns("A:A")->Copy(*sheet->Columns("H:H"));
    EXPECT_EQ(sheet->Cells(1, 8)->Value(), Variant(1));
    EXPECT_TRUE(sheet->Columns("H:H")->Hidden());
}

TEST_F(EngineRange, CopyingIntoAnotherWorkbookKeepsTheFont) {
    sheet->Cells(1, 1)->SetValue(Variant("bold"));
    sheet->Cells(1, 1)->GetFont().SetBold(true);
    sheet->Cells(1, 1)->GetFont().SetUnderline(Underline::Double);
    auto other = app->GetWorkbooks().Add();
    auto target = other->WorksheetAt(1);
    sheet->Rows(1)->Copy(*target->Rows(3));
    EXPECT_EQ(target->Cells(3, 1)->Value(), Variant("bold"));
    EXPECT_TRUE(target->Cells(3, 1)->GetFont().Bold());
    EXPECT_EQ(target->Cells(3, 1)->GetFont().GetUnderline(), Underline::Double);
    EXPECT_FALSE(target->Cells(3, 2)->GetFont().Bold());
}

TEST_F(EngineRange, HidesWholeColumnsAndRowsOnly) {
    sheet->Columns("K:K")->SetHidden(true);
    EXPECT_TRUE(sheet->Columns("K:K")->Hidden());
    EXPECT_TRUE(model().columns.at(10).hidden);
    EXPECT_FALSE(sheet->Columns("J:K")->Hidden());
    sheet->Columns("A:Z")->SetHidden(true);
    EXPECT_TRUE(sheet->Columns("B:C")->Hidden());
    sheet->Columns("A:Z")->SetHidden(false);
    EXPECT_FALSE(sheet->Columns("K:K")->Hidden());

    sheet->Rows(3)->SetHidden(true);
    EXPECT_TRUE(sheet->Rows(3)->Hidden());
    EXPECT_FALSE(sheet->Rows(2)->Hidden());
    EXPECT_FALSE(sheet->Rows(400)->Hidden());
    EXPECT_THROW(sheet->Cells(1, 1)->Hidden(), AutomationError);
    EXPECT_THROW(sheet->GetRange("A1:B2")->SetHidden(true), AutomationError);
}

TEST_F(EngineRange, RowFontReachesEveryCellOfTheRowAndLaterOnes) {
    sheet->GetRange("A1:K1")->SetValue(Variant("head"));
    sheet->Cells(2, 1)->SetValue(Variant("line"));
    auto header = sheet->Rows(1);
    header->GetFont().SetBold(true);
    header->GetFont().SetUnderline(Underline::Single);
    for (long c = 1; c <= 11; ++c) {
        EXPECT_TRUE(sheet->Cells(1, c)->GetFont().Bold()) << c;
        EXPECT_EQ(sheet->Cells(1, c)->GetFont().GetUnderline(), Underline::Single) << c;
    }
    ASSERT_TRUE(model().rows.all()[0].xf.has_value());
    sheet->Cells(1, 20)->SetValue(Variant("late"));  // a new cell takes the row's format
    EXPECT_TRUE(sheet->Cells(1, 20)->GetFont().Bold());
    EXPECT_FALSE(sheet->Cells(2, 1)->GetFont().Bold());
    EXPECT_EQ(sheet->Cells(2, 1)->GetFont().GetUnderline(), Underline::None);

    sheet->Cells(1, 2)->GetFont().SetBold(false);
    EXPECT_FALSE(sheet->Cells(1, 2)->GetFont().Bold());
    EXPECT_EQ(sheet->Cells(1, 2)->GetFont().GetUnderline(), Underline::Single);
    EXPECT_TRUE(sheet->Cells(1, 3)->GetFont().Bold());

    sheet->Columns("D:D")->GetFont().SetBold(true);
    EXPECT_TRUE(sheet->Cells(2, 4)->GetFont().Bold());
    EXPECT_TRUE(sheet->Cells(500, 4)->GetFont().Bold());
    EXPECT_EQ(model().rows.all().size(), 2u);
}

// A block read at once must give what its cells give one by one: on every
// sample as read (rows still undecoded), with a row changed in between
// (decoded), and for a block that starts inside the sheet and runs past its
// end, whose rows stop at the sheet's last row.
TEST(EngineRangeValues, ABlockReadsAsItsCellsDoOneByOneOnEverySample) {
    auto app = enginetest::newApplication();
    long compared = 0;
    auto expectSame = [&](Worksheet& sheet, const std::string& address) {
        SCOPED_TRACE(sheet.Name() + "!" + address);
        auto range = sheet.GetRange(address);
        ValueBlock block = range->Values();
        if (block.values.size() != static_cast<std::size_t>(block.rows * block.columns)) {
            ADD_FAILURE() << block.values.size() << " values for " << block.rows << " x " << block.columns;
            return ValueBlock{};
        }
        for (long r = 1; r <= block.rows; ++r)
            for (long c = 1; c <= block.columns; ++c) {
                const Variant one = sheet.Cells(range->Row() + r - 1, range->Column() + c - 1)->Value();
                if (block.at(r, c) != one) {
                    ADD_FAILURE() << "row " << r << ", column " << c << ": " << block.at(r, c).toText()
                                  << " read at once, " << one.toText() << " alone";
                    return block;
                }
                ++compared;
            }
        return block;
    };
    for (const testsupport::SampleWorkbook& sample : testsupport::sampleWorkbooks()) {
        SCOPED_TRACE(sample.path.filename().string());
        auto book = app->GetWorkbooks().Open(sample.path.string(), OpenOptions{sample.password, 0, true});
        for (long i = 1; i <= book->WorksheetCount(); ++i) {
            auto sheet = book->WorksheetAt(i);
            const ValueBlock whole = sheet->AllCells()->Values();
            if (whole.rows == 0) continue;
            expectSame(*sheet, "A1:" + office::engine::columnLetters(static_cast<std::uint32_t>(whole.columns)) +
                                   std::to_string(whole.rows));
            const long middle = (whole.rows + 1) / 2;
            const bool change = !sheet->ProtectContents();  // a protected sheet refuses it
            if (change) sheet->Cells(middle, 2)->SetValue(Variant("changed"));
            const ValueBlock tail = expectSame(*sheet, "B" + std::to_string(middle) + ":D" + std::to_string(whole.rows + 50));
            EXPECT_EQ(tail.rows, whole.rows - middle + 1);
            if (change && tail.rows > 0) {
                EXPECT_EQ(tail.at(1, 1), Variant("changed"));
            }
        }
        book->Close(false);
    }
    EXPECT_GT(compared, 1000);  // the samples hold cells to compare
}
