// The event rules forms rely on: Change on every text change, AfterUpdate
// only after the user's change, list Click after the selection changed,
// query-close before any close, modal nesting, and the boxes' defaults.
#include <gtest/gtest.h>

#include "ui/scripted/ScriptedWindowSystem.h"

namespace {

struct Recorder : ui::Form {
    Recorder() : ui::Form("Recorder") {}
    ui::TextBox TextBox1{*this, "TextBox1"};
    ui::ListBox ListBox1{*this, "ListBox1"};
    ui::CommandButton CommandButton1{*this, "CommandButton1"};
    std::vector<std::string> log;
    int initializeCount = 0;
    bool refuseClose = false;

    void UserForm_Initialize() override { ++initializeCount; }
    void UserForm_QueryClose(int& cancel, ui::CloseMode mode) override {
        log.push_back(mode == ui::CloseMode::CloseBox ? "query-close box" : "query-close code");
        if (refuseClose) {
            cancel = 1;
            refuseClose = false;
        }
    }
};

TEST(TextBoxEvents, ProgramChangeRunsChangeButNotAfterUpdate) {
    Recorder form;
    form.TextBox1.onChange = [&] { form.log.push_back("change"); };
    form.TextBox1.onAfterUpdate = [&] { form.log.push_back("after-update"); };
    form.TextBox1.setText("abc");
    form.TextBox1.setText("abc");  // same text: no change
    EXPECT_EQ(form.log, (std::vector<std::string>{"change"}));
}

TEST(TextBoxEvents, UserChangeRunsChangeThenAfterUpdateOnLeaving) {
    ui::ScriptedWindowSystem windows;
    Recorder form;
    form.TextBox1.onChange = [&] { form.log.push_back("change " + form.TextBox1.text()); };
    form.TextBox1.onAfterUpdate = [&] { form.log.push_back("after-update " + form.TextBox1.text()); };
    windows.typeText("TextBox1", "typed");
    windows.showModal(form);
    ASSERT_GE(form.log.size(), 2u);
    EXPECT_EQ(form.log[0], "change typed");
    EXPECT_EQ(form.log[1], "after-update typed");
}

TEST(TextBoxEvents, KeyPressCanCancelAKey) {
    ui::ScriptedWindowSystem windows;
    Recorder form;
    form.TextBox1.onKeyPress = [](int& key) {
        if (key < '0' || key > '9') key = 0;
    };
    windows.keyPress("TextBox1", '7');
    windows.keyPress("TextBox1", 'x');
    windows.keyPress("TextBox1", '3');
    windows.showModal(form);
    EXPECT_EQ(form.TextBox1.text(), "73");
}

TEST(ListBoxEvents, ClickRunsAfterTheSelectionChanged) {
    Recorder form;
    form.ListBox1.AddItem("alpha");
    form.ListBox1.AddItem("beta");
    std::string seen;
    form.ListBox1.onClick = [&] { seen = form.ListBox1.Value(); };
    form.ListBox1.userSelect(1);
    EXPECT_EQ(seen, "beta");
}

TEST(ListBoxEvents, RemovingTheSelectedEntryLeavesNothingSelected) {
    Recorder form;
    for (auto* t : {"a", "b", "c"}) form.ListBox1.AddItem(t);
    form.ListBox1.SetListIndex(1);
    form.ListBox1.RemoveItem(1);
    EXPECT_EQ(form.ListBox1.ListIndex(), -1);
    EXPECT_EQ(form.ListBox1.Value(), "");
    form.ListBox1.SetListIndex(1);
    form.ListBox1.RemoveItem(0);
    EXPECT_EQ(form.ListBox1.ListIndex(), 0);
    EXPECT_EQ(form.ListBox1.Value(), "c");
}

TEST(ListBoxEvents, TypedLetterMovesToFirstEntryStartingWithIt) {
    ui::ScriptedWindowSystem windows;
    Recorder form;
    for (auto* t : {"Alpha", "beta", "Bravo", "charlie"}) form.ListBox1.AddItem(t);
    windows.keyPress("ListBox1", 'B');
    windows.act([](ui::Form& f) { EXPECT_EQ(static_cast<Recorder&>(f).ListBox1.ListIndex(), 1); });
    windows.keyPress("ListBox1", 'z');
    windows.act([](ui::Form& f) { EXPECT_EQ(static_cast<Recorder&>(f).ListBox1.ListIndex(), 1); });
    windows.showModal(form);
}

TEST(FormLifecycle, LoadRunsOnceAndQueryCloseRunsBeforeEveryClose) {
    ui::ScriptedWindowSystem windows;
    Recorder form;
    form.refuseClose = true;
    windows.closeWindow();  // refused once
    windows.click("CommandButton1");
    form.CommandButton1.onClick = [&] { form.Unload(); };
    windows.showModal(form);
    EXPECT_EQ(form.initializeCount, 1);
    EXPECT_EQ(form.log, (std::vector<std::string>{"query-close box", "query-close code"}));
    EXPECT_FALSE(form.loaded());
    windows.showModal(form);  // shown again: loads again
    EXPECT_EQ(form.initializeCount, 2);
}

TEST(FormLifecycle, ModalFormsNestAndStepsGoToTheFormOnTop) {
    ui::ScriptedWindowSystem windows;
    Recorder outer, inner;
    std::vector<std::string> order;
    outer.CommandButton1.onClick = [&] {
        order.push_back("outer click");
        windows.showModal(inner);
        order.push_back("inner closed");
    };
    inner.CommandButton1.onClick = [&] {
        order.push_back("inner click");
        inner.Unload();
    };
    windows.click("CommandButton1");  // outer opens inner
    windows.click("CommandButton1");  // on inner
    windows.showModal(outer);
    EXPECT_EQ(order, (std::vector<std::string>{"outer click", "inner click", "inner closed"}));
    EXPECT_EQ(windows.deepestModalNesting, 2u);
}

TEST(ScriptedBoxes, RecordTextButtonsDefaultAndTitle) {
    ui::ScriptedWindowSystem windows;
    windows.answer(ui::Answer::No);
    windows.answer(ui::Answer::Ok);
    EXPECT_FALSE(windows.askYesNo("Do you confirm?", false));
    windows.msgBox("Done");
    ASSERT_EQ(windows.boxes.size(), 2u);
    EXPECT_EQ(windows.boxes[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(windows.boxes[0].defaultButton, ui::Answer::No);
    EXPECT_EQ(windows.boxes[0].title, "Tavolex");
    EXPECT_EQ(windows.boxes[1].text, "Done");
    EXPECT_EQ(windows.boxes[1].defaultButton, ui::Answer::Ok);
}

TEST(ScriptedBoxes, InputBoxCancelGivesEmptyText) {
    ui::ScriptedWindowSystem windows;
    windows.cancelInput();
    EXPECT_EQ(windows.inputBox("Name?", "old"), "");
    EXPECT_EQ(windows.boxes.at(0).defaultText, "old");
    EXPECT_EQ(windows.boxes.at(0).title, "Tavolex");
}

TEST(ScriptedBoxes, AMismatchedStepFailsLoudly) {
    ui::ScriptedWindowSystem windows;
    windows.click("CommandButton1");
    EXPECT_THROW(windows.msgBox("unexpected"), ui::ScriptError);
    ui::ScriptedWindowSystem empty;
    EXPECT_THROW(empty.askYesNo("no answer queued", true), ui::ScriptError);
    ui::ScriptedWindowSystem wrongButton;
    wrongButton.answer(ui::Answer::Yes);
    EXPECT_THROW(wrongButton.msgBox("OK only"), ui::ScriptError);
}

TEST(ScriptedControls, DisabledOrMissingControlsCannotBeClicked) {
    ui::ScriptedWindowSystem windows;
    Recorder form;
    form.CommandButton1.setEnabled(false);
    windows.click("CommandButton1");
    EXPECT_THROW(windows.showModal(form), ui::ScriptError);
    ui::ScriptedWindowSystem other;
    Recorder second;
    other.click("NoSuchButton");
    EXPECT_THROW(other.showModal(second), ui::ScriptError);
    EXPECT_FALSE(second.showing());
}

}  // namespace
