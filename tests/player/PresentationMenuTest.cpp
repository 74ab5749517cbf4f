// The Presentation Menu over Presentations the real build wrote, played on
// the scripted window system: what it lists and shows, which line a click
// reaches, printing and its advice, the turns to a sheet and back.
#include <gtest/gtest.h>

#include "player/PlayPresentation.h"
#include "player/PlayerFixture.h"

namespace playertest {
namespace {

using player::PresentationLine;
using player::Us_Menu;

class PresentationMenuTest : public PlayerTest {
protected:
    // Plays `path`, recording what the menu asks of the player.
    void play(const std::string& path) {
        player::PlayerSeams seams;
        seams.showSheet = [this](core::Context&, const player::PresentationFile&, const PresentationLine& line) {
            calls.push_back("sheet " + line.description);
            EXPECT_TRUE(windows.modelessForms().empty()) << "a sheet fills the screen without the backdrop";
        };
        seams.actions.showObject = [this](const player::PresentationFile&, const PresentationLine& line) {
            calls.push_back("show " + line.description);
            EXPECT_EQ(backdropsUp(), 1) << "a document opens over the menu and its backdrop";
        };
        seams.actions.choosePrinter = [this](const std::string& kind) {
            calls.push_back("printer " + kind);
            return printerChosen;
        };
        seams.actions.printLine = [this](const PresentationLine& line) { calls.push_back("print " + line.description); };
        player::PlayPresentation(ctx, path, seams);
        EXPECT_FALSE(windows.stepsLeft());
    }

    // A step that looks at the menu on top.
    void check(const std::function<void(Us_Menu&)>& look) {
        windows.act([look](ui::Form& form) { look(dynamic_cast<Us_Menu&>(form)); });
    }

    // How many backdrops are up: the only modeless forms the player shows.
    int backdropsUp() const {
        int up = 0;
        for (const ui::Form* form : windows.modelessForms()) {
            EXPECT_EQ(form->name(), "Userform00");
            up += form->showing() ? 1 : 0;
        }
        return up;
    }

