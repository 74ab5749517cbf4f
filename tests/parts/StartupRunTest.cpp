// Start-up with a data folder: settings, the folder check with its messages,
// the base workbook test and the main window.
#include <gtest/gtest.h>

#include <fstream>

#include "StartupFakes.h"
#include "core/ProgramEnd.h"
#include "startup/Startup.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using startuptest::StartupHarness;

class StartupRunTest : public ::testing::Test {
protected:
    StartupHarness run;
    testsupport::TempFolder temp{"tavolex-start"};

    // A data folder that already holds its base workbook, so start-up creates none.
    std::string FolderWithBaseWorkbook(const std::string& name) {
        fs::path folder = temp.path() / name;
        fs::create_directories(folder);
        std::ofstream(folder / "BasePresentation.xls") << "kept as it is";
        return folder.string();
    }
    std::string BaseWorkbookText(const std::string& folder) {
        std::ifstream in(fs::path(folder) / "BasePresentation.xls");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(StartupRunTest, FolderWithBaseWorkbookGoesStraightToTheMainWindow) {
    std::string folder = FolderWithBaseWorkbook("Präsentation 2026");
    startup::Run(run.ctx, "  " + folder + "  ");

    EXPECT_EQ(run.calls, (std::vector<std::string>{"main window " + folder + "/"}));
    EXPECT_TRUE(run.windows.boxes.empty());
    EXPECT_EQ(run.ctx.state.DataFolder, folder + "/");
    EXPECT_EQ(run.ctx.state.LanguageCode, "E");
    EXPECT_EQ(run.windows.languageCode, "E");
    EXPECT_EQ(run.ctx.state.TitleText, "Tavolex 1.1");
    EXPECT_EQ(run.ctx.state.BaseFileName, "BasePresentation.xls");
    EXPECT_FALSE(run.ctx.state.BasePassword.empty());
    ASSERT_NE(run.ctx.state.FileSystem, nullptr);
    EXPECT_EQ(run.objects.excelRequests, 0);
    EXPECT_EQ(BaseWorkbookText(folder), "kept as it is");
}

TEST_F(StartupRunTest, ItalianSuffixSetsTheLanguageEverywhere) {
    std::string folder = FolderWithBaseWorkbook("dati");
    startup::Run(run.ctx, folder + "/ | i ");
    EXPECT_EQ(run.ctx.state.LanguageCode, "I");
    EXPECT_EQ(run.windows.languageCode, "I");
    EXPECT_EQ(run.calls, (std::vector<std::string>{"main window " + folder + "/"}));
}

TEST_F(StartupRunTest, MissingFolderIsReportedAndNothingIsCreated) {
    std::string missing = (temp.path() / "missing").string();
    run.windows.answer(ui::Answer::Ok);
    startup::Run(run.ctx, missing + "|I");

    ASSERT_EQ(run.windows.boxes.size(), 1u);
    const ui::ShownBox& box = run.windows.boxes[0];
    EXPECT_EQ(box.text, "Error!!!!\r76    Path not found\r" + missing + "/");
    EXPECT_EQ(box.buttons, ui::Buttons::Ok);
    EXPECT_EQ(box.title, "Tavolex");
    EXPECT_TRUE(run.calls.empty());
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(run.objects.excelRequests, 0);
    // The check comes before the fixed settings.
    EXPECT_EQ(run.ctx.state.BaseFileName, "");
}

TEST_F(StartupRunTest, FileGivenAsFolderFailsTheCheck) {
    fs::path file = temp.path() / "notes.txt";
    std::ofstream(file) << "x";
    run.windows.answer(ui::Answer::Ok);
    startup::Run(run.ctx, file.string());
    EXPECT_EQ(run.windows.messages(), (std::vector<std::string>{"Error!!!!\r76    Path not found\r" + file.string() + "/"}));
    EXPECT_TRUE(run.calls.empty());
}

TEST_F(StartupRunTest, EarlierBarsStayInTheFolderAndFailTheCheck) {
    std::string folder = FolderWithBaseWorkbook("data");
    run.windows.answer(ui::Answer::Ok);
    startup::Run(run.ctx, folder + "|E|I");
    EXPECT_EQ(run.windows.messages(), (std::vector<std::string>{"Error!!!!\r76    Path not found\r" + folder + "|E/"}));
    EXPECT_EQ(run.ctx.state.LanguageCode, "I");
    EXPECT_TRUE(run.calls.empty());
}

TEST_F(StartupRunTest, FileSystemObjectFailureEndsInTheUsersLanguage) {
    struct Case {
        const char* suffix;
        const char* message;
    };
    for (Case c : {Case{"", "Error opening 'FileSystemObject'."},
                   Case{"|I", "Errore nell'apertura del 'FileSystemObject'."},
                   Case{"|X", "Error opening 'FileSystemObject'."}}) {
        StartupHarness fresh;
        fresh.objects.fileSystemFails = true;
        fresh.windows.answer(ui::Answer::Ok);
        startup::Run(fresh.ctx, FolderWithBaseWorkbook("data") + c.suffix);
        EXPECT_EQ(fresh.windows.messages(), (std::vector<std::string>{c.message})) << c.suffix;
        EXPECT_EQ(fresh.windows.boxes.at(0).buttons, ui::Buttons::Ok);
        EXPECT_TRUE(fresh.calls.empty());
        EXPECT_EQ(fresh.ctx.state.FileSystem, nullptr);
    }
}

TEST_F(StartupRunTest, FactoryGivingNoFileSystemCountsAsAFailure) {
    run.objects.fileSystemMissing = true;
    run.windows.answer(ui::Answer::Ok);
    startup::Run(run.ctx, FolderWithBaseWorkbook("data"));
    EXPECT_EQ(run.windows.messages(), (std::vector<std::string>{"Error opening 'FileSystemObject'."}));
    EXPECT_TRUE(run.calls.empty());
}

TEST_F(StartupRunTest, FolderWithoutBaseWorkbookTriesToCreateOneFirst) {
    fs::create_directory(temp.path() / "new");
    run.windows.autoAcknowledge = true;
    startup::Run(run.ctx, (temp.path() / "new").string());
    // The fake factory cannot start Excel, so creation ends the program
    // before the main window.
    EXPECT_EQ(run.objects.excelRequests, 1);
    EXPECT_TRUE(run.calls.empty());
    EXPECT_FALSE(run.windows.boxes.empty());
}

TEST_F(StartupRunTest, ProgramEndingInsideTheMainWindowEndsRunQuietly) {
    std::string folder = FolderWithBaseWorkbook("data");
    run.ctx.seams.showMainWindow = [](core::Context&) { core::EndProgram(); };
    EXPECT_NO_THROW(startup::Run(run.ctx, folder));
}

TEST_F(StartupRunTest, UnwiredMainWindowIsAProgrammingErrorNotASilentEnd) {
    std::string folder = FolderWithBaseWorkbook("data");
    run.ctx.seams.showMainWindow = nullptr;
    EXPECT_THROW(startup::Run(run.ctx, folder), std::logic_error);
}

}  // namespace
