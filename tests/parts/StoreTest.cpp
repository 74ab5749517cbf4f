// Creating, opening, saving and discarding the base workbook; the fatal-error
// end; the pause and the file-kind helper.
#include <chrono>
#include <filesystem>
#include <fstream>

#include "core/ProgramEnd.h"
#include "parts/PartsFixture.h"
#include "store/BaseWorkbook.h"

namespace partstest {
namespace {

using automation::excel::SheetVisibility;

class StoreTest : public PartsTest {};

TEST_F(StoreTest, FixedSettingsNameTheFileAndAPasswordOfTwoLettersAndFourDigits) {
    EXPECT_EQ(ctx.state.BaseFileName, "BasePresentation.xls");
    const std::string& password = ctx.state.BasePassword;
    ASSERT_EQ(password.size(), 6u);
    EXPECT_TRUE(std::islower(password[0]) && std::islower(password[1]));
    for (int i = 2; i < 6; ++i) EXPECT_TRUE(std::isdigit(password[i]));
}

TEST_F(StoreTest, CreatedWorkbookHasStartThenVeryHiddenDataWithTheHeaderRow) {
    windows.answer(ui::Answer::Ok);
    store::CreateBaseWorkbook(ctx, ctx.state.DataFolder);
    ASSERT_EQ(windows.messages().size(), 1u);
    EXPECT_EQ(windows.messages()[0], "The Excel file     ==>     " + basePath() + "\n has been created!");
    EXPECT_EQ(objects.excelInstancesCreated, 1);

    auto app = objects.CreateExcel();
    automation::excel::OpenOptions options;
    options.password = ctx.state.BasePassword;
    auto workbook = app->GetWorkbooks().Open(basePath(), options);
    EXPECT_EQ(workbook->SheetNames(), (std::vector<std::string>{"START", "DATA"}));
    EXPECT_EQ(workbook->Worksheets("START")->Visible(), SheetVisibility::Visible);
    auto data = workbook->Worksheets("DATA");
    EXPECT_EQ(data->Visible(), SheetVisibility::VeryHidden);
    const char* headers[] = {"Pos.", "PresentationGroup", "Supp.", "Description", "FileName", "InpSheet",
                             "OutSheet", "ObjName", "FirstPage", "LastPage", "Sort"};
    for (long c = 1; c <= 11; ++c) {
        EXPECT_EQ(data->Cells(1, c)->Value().toText(), headers[c - 1]);
        EXPECT_TRUE(data->Cells(1, c)->GetFont().Bold());
        EXPECT_EQ(data->Cells(1, c)->GetFont().GetUnderline(), automation::excel::Underline::Single);
    }
    EXPECT_TRUE(data->Cells(1, 12)->Value().isEmpty());
    EXPECT_TRUE(data->Cells(2, 1)->Value().isEmpty());
    app->Quit();
}

TEST_F(StoreTest, CreatedWorkbookDoesNotOpenWithoutThePassword) {
    makeBaseWorkbook();
    auto app = objects.CreateExcel();
    EXPECT_THROW(app->GetWorkbooks().Open(basePath()), automation::AutomationError);
    automation::excel::OpenOptions wrong;
    wrong.password = "zz0000";
    EXPECT_THROW(app->GetWorkbooks().Open(basePath(), wrong), automation::AutomationError);
    app->Quit();
}

TEST_F(StoreTest, ItalianCreationMessage) {
    ctx.state.LanguageCode = "I";
    windows.answer(ui::Answer::Ok);
    store::CreateBaseWorkbook(ctx, ctx.state.DataFolder);
    EXPECT_EQ(windows.messages().at(0), "Il file Excel     ==>     " + basePath() + "\n e' stato creato!");
}

TEST_F(StoreTest, MissingExcelEndsTheProgramWithItsMessage) {
    objects.excelMissing = true;
    windows.answer(ui::Answer::Ok);
    EXPECT_THROW(store::CreateBaseWorkbook(ctx, ctx.state.DataFolder), core::ProgramEnded);
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Error opening Excel!"}));
    EXPECT_FALSE(std::filesystem::exists(basePath()));

    ctx.state.LanguageCode = "I";
    windows.answer(ui::Answer::Ok);
    EXPECT_THROW(store::OpenBaseWorkbook(ctx), core::ProgramEnded);
    EXPECT_EQ(windows.messages().back(), "Errore nell'apertura di Excel!");
}

TEST_F(StoreTest, AFailedSaveEndsWithTheErrorAndLeavesNoStrayFile) {
    // A folder in the way of the file: the save fails even with every right.
    std::filesystem::create_directory(basePath());
    windows.answer(ui::Answer::Ok);
    EXPECT_THROW(store::CreateBaseWorkbook(ctx, ctx.state.DataFolder), core::ProgramEnded);
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Not recoverable error!!!!\r1004    Cannot save '" +
                                                            basePath() +
                                                            "': it is a folder, and a workbook cannot replace it."}));
    EXPECT_TRUE(std::filesystem::is_directory(basePath()));
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        const std::string name = entry.path().filename().string();
        if (name.find("tavolex-lock") == std::string::npos && name.find("tavolex-queue") == std::string::npos) ++entries;
    }
    EXPECT_EQ(entries, 1) << "a temporary file was left behind";
}

