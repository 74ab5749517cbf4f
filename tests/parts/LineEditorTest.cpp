// The line editor played through the scripted window system against real
// base workbooks: the line list, loading a line, the fields' checks, and
// Save, Insert, Duplicate and Delete.
#include <filesystem>
#include <fstream>

#include "core/ProgramEnd.h"
#include "groups/MainWindow.h"
#include "groups/UserForm00.h"
#include "lines/Us_Menu.h"
#include "parts/PartsFixture.h"
#include "support/ScriptedChooser.h"

namespace partstest {
namespace {

using ui::Answer;

class LineEditorTest : public PartsTest {
protected:
    LineEditorTest() {
        windows.autoAcknowledge = true;  // OK boxes; questions still need their answer
        ctx.state.SelectedGroup = "Budget";
        ctx.state.GroupEditMode = "M";
        // Real files: a workbook with the sheets Data, Summary and Notes, a
        // one-page and a five-page document, and a file of another kind.
        for (const char* name : {"budget.xls", "memo.doc", "report.doc"})
            std::filesystem::copy_file(testsupport::testData(name), folder.path() / name);
        std::ofstream(folder.path() / "report.pdf") << "x";
    }
    std::string file(const std::string& name) const { return folder.withSeparator() + name; }

    // Begins a new line and gives it a file through the file box.
    void beginLine(const std::string& fileName, const std::string& description = "A line") {
        windows.click("CommandButton5");
        windows.typeText("TextBox3", description);
        windows.keyPress("TextBox1", 'x');
        testsupport::chooseFile(windows, file(fileName));
    }
    void saveNew(const std::string& sort) {
        windows.typeText("TextBox4", sort);
        windows.click("CommandButton1");
        windows.answer(Answer::Yes);
    }
    // Runs the editor until its close box.
    void run() { lines::ShowLineEditor(ctx); }
    lines::Us_Menu& editorOf(ui::Form& form) { return dynamic_cast<lines::Us_Menu&>(form); }
    std::vector<std::string> listOf(ui::Form& form) {
        std::vector<std::string> rows;
        auto& list = editorOf(form).ListBox1;
        for (int i = 0; i < list.ListCount(); ++i) rows.push_back(list.List(i));
        return rows;
    }
    std::vector<std::string> column(int c) {
        std::vector<std::string> values;
        for (const auto& row : readDataRows()) values.push_back(row[static_cast<std::size_t>(c)]);
        return values;
    }
};

TEST(TrailingNumber, DigitsAtTheEndAndThePositionBeforeThem) {
    long position = -1;
    EXPECT_EQ(lines::TrailingNumber("120S Budget          17", position), 17);
    EXPECT_EQ(position, 21);
    EXPECT_EQ(lines::TrailingNumber("no digits", position), 0);
    EXPECT_EQ(position, 9);
    EXPECT_EQ(lines::TrailingNumber("4096", position), 4096);
    EXPECT_EQ(position, 0);
}

TEST_F(LineEditorTest, ListsTheGroupsLinesSortedWithCodeAndDescription) {
    makeBaseWorkbook({{1, "Budget", "S", " Costs ", "", "", "", "", "", "", 300},
                      {2, "Other", "", "Elsewhere", "", "", "", "", "", "", 100},
                      {3, "budget", "", "Sales", "", "", "", "", "", "", 120},
                      {4, "Budget", "", "", "", "", "", "", "", "", 999},
                      {40000, "Budget", "P", "Big id", "", "", "", "", "", "", 200}});
    std::vector<std::string> rows;
    std::vector<std::int32_t> ids;
    bool frameHidden = false;
    windows.act([&](ui::Form& form) {
        rows = listOf(form);
        ids = ctx.state.LineIds;
        frameHidden = !editorOf(form).Frame3.visible();
    });
    run();
    EXPECT_EQ(rows, (std::vector<std::string>{"120  Sales", "200P Big id", "300S Costs", "999"}));
    EXPECT_EQ(ids, (std::vector<std::int32_t>{3, 40000, 1, 4}));
    EXPECT_TRUE(frameHidden);
}

TEST_F(LineEditorTest, TheFirstLineEverGoesToRowTwoWithIdOneAndSavingAgainRewritesIt) {
    makeBaseWorkbook();
    ctx.state.GroupEditMode = "I";
    beginLine("budget.xls", "Sales sheet");
    windows.selectItem("ListBox2", 1);
    windows.typeText("TextBox2", "Out costs");
    saveNew("120");
    windows.typeText("TextBox3", "Sales sheet, again");
    windows.click("CommandButton1");  // now an update: no question
    std::vector<std::string> rows;
    windows.act([&](ui::Form& form) { rows = listOf(form); });
    run();
    const auto data = readDataRows();
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0], (std::vector<std::string>{"1", "Budget", "", "Sales sheet, again", file("budget.xls"), "Summary",
                                                 "Out costs", "", "", "", "120"}));
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Do you confirm?"}));
    EXPECT_EQ(rows, (std::vector<std::string>{"120  Sales sheet, again"}));
}

