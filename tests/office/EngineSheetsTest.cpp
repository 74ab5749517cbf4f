// The application, workbooks and the sheet list on in-memory workbooks:
// adding, naming, hiding and deleting sheets, protection, Close and Quit.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "automation/AutomationError.h"
#include "office/engine/PasswordHash.h"

using automation::AutomationError;
using automation::Variant;
using namespace automation::excel;

namespace {

long errorNumber(const std::function<void()>& call) {
    try {
        call();
    } catch (const AutomationError& e) {
        return e.number();
    }
    return 0;
}

office::WorkbookModel programBase() {
    auto model = office::WorkbookModel::withDefaults();
    model.sheets.push_back(enginetest::sheetNamed("START"));
    model.sheets.push_back(enginetest::sheetNamed("Chart1", office::SheetKind::Chart, office::SheetVisibility::Hidden));
    model.sheets.push_back(
        enginetest::sheetNamed("DATA", office::SheetKind::Worksheet, office::SheetVisibility::VeryHidden));
    return model;
}

}  // namespace

TEST(EngineApplication, StartsHiddenWithoutWorkbooks) {
    auto app = enginetest::newApplication();
    EXPECT_FALSE(app->Visible());
    EXPECT_TRUE(app->DisplayAlerts());
    EXPECT_EQ(app->ActiveWorkbook(), nullptr);
    EXPECT_EQ(app->ActiveSheet(), nullptr);
    EXPECT_EQ(app->GetWorkbooks().Count(), 0);
    app->SetDisplayAlerts(false);
    EXPECT_FALSE(app->DisplayAlerts());
}

TEST(EngineApplication, AddGivesOneSheetAndTheLastBookStaysActiveUntilClosed) {
    auto app = enginetest::newApplication();
    auto first = app->GetWorkbooks().Add();
    auto second = app->GetWorkbooks().Add();
    EXPECT_EQ(first->Name(), "Book1");
    EXPECT_EQ(second->Name(), "Book2");
    EXPECT_EQ(first->FullName(), "");
    EXPECT_EQ(first->SheetNames(), std::vector<std::string>{"Sheet1"});
    EXPECT_EQ(app->GetWorkbooks().Count(), 2);
    EXPECT_EQ(app->ActiveWorkbook()->Name(), "Book2");
    EXPECT_EQ(app->ActiveSheet()->Name(), "Sheet1");

    second->Close(false);
    EXPECT_EQ(app->ActiveWorkbook()->Name(), "Book1");
    EXPECT_EQ(app->GetWorkbooks().Count(), 1);
    EXPECT_EQ(errorNumber([&] { second->Name(); }), 1004);
    EXPECT_THROW(second->Save(), AutomationError);
}

TEST(EngineWorkbook, FindsWorksheetsByPositionAndNameButListsChartSheetsToo) {
    auto app = enginetest::newApplication();
    auto book = enginetest::adoptModel(*app, programBase());
    EXPECT_EQ(book->WorksheetCount(), 2);
    EXPECT_EQ(book->WorksheetAt(2)->Name(), "DATA");
    EXPECT_EQ(book->Worksheets("data")->Name(), "DATA");
    EXPECT_EQ(book->SheetNames(), (std::vector<std::string>{"START", "Chart1", "DATA"}));
    EXPECT_EQ(errorNumber([&] { book->Worksheets("Chart1"); }), 9);
    EXPECT_EQ(errorNumber([&] { book->Worksheets("Missing"); }), 9);
    EXPECT_EQ(errorNumber([&] { book->WorksheetAt(0); }), 9);
    EXPECT_EQ(errorNumber([&] { book->WorksheetAt(3); }), 9);
    EXPECT_EQ(book->Worksheets("DATA")->Visible(), SheetVisibility::VeryHidden);
}

TEST(EngineWorkbook, AddsSheetsBeforeTheActiveOneWithFreeDefaultNames) {
    auto app = enginetest::newApplication();
    auto book = app->GetWorkbooks().Add();
    auto added = book->AddWorksheet();
    EXPECT_EQ(added->Name(), "Sheet2");
    EXPECT_EQ(app->ActiveSheet()->Name(), "Sheet2");
    book->WorksheetAt(2)->SetName("Sheet3");
    EXPECT_EQ(book->AddWorksheet()->Name(), "Sheet1");
    EXPECT_EQ(book->SheetNames(), (std::vector<std::string>{"Sheet1", "Sheet2", "Sheet3"}));
    // Handles follow their sheet when sheets are inserted before it.
    EXPECT_EQ(added->Name(), "Sheet2");
    added->Cells(1, 1)->SetValue(Variant("kept"));
    EXPECT_EQ(book->WorksheetAt(2)->Cells(1, 1)->Value(), Variant("kept"));
}

TEST(EngineWorksheet, ChecksNewNames) {
    auto app = enginetest::newApplication();
    auto book = enginetest::adoptModel(*app, programBase());
    auto start = book->Worksheets("START");
    for (std::string bad : {std::string(), std::string(32, 'x'), std::string("a/b"), std::string("a[1]"),
                            std::string("Q1?"), std::string("x:y"), std::string("*"), std::string("back\\slash"),
                            std::string("'quoted'"), std::string("data"), std::string("chart1")}) {
        EXPECT_EQ(errorNumber([&] { start->SetName(bad); }), 1004) << bad;
        EXPECT_EQ(start->Name(), "START");
    }
    start->SetName("Start");  // its own name in other case
    EXPECT_EQ(start->Name(), "Start");
    std::string umlauts;
    for (int i = 0; i < 31; ++i) umlauts += "ä";
    start->SetName(umlauts);
    EXPECT_EQ(start->Name(), umlauts);
    EXPECT_THROW(start->SetName(umlauts + "ä"), AutomationError);
}

