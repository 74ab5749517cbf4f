// New, Update, Delete, Copy, Help and Exit on the main window, played through
// the scripted window system against real base workbooks.
#include "core/ProgramEnd.h"
#include "core/Text.h"
#include "groups/MainWindow.h"
#include "groups/UserForm00.h"
#include "parts/PartsFixture.h"
#include "text/CaseFold.h"

namespace partstest {
namespace {

const std::string kFillIn = "Fill in with new GroupName!";
const std::string kForbidden = "A Groupname does not contains the following characters: \\/:*?\"<>|";
const std::string kTooLong = "Greater than 50 characters!";

class GroupCommandsTest : public PartsTest {
protected:
    GroupCommandsTest() {
        ctx.seams.showLineEditor = [this](core::Context& c) {
            editorCalls.push_back(c.state.GroupEditMode + ":" + c.state.SelectedGroup);
        };
    }
    // Selects the list entry whose text is `name`, in any case, in the window on top.
    void select(const std::string& name) {
        windows.act([this, name](ui::Form& form) {
            auto& list = static_cast<groups::UserForm00&>(form).ListBox1;
            for (int i = 0; i < list.ListCount(); ++i)
                if (text::equalsIgnoringCase(list.List(i), name)) {
                    list.userSelect(i);
                    return;
                }
            ADD_FAILURE() << "no entry " << name;
        });
    }
    std::vector<std::string> inputPrompts() const {
        std::vector<std::string> prompts;
        for (const auto& box : windows.boxes)
            if (box.kind == ui::ShownBox::Kind::Input) prompts.push_back(box.text);
        return prompts;
    }
    std::vector<std::string> groupsColumn() {
        std::vector<std::string> column;
        for (const auto& row : readDataRows()) column.push_back(row[0] + ":" + row[1]);
        return column;
    }
    std::vector<std::string> editorCalls;
};

TEST_F(GroupCommandsTest, WithAnEmptyListUpdateDeleteCopyDoNothing) {
    makeBaseWorkbook();
    windows.click("CommandButton2");
    windows.click("CommandButton3");
    windows.click("CommandButton6");
    groups::RunMainWindow(ctx);
    EXPECT_TRUE(windows.boxes.empty());
    EXPECT_TRUE(editorCalls.empty());
}

TEST_F(GroupCommandsTest, NothingSelectedAsksToSelect) {
    makeBaseWorkbook({{1, "Alpha"}});
    for (const char* button : {"CommandButton2", "CommandButton3", "CommandButton6"}) {
        windows.click(button);
        windows.answer(ui::Answer::Ok);
    }
    groups::RunMainWindow(ctx);
    EXPECT_EQ(windows.messages(), std::vector<std::string>(3, "Select a GroupName!"));
    EXPECT_TRUE(editorCalls.empty());
}

TEST_F(GroupCommandsTest, NewHandsTheNameToTheLineEditorAndTheMainWindowComesBack) {
    makeBaseWorkbook({{1, "Alpha"}});
    windows.click("CommandButton1");
    windows.answerInput("  Fresh group  ");
    windows.act([](ui::Form& form) { EXPECT_EQ(form.name(), "UserForm00"); });  // reloaded after the editor
    groups::RunMainWindow(ctx);
    EXPECT_EQ(editorCalls, (std::vector<std::string>{"I:Fresh group"}));
    EXPECT_EQ(windows.formsShown, (std::vector<std::string>{"UserForm00", "UserForm00"}));
    EXPECT_EQ(windows.boxes.at(0).defaultText, "");
    EXPECT_EQ(windows.boxes.at(0).text, kFillIn);
}

TEST_F(GroupCommandsTest, BlanksOrCancelEndNewWithoutMessage) {
    makeBaseWorkbook();
    windows.click("CommandButton1");
    windows.answerInput("    ");
    windows.click("CommandButton1");
    windows.cancelInput();
    groups::RunMainWindow(ctx);
    EXPECT_TRUE(windows.messages().empty());
    EXPECT_TRUE(editorCalls.empty());
}

TEST_F(GroupCommandsTest, FiftyCharactersPassFiftyOneAreRefusedWithTheRejectedNameAsDefault) {
    makeBaseWorkbook();
    const std::string fifty(50, 'x');
    windows.click("CommandButton1");
    windows.answerInput(fifty + "y");
    windows.answerInput(fifty);
    groups::RunMainWindow(ctx);
    EXPECT_EQ(inputPrompts(), (std::vector<std::string>{kFillIn, kTooLong}));
    EXPECT_EQ(windows.boxes.at(1).defaultText, fifty + "y");
    EXPECT_EQ(editorCalls, (std::vector<std::string>{"I:" + fifty}));
}

TEST_F(GroupCommandsTest, NonAsciiNamesCountCharactersNotBytes) {
    makeBaseWorkbook();
    std::string name;
    for (int i = 0; i < 50; ++i) name += "è";  // 100 bytes, 50 characters
    windows.click("CommandButton1");
    windows.answerInput(name);
    groups::RunMainWindow(ctx);
    EXPECT_EQ(editorCalls, (std::vector<std::string>{"I:" + name}));
}

TEST_F(GroupCommandsTest, ForbiddenCharacterIsCheckedBeforeLength) {
    makeBaseWorkbook();
    const std::string longWithSlash = std::string(60, 'a') + "/b";
    windows.click("CommandButton1");
    windows.answerInput(longWithSlash);
    windows.answerInput("a:b");
    windows.answerInput("");
    groups::RunMainWindow(ctx);
    EXPECT_EQ(inputPrompts(), (std::vector<std::string>{kFillIn, kForbidden, kForbidden}));
    EXPECT_EQ(windows.boxes.at(1).defaultText, longWithSlash);
    EXPECT_TRUE(editorCalls.empty());
}

TEST_F(GroupCommandsTest, ARefusedNewNameLeavesTheSelectedGroupAsTheListShowsIt) {
    makeBaseWorkbook({{1, "Alpha"}, {2, "Budget 2026"}, {3, "Alpha"}});
    select("Alpha");
    windows.click("CommandButton1");
    windows.answerInput("BUDGET 2026");
    windows.answer(ui::Answer::Ok);
    windows.click("CommandButton3");  // Delete must act on the group the list shows
    windows.answer(ui::Answer::Yes);
    groups::RunMainWindow(ctx);
    EXPECT_EQ(windows.messages().at(0), "BUDGET 2026. Already exists!");
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"2:Budget 2026"}));
    EXPECT_TRUE(editorCalls.empty());
}

