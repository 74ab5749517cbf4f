// Hostile input through the real windows and the real engine: names and texts
// with control characters, right-to-left marks, emoji and over-long text,
// file paths with blanks and line breaks, files that vanish before a save,
// and a full disk. Each is refused with its message or kept exactly; nothing
// is lost. docs/bad-input.md lists the cases with their outcomes.
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/ProgramEnd.h"
#include "groups/MainWindow.h"
#include "groups/UserForm00.h"
#include "lines/Us_Menu.h"
#include "parts/PartsFixture.h"
#include "support/ScriptedChooser.h"
#include "text/CaseFold.h"

namespace partstest {
namespace {

namespace fs = std::filesystem;
using ui::Answer;

std::string repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

struct NameCase {
    const char* what;
    std::string name;
    std::string complaint;  // the prompt that refuses it; empty when it is kept
};

const std::string kForbidden = "A Groupname does not contains the following characters: \\/:*?\"<>|";

std::vector<NameCase> groupNameCases() {
    std::vector<NameCase> cases{
        {"emoji", "Budget \xF0\x9F\x93\x8A 2026", ""},
        {"right-to-left script", "\xD9\x85\xD9\x8A\xD8\xB2\xD8\xA7\xD9\x86\xD9\x8A\xD8\xA9 2026", ""},
        {"right-to-left override", "\xE2\x80\xAE" "slx.evil", ""},
        {"combining accent", "Cafe\xCC\x81", ""},
        {"tab inside", "Tab\tinside", ""},
        {"line break inside", "Line\nbreak", ""},
        {"control character", "Bell\x07", ""},
        {"fifty emoji", repeat("\xF0\x9F\x98\x80", 50), ""},
        {"fifty-one accented letters", repeat("\xC3\xA9", 51), "Greater than 50 characters!"},
    };
    for (char c : std::string("\\/:*?\"<>|")) cases.push_back({"forbidden character", std::string("a") + c + "b", kForbidden});
    return cases;
}

class BadInputTest : public PartsTest {
protected:
    std::vector<std::string> groupColumn() {
        std::vector<std::string> column;
        for (const auto& row : readDataRows()) column.push_back(row[1]);
        return column;
    }
    std::vector<std::string> listEntries(ui::Form& form) {
        std::vector<std::string> entries;
        auto& list = static_cast<groups::UserForm00&>(form).ListBox1;
        for (int i = 0; i < list.ListCount(); ++i) entries.push_back(list.List(i));
        return entries;
    }
};

TEST_F(BadInputTest, GroupNamesAreRefusedWithTheReasonOrStoredExactly) {
    for (const NameCase& c : groupNameCases()) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.name);
        makeBaseWorkbook({{1, "Source", "", "a line"}});
        windows.boxes.clear();
        windows.act([](ui::Form& form) { static_cast<groups::UserForm00&>(form).ListBox1.userSelect(0); });
        windows.click("CommandButton6");
        windows.answerInput(c.name);
        if (!c.complaint.empty()) windows.answerInput("");  // the complaint, answered with nothing
        std::vector<std::string> listAfter;
        windows.act([&](ui::Form& form) { listAfter = listEntries(form); });
        groups::RunMainWindow(ctx);

        if (c.complaint.empty()) {
            EXPECT_EQ(groupColumn(), (std::vector<std::string>{"Source", c.name}));
            EXPECT_NE(std::find(listAfter.begin(), listAfter.end(), c.name), listAfter.end());
            EXPECT_EQ(ctx.state.SelectedGroup, c.name);
        } else {
            ASSERT_GE(windows.boxes.size(), 2u);
            EXPECT_EQ(windows.boxes[1].text, c.complaint);
            EXPECT_EQ(windows.boxes[1].defaultText, c.name);  // the rejected answer comes back to be mended
            EXPECT_EQ(groupColumn(), (std::vector<std::string>{"Source"}));
        }
    }
}

class BadLineInputTest : public BadInputTest {
protected:
    BadLineInputTest() {
        windows.autoAcknowledge = true;
        ctx.state.SelectedGroup = "Budget";
        ctx.state.GroupEditMode = "M";
        fs::copy_file(testsupport::testData("report.doc"), folder.path() / "report.doc");
    }
    std::string file(const std::string& name) const { return folder.withSeparator() + name; }
    // A new line for `fileName` with `description` and sort number 100, then Save.
    void clickSaveOnNewLine(const std::string& fileName, const std::string& description) {
        windows.click("CommandButton5");
        windows.typeText("TextBox3", description);
        windows.keyPress("TextBox1", 'x');
        testsupport::chooseFile(windows, file(fileName));
        windows.typeText("TextBox4", "100");
        windows.click("CommandButton1");
    }
    // The same, with the insert confirmed.
    void saveLine(const std::string& fileName, const std::string& description) {
        clickSaveOnNewLine(fileName, description);
        windows.answer(Answer::Yes);
    }
};

TEST_F(BadLineInputTest, DescriptionsOfEveryKindAreStoredExactly) {
    const std::vector<std::string> descriptions{
        "Budget \xF0\x9F\x93\x8A with emoji",
        "\xD7\xAA\xD7\xA7\xD7\xA6\xD7\x99\xD7\x91 right to left",
        "Two\nlines\tand a tab",
        "\xE2\x80\xAE" "override",
        repeat("x", 32767),  // the most a cell holds
    };
    for (const std::string& description : descriptions) {
        SCOPED_TRACE(description.substr(0, 40));
        makeBaseWorkbook();
        windows.boxes.clear();
        saveLine("report.doc", description);
        lines::ShowLineEditor(ctx);
        const auto rows = readDataRows();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][3], description);
        EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Do you confirm?"}));
    }
}