TEST_F(LineEditorTest, AnInsertAfterADeleteTakesTheLastIdPlusOne) {
    makeBaseWorkbook({{1, "Budget", "", "a", file("memo.doc"), "", "", "", 0, 0, 100},
                      {2, "Budget", "", "b", file("memo.doc"), "", "", "", 0, 0, 200},
                      {3, "Budget", "", "c", file("memo.doc"), "", "", "", 0, 0, 300},
                      {4, "Other", "", "d", file("memo.doc"), "", "", "", 0, 0, 100},
                      {5, "Budget", "", "e", file("memo.doc"), "", "", "", 0, 0, 500}});
    windows.selectItem("ListBox1", 2);  // "300 c"
    windows.mouseUp("ListBox1", ui::kLeftButton);
    windows.click("CommandButton2");
    windows.answer(Answer::Yes);
    beginLine("memo.doc", "f");
    saveNew("600");
    run();
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "4", "5", "6"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"a", "b", "d", "e", "f"}));
}

TEST_F(LineEditorTest, SortNumbersAreReadInTheUsersNumbersAndRoundedHalfUp) {
    makeBaseWorkbook();
    std::vector<std::string> shown;
    windows.click("CommandButton5");
    for (const char* typed : {"099.6", "  7 ", "0", "abc"}) {
        windows.typeText("TextBox4", typed);
        windows.act([&](ui::Form& form) {
            auto& box = editorOf(form).TextBox4;
            shown.push_back(box.text() + (box.backColor() == ui::kRed ? " red" : ""));
        });
    }
    run();
    EXPECT_EQ(shown, (std::vector<std::string>{"100", "7", "", "abc red"}));
}

TEST_F(LineEditorTest, SaveChecksRunInOrderWithTheirMessages) {
    makeBaseWorkbook({{1, "Other", "", "x", file("memo.doc"), "", "", "", 0, 0, 150},
                      {2, "Budget", "", "y", file("budget.xls"), "Data", "Used", "", "", "", 160}});
    beginLine("report.doc");
    windows.typeText("TextBox4", "abc");
    windows.click("CommandButton1");  // a box in error comes before the range
    windows.typeText("TextBox4", "150");  // another group's number is no duplicate
    windows.typeText("TextBox5", "2");
    windows.typeText("TextBox6", "0");
    windows.click("CommandButton1");
    windows.typeText("TextBox5", "9");  // above the five pages
    windows.typeText("TextBox5", "0");
    windows.typeText("TextBox4", "160");  // this group's
    windows.click("CommandButton1");
    windows.keyPress("TextBox1", 'x');
    testsupport::chooseFile(windows, file("budget.xls"));
    windows.typeText("TextBox4", "170");
    windows.click("CommandButton1");
    windows.selectItem("ListBox2", 0);
    for (const char* name : {"data", "Sheet: one", "'quoted", "A name longer than thirty-one chars", "used"}) {
        windows.typeText("TextBox2", name);
        windows.click("CommandButton1");
    }
    windows.typeText("TextBox2", "Fine");
    windows.click("CommandButton1");
    windows.answer(Answer::No);  // the insert is not confirmed
    run();
    EXPECT_EQ(windows.messages(),
              (std::vector<std::string>{"Correct the errors!", "'From' > 'To'!", "'From' > max value!",
                                        "Sort number already exists!", "Input sheet not selected!",
                                        "data. Not allowed name!", "Sheet: one. A sheet name cannot contain : \\ / ? * [ ]",
                                        "'quoted. A sheet name cannot begin or end with an apostrophe!",
                                        "A name longer than thirty-one chars. Longer than 31 characters!",
                                        "used. Already used by another line of this group!", "Do you confirm?"}));
    EXPECT_EQ(readDataRows().size(), 2u);
}