TEST_F(GroupCommandsTest, UpdateOpensTheLineEditorForTheSelectedGroup) {
    makeBaseWorkbook({{1, "Alpha"}, {2, "Beta"}});
    select("Beta");
    windows.click("CommandButton2");
    groups::RunMainWindow(ctx);
    EXPECT_EQ(editorCalls, (std::vector<std::string>{"M:Beta"}));
}

TEST_F(GroupCommandsTest, DeleteRemovesEveryRowOfTheGroupAndKeepsTheOthersInOrder) {
    makeBaseWorkbook({{1, "Keep"}, {2, "gone"}, {3, "Other"}, {4, "  GONE "}, {5, "Keep"}, {6, "Gone"}});
    select("Gone");  // the sort keeps the last of the equal names
    windows.click("CommandButton3");
    windows.answer(ui::Answer::Yes);
    std::vector<std::string> listAfter;
    int selectedAfter = 0;
    windows.act([&](ui::Form& form) {
        auto& list = static_cast<groups::UserForm00&>(form).ListBox1;
        for (int i = 0; i < list.ListCount(); ++i) listAfter.push_back(list.List(i));
        selectedAfter = list.ListIndex();
    });
    windows.click("CommandButton6");  // nothing selected after a delete
    windows.answer(ui::Answer::Ok);
    groups::RunMainWindow(ctx);

    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Keep", "3:Other", "5:Keep"}));
    EXPECT_EQ(listAfter, (std::vector<std::string>{"Keep", "Other"}));
    EXPECT_EQ(selectedAfter, -1);
    EXPECT_EQ(ctx.state.SelectedGroup, "");
    ASSERT_GE(windows.boxes.size(), 2u);
    EXPECT_EQ(windows.boxes[0].text, "Do you confirm?");
    EXPECT_EQ(windows.boxes[0].defaultButton, ui::Answer::No);
    EXPECT_EQ(windows.messages().back(), "Select a GroupName!");
}

