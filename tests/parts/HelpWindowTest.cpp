// The help window: its texts, its layout, and printing on a right click.
#include <gtest/gtest.h>

#include "StartupFakes.h"
#include "startup/HelpText.h"
#include "startup/HelpWindow.h"

namespace {

using startuptest::StartupHarness;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\r', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(HelpText, EnglishHasItsLinesAndEndsWithFourCarriageReturns) {
    std::string text = startup::HelpText("E");
    std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[0], "(Right click for printing.)");
    EXPECT_EQ(lines[1], "USE (for further information, visit the website https://github.com/tavolex/tavolex)");
    EXPECT_EQ(lines[3], "  document pages, PowerPoint presentation slides and whatever other Windows file");
    EXPECT_EQ(lines[11], "INIZIALIZATION");
    EXPECT_EQ(lines[18], "  folder or press the button 'Uninstall'.");
    EXPECT_EQ(text.substr(text.size() - 5), ".\r\r\r\r");
    EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST(HelpText, ItalianHasItsLinesAndEndsWithOneCarriageReturn) {
    std::string text = startup::HelpText("I");
    std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[0], "(Per stampare cliccare con il tasto destro.)");
    EXPECT_EQ(lines[1], std::string("UTILIZZO (per ulteriori informazioni visitare il sito ") + startup::kWebSiteAddress + ")");
    EXPECT_EQ(lines[3], "  documenti Word, slide di presentazioni PowePoint e qualsiasi altro file Windows");
    EXPECT_EQ(lines[16], "- Mettendo |E in coda all'indirizzo della cartella, si ottiene la versione in lingua");
    EXPECT_EQ(lines[20], "- Cancellare il collegamento, il programma ed il file Excel 'BasePresentation.xls");
    EXPECT_EQ(lines[23], "   (help provvisorio)");
    EXPECT_EQ(text.substr(text.size() - 2), ")\r");
}

TEST(HelpText, OtherCodesHaveNoText) {
    for (const char* code : {"", "X", "IT", "e", "i"}) EXPECT_EQ(startup::HelpText(code), "") << code;
}

class HelpWindowTest : public ::testing::Test {
protected:
    StartupHarness run;

    // Shows the help window and runs `look` on it while it is open.
    void ShowAndLook(const std::function<void(startup::UserForm1&)>& look) {
        bool looked = false;
        run.windows.act([&](ui::Form& form) {
            look(dynamic_cast<startup::UserForm1&>(form));
            looked = true;
        });
        startup::ShowHelp(run.ctx);
        EXPECT_TRUE(looked);
    }
};

TEST_F(HelpWindowTest, OpensModallyWithTextCaptionAndCaretAtTheStart) {
    run.ctx.state.LanguageCode = "I";
    ShowAndLook([](startup::UserForm1& form) {
        EXPECT_EQ(form.caption(), "Tavolex 1.1  Tutorial");
        EXPECT_EQ(form.TextBox1.text(), startup::HelpText("I"));
        EXPECT_EQ(form.TextBox1.SelStart(), 0);
        EXPECT_EQ(form.TextBox1.SelLength(), 0);
        EXPECT_TRUE(form.showing());
    });
    EXPECT_EQ(run.windows.formsShown, (std::vector<std::string>{"UserForm1"}));
}

TEST_F(HelpWindowTest, UnknownCodeOpensEmptyWithTheCaptionSet) {
    run.ctx.state.LanguageCode = "X";
    ShowAndLook([](startup::UserForm1& form) {
        EXPECT_EQ(form.TextBox1.text(), "");
        EXPECT_EQ(form.caption(), "Tavolex 1.1  Tutorial");
    });
}

TEST_F(HelpWindowTest, LeftAndMiddleClicksAskNothing) {
    run.windows.click("TextBox1");
    run.windows.mouseUp("TextBox1", 4);
    startup::ShowHelp(run.ctx);
    EXPECT_TRUE(run.windows.boxes.empty());
    EXPECT_TRUE(run.windows.formsPrinted.empty());
}

TEST_F(HelpWindowTest, RightClickAsksOnceAndPrintsOnYes) {
    run.windows.mouseUp("TextBox1", ui::kRightButton, ui::kCtrlMask);
    run.windows.answer(ui::Answer::Yes);
    startup::ShowHelp(run.ctx);
    ASSERT_EQ(run.windows.boxes.size(), 1u);
    EXPECT_EQ(run.windows.boxes[0].text, "Do you confirm to print?");
    EXPECT_EQ(run.windows.boxes[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(run.windows.boxes[0].defaultButton, ui::Answer::Yes);
    EXPECT_EQ(run.windows.boxes[0].title, "Tavolex");
    EXPECT_EQ(run.windows.formsPrinted, (std::vector<std::string>{"UserForm1"}));
}

TEST_F(HelpWindowTest, RightClickAnsweredNoPrintsNothing) {
    run.ctx.state.LanguageCode = "I";
    run.windows.mouseUp("TextBox1", ui::kRightButton);
    run.windows.answer(ui::Answer::No);
    startup::ShowHelp(run.ctx);
    EXPECT_EQ(run.windows.messages(), (std::vector<std::string>{"Confermi la stampa?"}));
    EXPECT_TRUE(run.windows.formsPrinted.empty());
}

TEST_F(HelpWindowTest, TheTextCannotBeEditedButStillPrints) {
    run.windows.keyPress("TextBox1", 'x');
    run.windows.mouseUp("TextBox1", ui::kRightButton);
    run.windows.answer(ui::Answer::Yes);
    ShowAndLook([](startup::UserForm1& form) { EXPECT_EQ(form.TextBox1.text(), startup::HelpText("E")); });
    EXPECT_EQ(run.windows.formsPrinted, (std::vector<std::string>{"UserForm1"}));
}

TEST_F(HelpWindowTest, FilledAgainEachTimeItIsShown) {
    ShowAndLook([](startup::UserForm1& form) { EXPECT_EQ(form.TextBox1.text(), startup::HelpText("E")); });
    run.ctx.state.LanguageCode = "I";
    ShowAndLook([](startup::UserForm1& form) { EXPECT_EQ(form.TextBox1.text(), startup::HelpText("I")); });
}

}  // namespace
