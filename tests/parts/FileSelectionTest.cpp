// The line's file in the line editor, played through the scripted window
// system with the real chooser and the real probe: a key or a click opens
// the chooser, Alt+click views the file, a chosen file is probed at once and
// the page boxes' tips follow its kind.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/ProgramEnd.h"
#include "lines/Us_Menu.h"
#include "parts/PartsFixture.h"
#include "startup/Form1.h"
#include "support/ScriptedChooser.h"

namespace partstest {
namespace {

namespace fs = std::filesystem;

class FileSelectionTest : public PartsTest {
protected:
    FileSelectionTest() {
        windows.autoAcknowledge = true;
        ctx.state.SelectedGroup = "Budget";
        ctx.state.GroupEditMode = "M";
        fs::create_directories(folder.path() / "docs");
        for (const char* name : {"budget.xls", "deck.ppt"}) fs::copy_file(testsupport::testData(name), folder.path() / name);
        fs::copy_file(testsupport::testData("report.doc"), folder.path() / "docs" / "report.doc");
    }
    std::string file(const std::string& name) const { return folder.withSeparator() + name; }
    lines::Us_Menu& editorOf(ui::Form& form) { return dynamic_cast<lines::Us_Menu&>(form); }
    void clickLine(int row) {
        windows.selectItem("ListBox1", row);
        windows.mouseUp("ListBox1", ui::kLeftButton);
    }
    // What the form on top is called, seen from inside its modal loop.
    void noteForm(std::vector<std::string>& names) {
        windows.act([&names](ui::Form& form) { names.push_back(form.name()); });
    }
};

TEST_F(FileSelectionTest, ExactlyAltViewsTheFileOtherShiftStatesOpenTheChooser) {
    makeBaseWorkbook({{1, "Budget", "", "sheet", file("budget.xls"), "Data", "Out", "", "", "", 100},
                      {2, "Budget", "", "gone", file("gone.xls"), "Data", "Out2", "", "", "", 200}});
    std::vector<std::string> onTop;
    clickLine(0);
    windows.mouseUp("TextBox1", ui::kLeftButton, ui::kAltMask);
    for (int shift : {ui::kAltMask | ui::kCtrlMask, ui::kAltMask | ui::kShiftMask, 0}) {
        windows.mouseUp("TextBox1", ui::kLeftButton, shift);
        noteForm(onTop);
        windows.click("Command2");  // Exit: nothing chosen
    }
    clickLine(1);
    windows.mouseUp("TextBox1", ui::kLeftButton, ui::kAltMask);  // a missing file: nothing
    lines::ShowLineEditor(ctx);
    EXPECT_EQ(platform.opened, (std::vector<std::string>{file("budget.xls")}));
    EXPECT_EQ(onTop, (std::vector<std::string>{"Form1", "Form1", "Form1"}));
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{file("gone.xls") + "\r Does not exist!"}));
}

TEST_F(FileSelectionTest, TheChooserStartsInTheLinesFolderAndExitChangesNothing) {
    makeBaseWorkbook({{1, "Budget", "", "doc", file("docs/report.doc"), "", "", "", 1, 5, 100}});
    std::string startFolder, caption, shownAfter;
    bool filesShown = false;
    clickLine(0);
    windows.keyPress("TextBox1", 'k');
    windows.act([&](ui::Form& form) {
        auto& chooser = dynamic_cast<startup::Form1&>(form);
        startFolder = chooser.CurrentFolder;
        caption = chooser.caption();
        filesShown = chooser.File1.visible() && chooser.File1.ListCount() == 1;
    });
    windows.click("Command2");
    windows.act([&](ui::Form& form) { shownAfter = editorOf(form).TextBox1.text(); });
    lines::ShowLineEditor(ctx);
    EXPECT_EQ(startFolder, file("docs/"));
    EXPECT_EQ(caption, "Find:");
    EXPECT_TRUE(filesShown);
    EXPECT_EQ(shownAfter, file("docs/report.doc"));
    EXPECT_EQ(ctx.state.ChooserMode, "FIL");
}

TEST_F(FileSelectionTest, AChosenFileIsProbedAndThePageBoxesTipsFollowItsKind) {
    makeBaseWorkbook();
    struct Seen {
        bool excelFrame, rangeFrame;
        std::string tip5, tip6, range, description, fileTip;
    };
    std::vector<Seen> seen;
    auto look = [&] {
        windows.act([&](ui::Form& form) {
            auto& e = editorOf(form);
            seen.push_back({e.Frame2.visible(), e.Frame1.visible(), e.TextBox5.toolTip(), e.TextBox6.toolTip(),
                            e.Frame1.caption(), e.TextBox3.text(), e.TextBox1.toolTip()});
        });
    };
    windows.click("CommandButton5");
    windows.typeText("TextBox3", "Kept");
    windows.click("TextBox1");
    testsupport::chooseFile(windows, file("budget.xls"));
    look();
    windows.click("TextBox1");
    testsupport::chooseFile(windows, file("docs/report.doc"));
    look();
    windows.act([&](ui::Form&) { ctx.state.LanguageCode = "I"; });
    windows.keyPress("TextBox1", ' ');
    testsupport::chooseFile(windows, file("deck.ppt"));
    look();
    lines::ShowLineEditor(ctx);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].excelFrame);
    EXPECT_FALSE(seen[0].rangeFrame);
    EXPECT_EQ(seen[0].fileTip, file("budget.xls"));
    EXPECT_FALSE(seen[1].excelFrame);
    EXPECT_TRUE(seen[1].rangeFrame);
    EXPECT_EQ(seen[1].range, "Word - N. Pages: 5");
    EXPECT_EQ(seen[1].tip5, "Starting page of the Word document to include in the output Presentation (0 for all)");
    EXPECT_EQ(seen[1].tip6, "Ending page of the Word document to include in the output Presentation");
    EXPECT_EQ(seen[2].range, "PowerPoint - N. Slides: 7");
    EXPECT_EQ(seen[2].tip5,
              "Slide iniziale della presentazione PowerPoint da includere nella Presentazione di output (0 per tutte)");
    EXPECT_EQ(seen[2].tip6, "Slide finale della presentazione PowerPoint da includere nella Presentazione di output");
    for (const Seen& s : seen) EXPECT_EQ(s.description, "Kept");
    EXPECT_EQ(ctx.state.CurrentLine.FileName, file("deck.ppt"));
    EXPECT_TRUE(windows.messages().empty());
    EXPECT_TRUE(objects.everythingClosed());
}

TEST_F(FileSelectionTest, APresentationThatCannotBeOpenedIsToldAndTheProgramGoesOn) {
    makeBaseWorkbook();
    fs::copy_file(testsupport::testData("memo.doc"), folder.path() / "not a deck.ppt");
    windows.click("CommandButton5");
    windows.typeText("TextBox3", "Unsaved line");
    windows.click("TextBox1");
    testsupport::chooseFile(windows, file("not a deck.ppt"));
    bool fieldsShown = true;
    windows.act([&](ui::Form& form) { fieldsShown = editorOf(form).Frame3.visible(); });
    EXPECT_NO_THROW(lines::ShowLineEditor(ctx));
    ASSERT_EQ(windows.messages().size(), 1u);
    EXPECT_EQ(windows.messages()[0].rfind("Error!!!!\r", 0), 0u);
    EXPECT_FALSE(fieldsShown);
    EXPECT_TRUE(ctx.state.MaxPageCount.isEmpty());
    EXPECT_EQ(ctx.state.CurrentLine.Description, "Unsaved line");
    EXPECT_TRUE(objects.everythingClosed());
}

}  // namespace
}  // namespace partstest