TEST_F(GroupCommandsTest, DeleteFindsEverySpellingOfAnAccentedName) {
    makeBaseWorkbook({{1, "Élite"}, {2, "Other"}, {3, "élite"}, {4, "ÉLITE "}});
    select("élite");
    windows.click("CommandButton3");
    windows.answer(ui::Answer::Yes);
    groups::RunMainWindow(ctx);
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"2:Other"}));
}

TEST_F(GroupCommandsTest, DeleteAnsweredNoChangesNothing) {
    makeBaseWorkbook({{1, "Alpha"}, {2, "Beta"}});
    const auto before = std::filesystem::last_write_time(basePath());
    select("Alpha");
    windows.click("CommandButton3");
    windows.answer(ui::Answer::No);
    groups::RunMainWindow(ctx);
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Alpha", "2:Beta"}));
    EXPECT_EQ(std::filesystem::last_write_time(basePath()), before);
}

TEST_F(GroupCommandsTest, DeleteShowsGreenOkForHalfASecondThenItsCaption) {
    makeBaseWorkbook({{1, "Alpha"}, {2, "Beta"}});
    ctx.state.LanguageCode = "I";
    select("Alpha");
    windows.click("CommandButton3");
    windows.answer(ui::Answer::Yes);
    std::optional<ui::Color> colorDuringPause;
    std::string captionDuringPause, captionAfter;
    std::optional<ui::Color> colorAfter = 1;
    windows.onDoEvents = [&] {
        if (auto* form = windows.topForm()) {
            auto& button = static_cast<groups::UserForm00*>(form)->CommandButton3;
            colorDuringPause = button.backColor();
            captionDuringPause = button.caption();
        }
    };
    windows.act([&](ui::Form& form) {
        auto& button = static_cast<groups::UserForm00&>(form).CommandButton3;
        captionAfter = button.caption();
        colorAfter = button.backColor();
    });
    const auto start = std::chrono::steady_clock::now();
    groups::RunMainWindow(ctx);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(colorDuringPause, ui::kGreen);
    EXPECT_EQ(captionDuringPause, "OK");
    EXPECT_EQ(captionAfter, "Elimina");
    EXPECT_EQ(colorAfter, std::nullopt);
}

TEST_F(GroupCommandsTest, CopyAppendsTheRowsWithNewIdsAndTheSameOtherColumns) {
    makeBaseWorkbook({
        {1, "Source", "P", "First line", "/data/a.xls", "Sheet1", "Out1", "", "", "", 100},
        {2, "Other", "", "Not copied", "/data/b.doc", "", "", "", 0, 0, 100},
        {3, "source", "", "Second line", "/data/c.doc", "", "", "", 1, 3, 200},
        {4, " SOURCE", "S", "Third line", "/data/d.ppt", "", "", "", 2, 5, 300},
    });
    select("SOURCE");
    windows.click("CommandButton6");
    windows.answerInput("  Copied  ");
    std::vector<std::string> listAfter;
    int selectedAfter = -1;
    windows.act([&](ui::Form& form) {
        auto& list = static_cast<groups::UserForm00&>(form).ListBox1;
        for (int i = 0; i < list.ListCount(); ++i) listAfter.push_back(list.List(i));
        selectedAfter = list.ListIndex();
    });
    groups::RunMainWindow(ctx);

    auto rows = readDataRows();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_TRUE(text::equalsIgnoringCase(windows.boxes.at(0).defaultText, "source"));
    for (int k = 0; k < 3; ++k) {
        const auto& copy = rows[4 + k];
        const auto& source = rows[k == 0 ? 0 : k + 1];
        EXPECT_EQ(copy[0], std::to_string(5 + k));
        EXPECT_EQ(copy[1], "Copied");
        for (int c = 2; c < 11; ++c) EXPECT_EQ(copy[c], source[c]) << "row " << k << " column " << c;
    }
    EXPECT_EQ(rows[0][1], "Source");
    EXPECT_EQ(rows[3][1], " SOURCE");
    ASSERT_EQ(listAfter.size(), 3u);
    EXPECT_EQ(listAfter[0], "Copied");
    EXPECT_EQ(listAfter[1], "Other");
    EXPECT_TRUE(text::equalsIgnoringCase(listAfter[2], "source"));
    EXPECT_EQ(selectedAfter, 0);
    EXPECT_EQ(ctx.state.SelectedGroup, "Copied");
}