TEST_F(LineEditorTest, AFileOfAnotherKindIsStoredNeverPrintedAndSaidOnce) {
    makeBaseWorkbook();
    beginLine("report.pdf");
    saveNew("100");
    windows.click("CommandButton1");
    std::string shownExclusion;
    windows.act([&](ui::Form& form) { shownExclusion = editorOf(form).ListBox3.Value(); });
    run();
    EXPECT_EQ(column(2), (std::vector<std::string>{"P"}));
    EXPECT_EQ(shownExclusion, "Print");
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Do you confirm?", "'Exclusion from' was changed..."}));
}

TEST_F(LineEditorTest, NoToTheDeleteQuestionChangesNothing) {
    makeBaseWorkbook({{1, "Budget", "", "a", file("memo.doc"), "", "", "", 0, 0, 100}});
    windows.selectItem("ListBox1", 0);
    windows.mouseUp("ListBox1", ui::kLeftButton);
    windows.click("CommandButton2");
    windows.answer(Answer::No);
    std::string mode;
    bool frameShown = false;
    windows.act([&](ui::Form& form) {
        mode = ctx.state.LineEditMode;
        frameShown = editorOf(form).Frame3.visible();
    });
    run();
    EXPECT_EQ(column(3), (std::vector<std::string>{"a"}));
    EXPECT_EQ(mode, "V");
    EXPECT_TRUE(frameShown);
}

TEST_F(LineEditorTest, DuplicateAndDeleteActOnlyOnALineLoadedInThisVisit) {
    makeBaseWorkbook({{1, "Budget", "", "a", file("memo.doc"), "", "", "", 0, 0, 100},
                      {2, "Other", "", "b", file("memo.doc"), "", "", "", 0, 0, 100}});
    ctx.state.SelectedGroup = "Other";
    windows.selectItem("ListBox1", 0);
    windows.mouseUp("ListBox1", ui::kLeftButton);  // a line of "Other" is loaded
    run();
    ctx.state.SelectedGroup = "Budget";
    windows.selectItem("ListBox1", 0);  // a keyboard move loads nothing
    windows.click("CommandButton2");
    windows.click("CommandButton6");
    run();
    const std::string notLoaded = "Click the line first: its fields are not shown.";
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{notLoaded, notLoaded}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"Budget", "Other"}));
}

TEST_F(LineEditorTest, ALineGoneAtSaveOrDeleteIsReportedAndNothingIsWritten) {
    makeBaseWorkbook({{1, "Budget", "", "a", file("memo.doc"), "", "", "", 0, 0, 100},
                      {2, "Budget", "", "b", file("memo.doc"), "", "", "", 0, 0, 200}});
    auto removeRowTwo = [this](ui::Form&) {
        auto app = objects.CreateExcel();
        automation::excel::OpenOptions options;
        options.password = ctx.state.BasePassword;
        auto book = app->GetWorkbooks().Open(basePath(), options);
        book->Worksheets("DATA")->Rows(2)->Delete();
        book->Save();
        app->Quit();
    };
    std::vector<std::string> captions;
    windows.onDoEvents = [&] { captions.push_back("pause"); };
    windows.selectItem("ListBox1", 0);
    windows.mouseUp("ListBox1", ui::kLeftButton);
    windows.act(removeRowTwo);  // another user deletes line 1
    windows.click("CommandButton1");
    windows.click("CommandButton2");
    windows.answer(Answer::Yes);
    run();
    const std::string gone = "1\r Does not exist!\rAnother user may have removed the line; nothing was written.";
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{gone, "Do you confirm?", gone}));
    EXPECT_EQ(column(0), (std::vector<std::string>{"2"}));
    EXPECT_TRUE(captions.empty()) << "a green OK was shown";
    EXPECT_EQ(ctx.state.ExcelApp, nullptr);
}