TEST_F(BadLineInputTest, ADescriptionLongerThanACellHoldsIsRefusedAndNothingIsWritten) {
    // 32,768 letters, and 16,384 emoji: each takes two of the cell's 32,767 units.
    for (const std::string& description : {repeat("\xC3\xA9", 32768), repeat("\xF0\x9F\x98\x80", 16384)}) {
        makeBaseWorkbook();
        windows.boxes.clear();
        clickSaveOnNewLine("report.doc", description);
        lines::ShowLineEditor(ctx);
        EXPECT_TRUE(readDataRows().empty());
        EXPECT_EQ(windows.messages(),
                  (std::vector<std::string>{"The description is longer than 32767 characters, the most a cell holds!"}));
    }
}

TEST_F(BadLineInputTest, FilePathsWithBlanksLineBreaksAndOtherScriptsAreCountedAndStoredExactly) {
    const std::string awkward = "my report\nwith a break \xC3\xBC \xF0\x9F\x93\x84.doc";
    fs::copy_file(testsupport::testData("report.doc"), folder.path() / awkward);
    makeBaseWorkbook();
    windows.click("CommandButton5");
    windows.typeText("TextBox3", "Awkward name");
    windows.keyPress("TextBox1", 'x');
    testsupport::chooseFile(windows, file(awkward));
    windows.typeText("TextBox4", "100");
    windows.typeText("TextBox5", "2");
    windows.typeText("TextBox6", "5");  // the document has five pages: the range must pass
    windows.click("CommandButton1");
    windows.answer(Answer::Yes);
    lines::ShowLineEditor(ctx);
    const auto rows = readDataRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][4], file(awkward));
    EXPECT_EQ(rows[0][8], "2");
    EXPECT_EQ(rows[0][9], "5");
}

TEST_F(BadLineInputTest, AFileThatVanishesBeforeTheSaveIsNamedAndNothingIsWritten) {
    makeBaseWorkbook();
    windows.click("CommandButton5");
    windows.typeText("TextBox3", "Soon gone");
    windows.keyPress("TextBox1", 'x');
    testsupport::chooseFile(windows, file("report.doc"));
    windows.typeText("TextBox4", "100");
    windows.act([this](ui::Form&) { fs::remove(folder.path() / "report.doc"); });
    windows.click("CommandButton1");
    lines::ShowLineEditor(ctx);
    EXPECT_TRUE(readDataRows().empty());
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{file("report.doc") + "\r Does not exist!"}));
}

// A data folder on a small file system of its own that a test fills up.
class FullDiskTest : public BadInputTest {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "a full disk needs a small file system of its own; mounting one needs root";
        mountPoint = folder.path() / "small disk";
        fs::create_directories(mountPoint);
        if (mount("tavolex-test", mountPoint.c_str(), "tmpfs", 0, "size=1m") != 0)
            GTEST_SKIP() << "this machine does not allow mounting a small file system here: " << std::strerror(errno);
        mounted = true;
        ctx.state.DataFolder = mountPoint.string() + "/";
    }
    void TearDown() override {
        if (mounted) umount2(mountPoint.c_str(), MNT_DETACH);
    }
    // Fills the file system until fewer than `left` bytes remain.
    void fillUpTo(std::uintmax_t left) {
        std::ofstream filler(mountPoint / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (fs::space(mountPoint).available > left && filler.write(block.data(), block.size())) filler.flush();
    }
    fs::path mountPoint;
    bool mounted = false;
};

TEST_F(FullDiskTest, ASaveThatDoesNotFitEndsWithTheReasonAndKeepsTheStoreWhole) {
    std::vector<Row> rows;
    for (int id = 1; id <= 200; ++id) rows.push_back({id, id <= 100 ? "Big" : "Other", "", "line " + std::to_string(id)});
    makeBaseWorkbook(rows);
    const auto before = testsupport::readFileBytes(basePath());
    fillUpTo(4096);
    windows.act([](ui::Form& form) { static_cast<groups::UserForm00&>(form).ListBox1.userSelect(0); });
    windows.click("CommandButton6");
    windows.answerInput("Copied");
    windows.answer(Answer::Ok);
    EXPECT_THROW(groups::RunMainWindow(ctx), core::ProgramEnded);
    ASSERT_EQ(windows.messages().size(), 1u);
    EXPECT_NE(windows.messages()[0].find("Not recoverable error!!!!"), std::string::npos) << windows.messages()[0];
    EXPECT_NE(windows.messages()[0].find("No space left on device"), std::string::npos) << windows.messages()[0];
    EXPECT_EQ(testsupport::readFileBytes(basePath()), before);
    // Only the store, the filler, and the lock and queue files: no half-written save.
    const std::vector<std::string> expected{".BasePresentation.xls.tavolex-lock", ".BasePresentation.xls.tavolex-queue",
                                            "BasePresentation.xls", "filler"};
    for (const auto& entry : fs::directory_iterator(mountPoint))
        EXPECT_NE(std::find(expected.begin(), expected.end(), entry.path().filename().string()), expected.end())
            << "left behind: " << entry.path();
    // With room again, the same copy goes through.
    fs::remove(mountPoint / "filler");
    windows.boxes.clear();
    windows.act([](ui::Form& form) { static_cast<groups::UserForm00&>(form).ListBox1.userSelect(0); });
    windows.click("CommandButton6");
    windows.answerInput("Copied");
    groups::RunMainWindow(ctx);
    EXPECT_EQ(readDataRows().size(), 300u);
}

}  // namespace
}  // namespace partstest