TEST_F(GroupCommandsTest, CopyIdsStartAtOneWhenTheLastIdIsNotANumber) {
    makeBaseWorkbook({{"a1", "Pair"}, {"x7", "Pair"}});
    select("Pair");
    windows.click("CommandButton6");
    windows.answerInput("Twin");
    groups::RunMainWindow(ctx);
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"a1:Pair", "x7:Pair", "1:Twin", "2:Twin"}));
}

TEST_F(GroupCommandsTest, CopyNeverRepeatsAnIdOfTheTable) {
    // "The id above plus 1" would repeat an id: 1 after "x7", 4 after 3.
    for (const bool textAbove : {true, false}) {
        SCOPED_TRACE(textAbove ? "text id above" : "number above");
        makeBaseWorkbook({{1, "Solo"}, {4, "Pair"}, {textAbove ? automation::Variant("x7") : automation::Variant(3), "Pair"}});
        select("Pair");
        windows.click("CommandButton6");
        windows.answerInput("Twin");
        groups::RunMainWindow(ctx);
        const std::string last = textAbove ? "x7:Pair" : "3:Pair";
        EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Solo", "4:Pair", last, "5:Twin", "6:Twin"}));
    }
    // An id typed as text shows the digits of the number after 4.
    makeBaseWorkbook({{1, "Solo"}, {" 5 ", "Solo"}, {4, "Pair"}});
    select("Pair");
    windows.click("CommandButton6");
    windows.answerInput("Twin");
    groups::RunMainWindow(ctx);
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Solo", " 5 :Solo", "4:Pair", "6:Twin"}));
}

TEST_F(GroupCommandsTest, CopyIntoAFullTableIsRefusedAndWritesNothing) {
    std::vector<Row> rows;
    for (int id = 1; id <= 9996; ++id) rows.push_back({id, id <= 2 ? "Pair" : "Filler"});
    makeBaseWorkbook(rows);  // lines in rows 2 to 9997: room for two more
    const auto before = std::filesystem::last_write_time(basePath());
    select("Pair");
    windows.click("CommandButton6");
    windows.answerInput("Twin");  // two rows fit: rows 9998 and 9999
    select("Pair");
    windows.click("CommandButton6");
    windows.answerInput("Triplet");  // no room left
    windows.answer(ui::Answer::Ok);
    std::vector<std::string> listAfter;
    windows.act([&](ui::Form& form) {
        auto& list = static_cast<groups::UserForm00&>(form).ListBox1;
        for (int i = 0; i < list.ListCount(); ++i) listAfter.push_back(list.List(i));
    });
    groups::RunMainWindow(ctx);
    EXPECT_NE(std::filesystem::last_write_time(basePath()), before);
    const auto written = readDataRows();
    ASSERT_EQ(written.size(), 9998u);
    EXPECT_EQ(written.back()[1], "Twin");
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"The base workbook is full: its table holds lines up to "
                                                            "row 9999 only.\rDelete lines or groups you no longer "
                                                            "need, then try again."}));
    EXPECT_EQ(listAfter, (std::vector<std::string>{"Filler", "Pair", "Twin"}));
}

// Two programs on one data folder: each acts on what the workbook holds when
// its command opens it, not on the list it loaded earlier.
class TwoUsersTest : public GroupCommandsTest {
protected:
    // While this user's main window is open, the other user runs `steps`
    // on the same folder in a program of their own.
    void otherUserMeanwhile(const std::function<void(ui::ScriptedWindowSystem&)>& steps) {
        windows.act([this, steps](ui::Form&) {
            ui::ScriptedWindowSystem otherWindows;
            core::Context other(objects, platform, otherWindows);
            other.state = ctx.state;
            other.seams.showLineEditor = [](core::Context&) {};
            steps(otherWindows);
            groups::RunMainWindow(other);
        });
    }
};