TEST(EngineWorksheet, HidingKeepsOneSheetVisibleAndMovesTheActiveSheet) {
    auto app = enginetest::newApplication();
    auto book = app->GetWorkbooks().Add();
    auto second = book->AddWorksheet();  // active, before Sheet1
    second->SetVisible(SheetVisibility::VeryHidden);
    auto& model = dynamic_cast<office::engine::EngineWorkbook&>(*book).core()->model;
    EXPECT_EQ(model.sheets[0].visibility, office::SheetVisibility::VeryHidden);
    EXPECT_EQ(app->ActiveSheet()->Name(), "Sheet1");
    auto first = book->Worksheets("Sheet1");
    EXPECT_EQ(errorNumber([&] { first->SetVisible(SheetVisibility::Hidden); }), 1004);
    EXPECT_EQ(first->Visible(), SheetVisibility::Visible);
    second->SetVisible(SheetVisibility::Visible);
    first->SetVisible(SheetVisibility::Hidden);
    EXPECT_EQ(model.sheets[1].visibility, office::SheetVisibility::Hidden);
    EXPECT_EQ(first->Visible(), SheetVisibility::Hidden);
}

TEST(EngineWorksheet, DeletesAnyButTheLastVisibleSheet) {
    auto app = enginetest::newApplication();
    auto book = enginetest::adoptModel(*app, programBase());
    auto start = book->Worksheets("START");
    auto data = book->Worksheets("DATA");
    EXPECT_EQ(errorNumber([&] { start->Delete(); }), 1004);
    book->AddWorksheet();
    start->Delete();
    EXPECT_EQ(book->SheetNames(), (std::vector<std::string>{"Sheet1", "Chart1", "DATA"}));
    EXPECT_EQ(errorNumber([&] { start->Name(); }), 1004);
    EXPECT_EQ(data->Name(), "DATA");
    data->Delete();
    EXPECT_EQ(book->WorksheetCount(), 1);
}

TEST(EngineWorkbook, StructureProtectionBlocksSheetChangesUntilUnprotected) {
    auto app = enginetest::newApplication();
    auto book = app->GetWorkbooks().Add();
    book->Protect("bookpw");
    auto& protection = dynamic_cast<office::engine::EngineWorkbook&>(*book).core()->model.protection;
    EXPECT_TRUE(protection.structure);
    EXPECT_FALSE(protection.windows);
    EXPECT_EQ(protection.passwordHash, office::engine::protectionPasswordHash("bookpw"));
    EXPECT_THROW(book->AddWorksheet(), AutomationError);
    EXPECT_THROW(book->WorksheetAt(1)->SetName("Other"), AutomationError);
    book->WorksheetAt(1)->Cells(1, 1)->SetValue(Variant(1));  // cells stay editable
    EXPECT_THROW(book->Unprotect("BOOKPW"), AutomationError);
    EXPECT_TRUE(protection.structure);
    book->Unprotect("bookpw");
    EXPECT_FALSE(protection.structure);
    EXPECT_EQ(protection.passwordHash, 0);
    EXPECT_EQ(book->AddWorksheet()->Name(), "Sheet2");
}

TEST(EngineApplication, QuitEndsEveryObjectWithAnError) {
    auto app = enginetest::newApplication();
    auto book = app->GetWorkbooks().Add();
    auto sheet = book->WorksheetAt(1);
    auto range = sheet->Cells(1, 1);
    auto& font = range->GetFont();
    Workbooks& books = app->GetWorkbooks();
    app->Quit();
    const std::vector<std::function<void()>> calls{
        [&] { app->ActiveWorkbook(); },      [&] { app->Visible(); },
        [&] { app->Quit(); },                [&] { books.Add(); },
        [&] { books.Count(); },              [&] { book->Name(); },
        [&] { book->AddWorksheet(); },       [&] { book->SaveAs("/tmp/x.xls"); },
        [&] { sheet->Name(); },              [&] { sheet->Cells(1, 1); },
        [&] { range->Value(); },             [&] { range->SetValue(Variant(1)); },
        [&] { range->Address(); },           [&] { range->End(Direction::Down); },
        [&] { font.Bold(); },                [&] { range->Parent(); },
    };
    for (std::size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(errorNumber(calls[i]), 1004) << "call " << i;
}

namespace {

TEST(SheetModelCells, NewCellsTakeTheirOwnColumnsFormat) {
    office::SheetModel sheet;
    sheet.columns[0].xf = 21;  // column A
    sheet.columns[2].xf = 23;  // column C
    sheet.cellAt(1, 3).value = "C1";
    ASSERT_NE(sheet.cell(1, 1), nullptr);
    EXPECT_EQ(sheet.cell(1, 1)->xf, 21);
    EXPECT_EQ(sheet.cell(1, 2)->xf, 15);
    EXPECT_EQ(sheet.cell(1, 3)->xf, 23);
    sheet.rowAt(2).xf = 30;
    sheet.cellAt(2, 2);
    EXPECT_EQ(sheet.cell(2, 1)->xf, 30);
    EXPECT_EQ(sheet.cell(2, 2)->xf, 30);
}

}  // namespace