TEST_F(LineEditorTest, IdsAbove32767WorkAndNewIdsStayUnique) {
    makeBaseWorkbook({{40000, "Budget", "", "a", file("memo.doc"), "", "", "", 0, 0, 100},
                      {"x9", "Budget", "", "b", file("memo.doc"), "", "", "", 0, 0, 200}});
    windows.selectItem("ListBox1", 0);
    windows.mouseUp("ListBox1", ui::kLeftButton);
    windows.typeText("TextBox3", "changed");
    windows.click("CommandButton1");
    beginLine("memo.doc", "new");
    saveNew("300");
    run();
    EXPECT_EQ(column(0), (std::vector<std::string>{"40000", "x9", "1"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"changed", "b", "new"}));
}

TEST_F(LineEditorTest, SaveClickedTwiceDuringThePauseWritesOnce) {
    makeBaseWorkbook();
    beginLine("memo.doc");
    windows.typeText("TextBox4", "100");
    windows.click("CommandButton1");
    windows.answer(Answer::Yes);
    windows.clickDuringPause("CommandButton1");
    run();
    EXPECT_EQ(windows.droppedActions, 1);
    EXPECT_EQ(readDataRows().size(), 1u);
}

TEST_F(LineEditorTest, NewOpensTheEditorAndExitBringsBackTheMainWindowWithTheGroup) {
    makeBaseWorkbook();
    ctx.seams.showLineEditor = lines::ShowLineEditor;
    windows.click("CommandButton1");
    windows.answerInput("Fresh");
    beginLine("memo.doc");
    saveNew("100");
    windows.click("CommandButton3");  // Exit
    std::vector<std::string> groupsListed;
    windows.act([&](ui::Form& form) {
        auto& list = dynamic_cast<groups::UserForm00&>(form).ListBox1;
        for (int i = 0; i < list.ListCount(); ++i) groupsListed.push_back(list.List(i));
    });
    groups::RunMainWindow(ctx);
    EXPECT_EQ(windows.formsShown, (std::vector<std::string>{"UserForm00", "Us_Menu", "Form1", "UserForm00"}));
    EXPECT_EQ(groupsListed, (std::vector<std::string>{"Fresh"}));
    EXPECT_EQ(windows.deepestModalNesting, 2u) << "the windows take turns; only the chooser is modal over the editor";
}

TEST_F(LineEditorTest, ItalianTextsAndTheHeadingOfANewGroup) {
    makeBaseWorkbook();
    ctx.state.LanguageCode = "I";
    ctx.state.GroupEditMode = "I";
    windows.act([&](ui::Form& form) {
        auto& editor = editorOf(form);
        EXPECT_EQ(editor.caption(), "Tavolex 1.1");
        EXPECT_EQ(editor.Label3.caption(), "Inserimento Nuova Presentation Group: Budget");
        EXPECT_EQ(editor.CommandButton3.caption(), "Exit");
        EXPECT_EQ(editor.CommandButton1.caption(), "Salva");
        EXPECT_EQ(editor.ListBox3.ListCount(), 4);
        EXPECT_EQ(editor.TextBox1.container(), &editor.Frame3);
        EXPECT_EQ(editor.TextBox2.container(), &editor.Frame2);
        EXPECT_EQ(editor.TextBox5.container(), &editor.Frame1);
        EXPECT_TRUE(editor.TextBox1.locked());
    });
    run();
}

}  // namespace
}  // namespace partstest