TEST_F(TwoUsersTest, CopyingToANameTheOtherJustMadeIsRefusedAndTheListReloads) {
    makeBaseWorkbook({{1, "Alpha", "", "a", "", "", "", "", "", "", 100}, {2, "Beta", "", "b", "", "", "", "", "", "", 100}});
    otherUserMeanwhile([](ui::ScriptedWindowSystem& other) {
        other.act([](ui::Form& form) { static_cast<groups::UserForm00&>(form).ListBox1.userSelect(0); });
        other.click("CommandButton6");
        other.answerInput("Gamma");
    });
    select("Beta");
    windows.click("CommandButton6");
    windows.answerInput("gamma");  // not in this user's list
    windows.answer(ui::Answer::Ok);
    std::vector<std::string> list;
    windows.act([&list](ui::Form& form) {
        auto& box = static_cast<groups::UserForm00&>(form).ListBox1;
        for (int i = 0; i < box.ListCount(); ++i) list.push_back(box.List(i));
    });
    groups::RunMainWindow(ctx);
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"gamma. Already exists!"}));
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Alpha", "2:Beta", "3:Gamma"}));
    EXPECT_EQ(list, (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
}

TEST_F(TwoUsersTest, CopyingOrDeletingAGroupTheOtherJustDeletedSaysSoAndShowsNoOk) {
    makeBaseWorkbook({{1, "Alpha"}, {2, "Beta"}, {3, "Beta"}});
    otherUserMeanwhile([](ui::ScriptedWindowSystem& other) {
        other.act([](ui::Form& form) { static_cast<groups::UserForm00&>(form).ListBox1.userSelect(1); });
        other.click("CommandButton3");
        other.answer(ui::Answer::Yes);
    });
    std::vector<std::string> captions;
    windows.onDoEvents = [&] { captions.push_back("paused"); };
    select("Beta");
    windows.click("CommandButton6");
    windows.answerInput("Beta copy");
    windows.answer(ui::Answer::Ok);
    windows.click("CommandButton3");  // nothing selected now: the list was reloaded
    windows.answer(ui::Answer::Ok);
    groups::RunMainWindow(ctx);
    const std::string gone = "The group 'Beta' is no longer in the base workbook: another user may have deleted it."
                             "\rThe list now shows the groups as they are.";
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{gone, "Select a GroupName!"}));
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Alpha"}));
    EXPECT_TRUE(captions.empty()) << "a green OK was shown";
}

TEST_F(TwoUsersTest, DeletingAGroupTheOtherJustDeletedWritesNothing) {
    makeBaseWorkbook({{1, "Alpha"}, {2, "Beta"}});
    otherUserMeanwhile([](ui::ScriptedWindowSystem& other) {
        other.act([](ui::Form& form) { static_cast<groups::UserForm00&>(form).ListBox1.userSelect(1); });
        other.click("CommandButton3");
        other.answer(ui::Answer::Yes);
    });
    select("Beta");
    windows.click("CommandButton3");
    windows.answer(ui::Answer::Yes);
    windows.answer(ui::Answer::Ok);
    groups::RunMainWindow(ctx);
    ASSERT_EQ(windows.messages().size(), 2u);
    EXPECT_EQ(windows.messages().at(0), "Do you confirm?");
    EXPECT_EQ(windows.messages().at(1).rfind("The group 'Beta' is no longer in the base workbook", 0), 0u);
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Alpha"}));
}

TEST_F(GroupCommandsTest, ClicksDuringTheFeedbackPauseAreDropped) {
    makeBaseWorkbook({{1, "Alpha"}, {2, "Beta"}});
    select("Alpha");
    windows.click("CommandButton6");
    windows.answerInput("Alpha 2");
    windows.clickDuringPause("CommandButton6");  // a second Copy while "OK" shows
    windows.clickDuringPause("CommandButton3");  // and a Delete
    groups::RunMainWindow(ctx);
    EXPECT_EQ(windows.droppedActions, 2);
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Alpha", "2:Beta", "3:Alpha 2"}));
    EXPECT_TRUE(windows.messages().empty());
}

TEST_F(GroupCommandsTest, CopyWithTheDefaultNameUnchangedIsADuplicate) {
    makeBaseWorkbook({{1, "Alpha"}});
    select("Alpha");
    windows.click("CommandButton6");
    windows.answerInput("Alpha");
    windows.answer(ui::Answer::Ok);
    groups::RunMainWindow(ctx);
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Alpha. Already exists!"}));
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Alpha"}));
}

