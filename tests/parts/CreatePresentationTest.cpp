// Create the Presentation on the main window, played through the scripted
// window system against real base workbooks and the real engine.
#include <filesystem>

#include "core/ProgramEnd.h"
#include "groups/MainWindow.h"
#include "groups/UserForm00.h"
#include "parts/PartsFixture.h"

namespace partstest {
namespace {

namespace fs = std::filesystem;

class CreatePresentationTest : public PartsTest {
protected:
    void selectFirst() {
        windows.act([](ui::Form& form) { static_cast<groups::UserForm00&>(form).ListBox1.userSelect(0); });
    }
    groups::UserForm00* mainWindow() {
        return dynamic_cast<groups::UserForm00*>(windows.topForm());
    }
    std::string budget() {
        auto path = folder.path() / "budget.xls";
        fs::copy_file(testsupport::testData("budget.xls"), path, fs::copy_options::overwrite_existing);
        return path.string();
    }
};

TEST_F(CreatePresentationTest, WithoutAGroupNothingStartsAndTheWindowStays) {
    makeBaseWorkbook();
    windows.click("CommandButton5");  // empty list: nothing at all
    groups::RunMainWindow(ctx);
    EXPECT_TRUE(windows.boxes.empty());

    makeBaseWorkbook({{1, "Alpha", "", "d", "/x.xls", "S", "S", "", {}, {}, 100}});
    windows.autoAcknowledge = true;
    windows.click("CommandButton5");  // nothing selected
    selectFirst();
    windows.click("CommandButton5");
    windows.cancelInput();  // the version prompt left: the window stays as it was
    windows.act([](ui::Form& form) {
        auto& main = static_cast<groups::UserForm00&>(form);
        EXPECT_EQ(main.CommandButton5.caption(), "Create the Presentation ");
        EXPECT_EQ(main.ListBox1.ListIndex(), 0);
    });
    groups::RunMainWindow(ctx);
    ASSERT_EQ(windows.boxes.size(), 2u);
    EXPECT_EQ(windows.boxes[0].text, "Select a GroupName!");
    EXPECT_EQ(windows.boxes[1].kind, ui::ShownBox::Kind::Input);
    EXPECT_FALSE(ctx.state.BuildInProgress);
    EXPECT_TRUE(platform.started.empty());
}

TEST_F(CreatePresentationTest, ABuildReportsTheFileOpensItAndEndsTheProgram) {
    const std::string file = budget();
    makeBaseWorkbook({{1, "Quarter Review", "", "Totals", file, "Summary", "Totals", "", {}, {}, 100},
                      {2, "Quarter Review", "", "Gone", "/nowhere/gone.xls", "A", "B", "", {}, {}, 200}});
    selectFirst();
    windows.click("CommandButton5");
    windows.answerInput("2027");
    windows.answerInput("");

    // While the build runs: the caption counts, BuildInProgress is set, and
    // a click on the window is dropped.
    std::vector<std::string> captions;
    bool flagSeen = false;
    windows.onDoEvents = [&] {
        if (auto* main = mainWindow()) captions.push_back(main->CommandButton5.caption());
        flagSeen |= ctx.state.BuildInProgress;
    };
    windows.clickDuringPause("CommandButton1");
    // The report is shown over a green "OK" button.
    std::string buttonUnderReport;
    windows.onBox = [&](const ui::ShownBox& box) {
        if (box.text.rfind("The file:", 0) != 0) return;
        if (auto* main = mainWindow())
            buttonUnderReport = main->CommandButton5.caption() + " " +
                                std::to_string(main->CommandButton5.backColor() == ui::kGreen);
    };
    windows.answer(ui::Answer::Ok);  // the missing file
    windows.answer(ui::Answer::Ok);  // the report
    EXPECT_THROW(groups::RunMainWindow(ctx), core::ProgramEnded);

    const std::string path = ctx.state.DataFolder + "Quarter Review - 2027.xls";
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(windows.messages().back(), "The file:\r" + path + "\rhas been created!\r\r*****  With errors!  *****");
    EXPECT_EQ(buttonUnderReport, "OK 1");
    EXPECT_EQ(captions.front(), "Wait ...");
    EXPECT_EQ(captions.back(), "Wait ... 2/2");
    EXPECT_TRUE(flagSeen);
    EXPECT_FALSE(ctx.state.BuildInProgress);
    EXPECT_EQ(windows.droppedActions, 1);
    // The player starts on the Presentation, a program of its own; nothing
    // else opens it.
    EXPECT_EQ(platform.started,
              (std::vector<std::vector<std::string>>{{"/opt/tavolex/Tavolex", "--play", path}}));
    EXPECT_TRUE(platform.opened.empty());
}

TEST_F(CreatePresentationTest, ItalianReportAndAPlayerThatCannotStartShowsWhereTheFileIs) {
    ctx.state.LanguageCode = "I";
    makeBaseWorkbook({{1, "Gruppo", "", "Totali", budget(), "Summary", "Totali", "", {}, {}, 100}});
    platform.startFails = automation::AutomationError(53, "File not found");
    selectFirst();
    windows.click("CommandButton5");
    windows.answerInput("1");
    windows.answerInput("");
    windows.autoAcknowledge = true;
    EXPECT_THROW(groups::RunMainWindow(ctx), core::ProgramEnded);
    const std::string path = ctx.state.DataFolder + "Gruppo - 1.xls";
    const auto messages = windows.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "E' stato creato il file: \r" + path + "\r\r");
    EXPECT_EQ(messages[1], "Non e' stato possibile aprire la Presentazione: File not found\rE' salvata come:\r" + path);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(platform.started.empty());
}

}  // namespace
}  // namespace partstest