    std::vector<std::string> calls;
    bool printerChosen = true;
};

std::vector<std::string> entries(const Us_Menu& menu) {
    std::vector<std::string> texts;
    for (int k = 0; k < menu.ListBox1.ListCount(); ++k) texts.push_back(menu.ListBox1.List(k));
    return texts;
}

TEST_F(PresentationMenuTest, ListsTheShownLinesAndAClickReachesTheLineItNames) {
    const std::string path = reviewPresentation();
    check([](Us_Menu& menu) {
        EXPECT_EQ(menu.caption(), "Tavolex 1.1 - Presentation Menu");
        EXPECT_EQ(menu.clientWidth, 600);
        EXPECT_EQ(menu.clientHeight, 450);
        EXPECT_EQ(entries(menu), (std::vector<std::string>{" 1. Summary", " 2. The memo", " 3. The deck", " 4. Notes"}));
        EXPECT_EQ(menu.ListBox1.ListIndex(), -1);
        EXPECT_EQ(menu.Label4.caption(), "Review");
        EXPECT_EQ(menu.Label5.caption(), "3.1");
        EXPECT_EQ(menu.Label1.caption(), "Alt+F4 or Esc:        return this Menu");
        EXPECT_EQ(menu.CommandButton2.caption(), "Print the Presentation");
        EXPECT_EQ(menu.CommandButton2.toolTip(), "Only Excel,Word and PowerPoint");
    });
    // The second entry follows the unlisted "V" line: it is the memo.
    windows.clickItem("ListBox1", 1);
    // The entry already selected, clicked again, shows its line again.
    windows.clickItem("ListBox1", 1);
    windows.clickItem("ListBox1", 3);
    // Enter shows the selected line; the release alone of an Enter pressed
    // elsewhere (on a box over the menu) does not.
    windows.keyUp("ListBox1", 13);
    check([](Us_Menu& menu) { menu.ListBox1.fireKeyDown(13, 0); });
    windows.keyUp("ListBox1", 13);
    // A sheet: the menu goes, the sheet is shown, the menu comes back with its line selected.
    windows.clickItem("ListBox1", 0);
    check([](Us_Menu& menu) { EXPECT_EQ(menu.ListBox1.ListIndex(), 0); });
    windows.click("CommandButton1");
    play(path);

    EXPECT_EQ(calls, (std::vector<std::string>{"show The memo", "show The memo", "show Notes", "show Notes",
                                               "sheet Summary"}));
    EXPECT_EQ(windows.formsShown, (std::vector<std::string>{"Us_Menu", "Us_Menu"}));
    EXPECT_EQ(windows.deepestModalNesting, 1u);
    EXPECT_TRUE(windows.messages().empty());
    EXPECT_TRUE(objects.everythingClosed());
}

TEST_F(PresentationMenuTest, EveryMenuTurnStandsInFrontOfTheBackdropThatASheetTakesDown) {
    const std::string path = reviewPresentation();
    const auto backdropBehindTheMenu = [this] {
        windows.act([this](ui::Form& menu) {
            EXPECT_EQ(menu.name(), "Us_Menu");
            ASSERT_EQ(backdropsUp(), 1);
            const ui::Form& backdrop = *windows.modelessForms().front();
            EXPECT_TRUE(backdrop.loaded());
            EXPECT_EQ(backdrop.clientWidth, 768);
            EXPECT_EQ(backdrop.clientHeight, 576);
            EXPECT_EQ(backdrop.caption(), "");
            EXPECT_TRUE(backdrop.controls().empty());
        });
    };
    backdropBehindTheMenu();
    windows.clickItem("ListBox1", 0);  // a sheet: menu and backdrop go
    backdropBehindTheMenu();          // back from the sheet
    windows.clickItem("ListBox1", 1);  // the memo: both stay
    backdropBehindTheMenu();
    windows.click("CommandButton1");
    play(path);

    EXPECT_EQ(calls, (std::vector<std::string>{"sheet Summary", "show The memo"}));
    EXPECT_EQ(windows.modelessShown, (std::vector<std::string>{"Userform00", "Userform00"}));
    EXPECT_TRUE(windows.modelessForms().empty()) << "Exit takes the backdrop down";
}

TEST_F(PresentationMenuTest, AMenuEndedByAnErrorLeavesNoBackdropBehind) {
    const std::string path = reviewPresentation();
    // No Exit: the refused close box leaves the script stuck, and its error
    // unwinds out of the menu.
    player::PlayerSeams seams;
    EXPECT_THROW(player::PlayPresentation(ctx, path, seams), ui::ScriptError);
    EXPECT_EQ(windows.modelessShown, (std::vector<std::string>{"Userform00"}));
    EXPECT_TRUE(windows.modelessForms().empty());
    EXPECT_TRUE(objects.everythingClosed());
}

TEST_F(PresentationMenuTest, TheCloseBoxIsRefusedAndExitEnds) {
    ctx.state.LanguageCode = "I";
    const std::string path = reviewPresentation();
    windows.closeWindow();
    check([](Us_Menu& menu) {
        EXPECT_TRUE(menu.showing());
        EXPECT_EQ(menu.CommandButton2.caption(), "Stampa la Presentazione");
        EXPECT_EQ(menu.Label1.caption(), "Alt+F4 o Esc:           torna a questo Menu");
        EXPECT_EQ(menu.ListBox1.toolTip(), "Click: visualizza - Ctrl+Click: stampa una riga Excel,Word o PowerPoint");
    });
    windows.click("CommandButton1");
    play(path);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(windows.languageCode, "I");
}

TEST_F(PresentationMenuTest, CtrlClickPrintsOneLineAndThePrintButtonAllPrintedLines) {
    const std::string path = reviewPresentation();
    windows.clickItem("ListBox1", 3, ui::kCtrlMask);  // Notes: a text file
    windows.clickItem("ListBox1", 1, ui::kCtrlMask);  // the memo
    windows.clickItem("ListBox1", 2, ui::kCtrlMask);  // the deck ("P"), printed all the same when asked for
    windows.click("CommandButton2");
    windows.click("CommandButton1");
    play(path);

    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Print with the 'Print' button of the application!"}));
    EXPECT_EQ(calls, (std::vector<std::string>{"printer DOC", "print The memo", "printer PPT", "print The deck",
                                               "printer dmy", "print Summary", "print Figures", "print The memo"}));
}

TEST_F(PresentationMenuTest, ACancelledPrinterChoicePrintsNothing) {
    printerChosen = false;
    const std::string path = reviewPresentation();
    windows.click("CommandButton2");
    windows.clickItem("ListBox1", 0, ui::kCtrlMask);
    // Ctrl let go before the button: the next plain click shows its line.
    windows.clickItem("ListBox1", 1, ui::kCtrlMask);
    windows.clickItem("ListBox1", 2);
    windows.click("CommandButton1");
    play(path);
    EXPECT_EQ(calls, (std::vector<std::string>{"printer dmy", "printer XLS", "printer DOC", "show The deck"}));
}

TEST_F(PresentationMenuTest, TheHundredthEntryIsNumberedZeroZero) {
    const std::string path = reviewPresentation();
    // 115 sheet lines, every tenth kept out of the list.
    editPresentation(path, "pw", [this](automation::excel::Workbook& book) { fillDataRows(book, 115, "Totals", 10, "V"); });
    check([](Us_Menu& menu) {
        const auto texts = entries(menu);
        ASSERT_EQ(texts.size(), 104u);
        EXPECT_EQ(texts[8], " 9. Line 9");
        EXPECT_EQ(texts[9], "10. Line 11");
        EXPECT_EQ(texts[98], "99. Line 109");
        EXPECT_EQ(texts[99], "00. Line 111");
        EXPECT_EQ(texts[103], "04. Line 115");
        EXPECT_EQ(menu.Label4.caption(), "Many");
    });
    windows.clickItem("ListBox1", 99);
    // Back from the sheet, that entry is selected, not another line of the same sheet.
    check([](Us_Menu& menu) { EXPECT_EQ(menu.ListBox1.ListIndex(), 99); });
    windows.click("CommandButton1");
    play(path);
    EXPECT_EQ(calls, (std::vector<std::string>{"sheet Line 111"}));
}

TEST_F(PresentationMenuTest, ASheetThatIsGoneIsToldAndStillListed) {
    const std::string path = reviewPresentation();
    editPresentation(path, "pw", [](automation::excel::Workbook& book) { book.Sheets("Totals")->Delete(); });
    check([](Us_Menu& menu) { EXPECT_EQ(menu.ListBox1.List(0), " 1. Summary"); });
    windows.clickItem("ListBox1", 0);
    windows.click("CommandButton2");
    windows.click("CommandButton1");
    play(path);
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Summary\r\rHas been deleted!!", "Summary\r\rHas been deleted!!",
                                                            "Summary\r\rHas been deleted!!"}));
    // Nothing shown; printing goes on with the lines after it.
    EXPECT_EQ(calls, (std::vector<std::string>{"printer dmy", "print Figures", "print The memo"}));
}

TEST(MenuEntryText, NumbersKeepTheirLastTwoCharacters) {
    EXPECT_EQ(player::MenuEntryText(7, "Seven"), " 7. Seven");
    EXPECT_EQ(player::MenuEntryText(12, ""), "12. ");
    EXPECT_EQ(player::MenuEntryText(100, "x"), "00. x");
    EXPECT_EQ(player::MenuEntryText(1234, "x"), "34. x");
}

}  // namespace
}  // namespace playertest