TEST_F(GroupCommandsTest, CopyKeepsTheFormattingOfTheSourceRows) {
    makeBaseWorkbook({{1, "Styled", "", "desc"}});
    {
        auto app = objects.CreateExcel();
        automation::excel::OpenOptions options;
        options.password = ctx.state.BasePassword;
        auto workbook = app->GetWorkbooks().Open(basePath(), options);
        workbook->Worksheets("DATA")->Cells(2, 4)->GetFont().SetBold(true);
        workbook->Save();
        app->Quit();
    }
    select("Styled");
    windows.click("CommandButton6");
    windows.answerInput("Styled copy");
    groups::RunMainWindow(ctx);
    auto app = objects.CreateExcel();
    automation::excel::OpenOptions options;
    options.password = ctx.state.BasePassword;
    auto data = app->GetWorkbooks().Open(basePath(), options)->Worksheets("DATA");
    EXPECT_EQ(data->Cells(3, 2)->Value().toText(), "Styled copy");
    EXPECT_TRUE(data->Cells(3, 4)->GetFont().Bold());
    EXPECT_FALSE(data->Cells(3, 5)->GetFont().Bold());
    app->Quit();
}

TEST_F(GroupCommandsTest, ExitClosesTheWindowAndHelpShowsTheHelpWindow) {
    makeBaseWorkbook();
    windows.click("CommandButton7");
    windows.act([](ui::Form& form) { EXPECT_EQ(form.name(), "UserForm1"); });
    windows.closeWindow();
    windows.click("CommandButton4");
    windows.act([](ui::Form&) { ADD_FAILURE() << "the main window is still open after Exit"; });
    groups::RunMainWindow(ctx);
    EXPECT_EQ(windows.formsShown, (std::vector<std::string>{"UserForm00", "UserForm1"}));
    EXPECT_TRUE(windows.stepsLeft());
}

TEST_F(GroupCommandsTest, ALockedBaseWorkbookEndsTheProgramWithoutLosingData) {
    makeBaseWorkbook({{1, "Alpha"}});
    auto holder = objects.CreateExcel();  // another program holds the workbook for writing
    automation::excel::OpenOptions options;
    options.password = ctx.state.BasePassword;
    holder->GetWorkbooks().Open(basePath(), options);
    windows.answer(ui::Answer::Ok);
    EXPECT_THROW(groups::RunMainWindow(ctx), core::ProgramEnded);
    EXPECT_EQ(windows.messages(),
              (std::vector<std::string>{"Tavolex will be closed!\rThe base workbook is in use by another Tavolex."}));
    holder->Quit();
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Alpha"}));
}

}  // namespace
}  // namespace partstest

namespace partstest {
namespace {

// A store the user may only read: the list loads, and a command that
// changes the store ends with the reason, leaving the store as it was.
TEST_F(GroupCommandsTest, AReadOnlyStoreListsItsGroupsAndRefusesChangesWithTheReason) {
    namespace fs = std::filesystem;
    makeBaseWorkbook({{1, "Alpha"}, {2, "Beta"}});
    for (bool withLockFile : {true, false}) {
        SCOPED_TRACE(withLockFile ? "lock file there" : "no lock file can be made");
        const std::string before = testsupport::hexText(testsupport::readFileBytes(basePath()));
        if (!withLockFile) fs::remove(folder.path() / ".BasePresentation.xls.tavolex-lock");
        fs::permissions(basePath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                           fs::perms::others_exec | fs::perms::group_read | fs::perms::group_exec);
        const std::string failure = testsupport::runAsOrdinaryUser([&]() -> std::string {
            std::vector<std::string> list;
            windows.act([&list](ui::Form& form) {
                auto& box = static_cast<groups::UserForm00&>(form).ListBox1;
                for (int i = 0; i < box.ListCount(); ++i) list.push_back(box.List(i));
                box.userSelect(0);
            });
            windows.click("CommandButton6");
            windows.answerInput("Gamma");
            windows.answer(ui::Answer::Ok);
            try {
                groups::RunMainWindow(ctx);
                return "the copy did not end the program";
            } catch (const core::ProgramEnded&) {
            }
            if (list != std::vector<std::string>{"Alpha", "Beta"}) return "the list was not loaded";
            const std::string expected = "Not recoverable error!!!!\r1004    Cannot save '" + basePath() +
                                         "': you may not write this file or its folder (Permission denied).";
            if (windows.messages() != std::vector<std::string>{expected})
                return "messages: " + testing::PrintToString(windows.messages());
            return {};
        });
        EXPECT_EQ(failure, "");
        EXPECT_EQ(testsupport::hexText(testsupport::readFileBytes(basePath())), before);
        fs::permissions(folder.path(), fs::perms::owner_all, fs::perm_options::add);
    }
}

}  // namespace
}  // namespace partstest