TEST_F(StoreTest, DiscardLosesTheChangeAndSaveKeepsIt) {
    makeBaseWorkbook({{1, "Alpha"}});
    store::OpenBaseWorkbook(ctx);
    ctx.state.DataSheet->Cells(2, 2)->SetValue("Changed");
    store::CloseBaseWorkbookDiscard(ctx);
    EXPECT_EQ(readDataRows().at(0).at(1), "Alpha");
    EXPECT_EQ(ctx.state.ExcelApp, nullptr);
    EXPECT_EQ(ctx.state.BaseWorkbook, nullptr);
    EXPECT_EQ(ctx.state.DataSheet, nullptr);

    store::OpenBaseWorkbook(ctx);
    ctx.state.DataSheet->Cells(2, 2)->SetValue("Changed");
    store::SaveAndCloseBaseWorkbook(ctx);
    EXPECT_EQ(readDataRows().at(0).at(1), "Changed");
    EXPECT_EQ(ctx.state.ExcelApp, nullptr);
    EXPECT_TRUE(windows.boxes.empty());
}

TEST_F(StoreTest, DiscardWithNothingOpenDoesNothing) {
    store::CloseBaseWorkbookDiscard(ctx);
    EXPECT_TRUE(windows.boxes.empty());
    EXPECT_EQ(ctx.state.ExcelApp, nullptr);
}

TEST_F(StoreTest, OpeningAMissingBaseWorkbookRaisesToTheCaller) {
    EXPECT_THROW(store::OpenBaseWorkbook(ctx), automation::AutomationError);
    store::CloseBaseWorkbookDiscard(ctx);
}

TEST_F(StoreTest, FatalErrorShowsNumberAndDescriptionQuitsExcelAndEnds) {
    makeBaseWorkbook({{1, "Alpha"}});
    store::OpenBaseWorkbook(ctx);
    ctx.state.DataSheet->Cells(2, 2)->SetValue("never saved");
    auto app = ctx.state.ExcelApp;
    windows.answer(ui::Answer::Ok);
    EXPECT_THROW(store::FatalError(ctx, automation::AutomationError(1004, "Something failed")), core::ProgramEnded);
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Not recoverable error!!!!\r1004    Something failed"}));
    EXPECT_EQ(ctx.state.ExcelApp, nullptr);
    EXPECT_THROW(app->Visible(), automation::AutomationError);
    EXPECT_EQ(readDataRows().at(0).at(1), "Alpha");
}

TEST_F(StoreTest, AnotherHolderMakesTheOpenEndTheProgram) {
    makeBaseWorkbook({{1, "Alpha"}});
    auto holder = objects.CreateExcel();
    automation::excel::OpenOptions options;
    options.password = ctx.state.BasePassword;
    holder->GetWorkbooks().Open(basePath(), options);
    ctx.state.LanguageCode = "I";
    windows.answer(ui::Answer::Ok);
    EXPECT_THROW(store::OpenBaseWorkbook(ctx), core::ProgramEnded);
    EXPECT_EQ(windows.messages(),
              (std::vector<std::string>{"Tavolex sara' chiuso!\rIl file base e' in uso da un altro Tavolex."}));
    EXPECT_EQ(ctx.state.ExcelApp, nullptr);
    holder->Quit();
    // Once released, the next command opens normally.
    store::OpenBaseWorkbook(ctx);
    EXPECT_NE(ctx.state.DataSheet, nullptr);
    store::CloseBaseWorkbookDiscard(ctx);
}

TEST_F(StoreTest, ADamagedOrForeignStoreIsNamedWithWhatTheUserCanDo) {
    makeBaseWorkbook();
    for (const std::string& content : {std::string(), std::string("name;sort\nBudget;100\n")}) {
        { std::ofstream(basePath(), std::ios::trunc) << content; }
        try {
            store::OpenBaseWorkbook(ctx);
            ADD_FAILURE() << "a store of " << content.size() << " bytes opened";
        } catch (const automation::AutomationError& error) {
            EXPECT_EQ(error.number(), 1004);
            EXPECT_EQ(error.description(),
                      "The base workbook '" + basePath() +
                          "' cannot be opened: The file is not a workbook Tavolex can read: it is not an Excel "
                          "97-2003 (.xls) file.\rRestore a copy of it, or move it out of the data folder and start "
                          "Tavolex again: it then makes a new, empty one.");
        }
        store::CloseBaseWorkbookDiscard(ctx);
    }
}

TEST_F(StoreTest, AFolderInPlaceOfTheStoreIsCalledAFolder) {
    std::filesystem::create_directory(basePath());
    try {
        store::OpenBaseWorkbook(ctx);
        ADD_FAILURE() << "a folder opened";
    } catch (const automation::AutomationError& error) {
        EXPECT_EQ(error.description(), "'" + basePath() + "' is a folder, not a workbook file.");
    }
    store::CloseBaseWorkbookDiscard(ctx);
}

TEST_F(StoreTest, WaitSecondsPausesForElapsedTimeAndPumpsEvents) {
    ctx.state.WaitTime = 0;
    store::WaitSeconds(ctx);
    EXPECT_EQ(windows.eventPumps, 0);

    ctx.state.WaitTime = 0.5;
    const auto start = std::chrono::steady_clock::now();
    store::WaitSeconds(ctx);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(500));
    EXPECT_LT(elapsed, std::chrono::milliseconds(1500));
    EXPECT_GT(windows.eventPumps, 5);
}

TEST(FileExtension, TextAfterTheLastDotOrTheWholeName) {
    EXPECT_EQ(store::FileExtension("report.final.DOC"), "DOC");
    EXPECT_EQ(store::FileExtension("/data/book.xls"), "xls");
    EXPECT_EQ(store::FileExtension("README"), "README");
    EXPECT_EQ(store::FileExtension("/home/me/v1.2/notes"), "2/notes");
    EXPECT_EQ(store::FileExtension("trailing."), "");
    EXPECT_EQ(store::FileExtension(""), "");
}

}  // namespace
}  // namespace partstest
