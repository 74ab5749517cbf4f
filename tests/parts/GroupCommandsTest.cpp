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

TEST_F(GroupCommandsTest, NewWithAnExistingNameInOtherCaseIsRefusedButBecomesSelected) {
    makeBaseWorkbook({{1, "Budget 2026"}});
    windows.click("CommandButton1");
    windows.answerInput("BUDGET 2026");
    windows.answer(ui::Answer::Ok);
    groups::RunMainWindow(ctx);
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"BUDGET 2026. Already exists!"}));
    EXPECT_EQ(ctx.state.SelectedGroup, "BUDGET 2026");
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
    makeBaseWorkbook({{1, "Pair"}, {"x7", "Pair"}});
    select("Pair");
    windows.click("CommandButton6");
    windows.answerInput("Twin");
    groups::RunMainWindow(ctx);
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Pair", "x7:Pair", "1:Twin", "2:Twin"}));
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
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Tavolex will be closed!"}));
    holder->Quit();
    EXPECT_EQ(groupsColumn(), (std::vector<std::string>{"1:Alpha"}));
}

}  // namespace
}  // namespace partstest
