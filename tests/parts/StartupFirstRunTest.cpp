// A start without a data folder: the instructions, the shortcut offer, the
// chooser, and the help window before the end.
#include <gtest/gtest.h>

#include "StartupFakes.h"
#include "startup/FirstRun.h"
#include "startup/Startup.h"

namespace {

using startuptest::StartupHarness;

const std::string kQuestion =
    "Run the program supplying as an argument the full path of the folder which will contain data.\r"
    "Ex.: c:\\Programs\\Tavolex.exe  c:\\MyFolder\r"
    "\r"
    "It is suggested to do as it follows:\r"
    "1. Create a Desktop shortcut at the program Tavolex.exe.\r"
    "2. Click right the icon and select Property.\r"
    "3. In 'Target' box, fill in with the folder full path on the right side of the program full path.\r"
    "\r"
    "(To uninstall, delete the shortcut, the program and the Excel file 'BasePresentation.xls' inside the folder, "
    "or press the button 'Uninstall').\r"
    "\r"
    "Do you want to create the shortcut automatically?";

const std::string kEnglishHelp = "help UserForm1: (Right click for printing.)";

TEST(FirstRun, QuestionBoxAsksWithYesAsDefaultUnderTheTitle) {
    StartupHarness run;
    run.windows.answer(ui::Answer::No);
    run.expectHelpWindow();
    startup::Run(run.ctx, "");
    ASSERT_FALSE(run.windows.boxes.empty());
    const ui::ShownBox& box = run.windows.boxes[0];
    EXPECT_EQ(box.text, kQuestion);
    EXPECT_EQ(box.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(box.defaultButton, ui::Answer::Yes);
    EXPECT_EQ(box.title, "Tavolex 1.1");
}

TEST(FirstRun, NoShowsTheHelpAndEnds) {
    for (const char* argument : {"", "   ", "|I"}) {
        StartupHarness run;
        run.windows.answer(ui::Answer::No);
        run.expectHelpWindow();
        startup::Run(run.ctx, argument);
        EXPECT_EQ(run.calls, (std::vector<std::string>{kEnglishHelp})) << "argument \"" << argument << "\"";
        EXPECT_EQ(run.windows.boxes.size(), 1u);
        EXPECT_EQ(run.windows.languageCode, "E");
        EXPECT_EQ(run.ctx.state.LanguageCode, "E");
        EXPECT_FALSE(run.windows.stepsLeft());
    }
}

TEST(FirstRun, YesMakesTheShortcutForTheChosenFolderThenShowsTheHelp) {
    StartupHarness run;
    run.chooserAnswer = "/home/anna/Präsentation 2026";
    run.windows.answer(ui::Answer::Yes);
    run.expectHelpWindow();
    startup::Run(run.ctx, "");

    EXPECT_EQ(run.calls, (std::vector<std::string>{"chooser", "shortcut Tavolex 1.1 -> /home/anna/Präsentation 2026",
                                                   kEnglishHelp}));
    EXPECT_EQ(run.stateSeenByChooser.ChooserMode, "FLD");
    EXPECT_EQ(run.stateSeenByChooser.ChooserPattern, "");
    EXPECT_EQ(run.stateSeenByChooser.ChooserCaption, "Select a folder or create new");
    EXPECT_EQ(run.stateSeenByChooser.ChooserResult, "");
    EXPECT_EQ(run.stateSeenByChooser.DataFolder, "/opt/tavolex/");
}

TEST(FirstRun, ChooserLeftByExitMakesNoShortcut) {
    StartupHarness run;
    run.ctx.state.ChooserResult = "/stale/answer";
    run.ctx.seams.showFolderChooser = [&run](core::Context& c) {
        run.calls.push_back("chooser");
        c.state.ChooserResult.clear();  // what the chooser's Exit leaves
    };
    run.windows.answer(ui::Answer::Yes);
    run.expectHelpWindow();
    startup::Run(run.ctx, " ");
    EXPECT_EQ(run.calls, (std::vector<std::string>{"chooser", kEnglishHelp}));
}

TEST(FirstRun, ChooserStartsInTheProgramFolderWithOneSeparator) {
    StartupHarness run;
    run.platform.programFolder = "/opt/tavolex/";
    run.windows.answer(ui::Answer::Yes);
    startup::Run(run.ctx, "");
    EXPECT_EQ(run.stateSeenByChooser.DataFolder, "/opt/tavolex/");

    StartupHarness unreadable;
    unreadable.platform.programFolderFails = true;
    unreadable.windows.answer(ui::Answer::Yes);
    startup::Run(unreadable.ctx, "");
    EXPECT_EQ(unreadable.stateSeenByChooser.DataFolder, "/");
    EXPECT_EQ(unreadable.calls.front(), "chooser");
}

TEST(FirstRun, NeitherMainWindowNorBaseWorkbookNorFileSystem) {
    StartupHarness run;
    run.chooserAnswer = "/home/anna/data";
    run.windows.answer(ui::Answer::Yes);
    startup::Run(run.ctx, "");
    for (const std::string& call : run.calls) EXPECT_EQ(call.find("main window"), std::string::npos) << call;
    EXPECT_EQ(run.objects.excelRequests, 0);
    EXPECT_EQ(run.ctx.state.FileSystem, nullptr);
    EXPECT_EQ(run.windows.formsShown, (std::vector<std::string>{"UserForm1"}));
}

TEST(FirstRun, ShortcutNameKeepsOneCharacterAfterTheFirstDot) {
    EXPECT_EQ(startup::ShortcutName("Tavolex 1.1"), "Tavolex 1.1");
    EXPECT_EQ(startup::ShortcutName("Tavolex 1.12.3"), "Tavolex 1.1");
    EXPECT_EQ(startup::ShortcutName("Tavolex 1."), "Tavolex 1.");
    EXPECT_EQ(startup::ShortcutName("Tavolex"), "Tavolex");
}

}  // namespace
