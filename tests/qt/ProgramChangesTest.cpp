// Changes the program makes while a form is on screen show at once, and never
// come back as the user's actions.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "qt/QtTestSupport.h"
#include "qt/TestForms.h"
#include "ui/qt/QtWindowSystem.h"

namespace {

using qttest::child;
using qttest::SampleForm;
using qttest::whenShown;

TEST(ProgramChanges, CaptionsTipsVisibilityAndStateShowAtOnce) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    whenShown("SampleForm", [&](QWidget& window) {
        form.setCaption("Tavolex 1.1");
        EXPECT_EQ(window.windowTitle(), "Tavolex 1.1");
        auto& button = child<QPushButton>(window, "CommandButton1");
        // "&" is shown, not taken for an access key.
        form.CommandButton1.setCaption("Save & Exit");
        EXPECT_EQ(button.text(), "Save && Exit");
        form.CommandButton1.setToolTip("Leaves the program");
        EXPECT_EQ(button.toolTip(), "Leaves the program");
        form.CommandButton1.setEnabled(false);
        EXPECT_FALSE(button.isEnabled());
        form.CommandButton1.setVisible(false);
        EXPECT_TRUE(button.isHidden());
        form.CommandButton1.setVisible(true);
        EXPECT_TRUE(button.isVisible());

        form.Label1.setCaption("first\rsecond\r\nthird");
        EXPECT_EQ(child<QLabel>(window, "Label1").text(), "first\nsecond\nthird");
        form.Frame1.setCaption("Files");
        EXPECT_EQ(child<QGroupBox>(window, "Frame1").title(), "Files");
        form.TextBox1.setLocked(true);
        EXPECT_TRUE(child<QLineEdit>(window, "TextBox1").isReadOnly());
        form.CommandButton1.setGeometry(0, 0, 50, 15);
        EXPECT_EQ(button.geometry(), QRect(0, 0, 67, 20));
        form.TextBox2.setFocus();
        EXPECT_EQ(window.focusWidget(), &child<QLineEdit>(window, "TextBox2"));
        window.close();
    });
    windows.showModal(form);
}

TEST(ProgramChanges, ProgramTextRunsChangeButNeverAfterUpdate) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.logTextEvents(form.TextBox1);
    whenShown("SampleForm", [&](QWidget& window) {
        auto& edit = child<QLineEdit>(window, "TextBox1");
        edit.setFocus();
        form.TextBox1.setText("abc");
        EXPECT_EQ(edit.text(), "abc");
        // Leaving the box after a program change completes no user edit.
        child<QLineEdit>(window, "TextBox2").setFocus(Qt::TabFocusReason);
        window.close();
    });
    windows.showModal(form);
    EXPECT_EQ(form.log, (std::vector<std::string>{"change abc", "query-close box"}));
}

TEST(ProgramChanges, MultiLineBoxShowsLineBreaks) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.TextBox2.multiLine = true;
    form.TextBox2.setText("one\r\ntwo");
    whenShown("SampleForm", [&](QWidget& window) {
        auto& edit = child<QPlainTextEdit>(window, "TextBox2");
        EXPECT_EQ(edit.toPlainText(), "one\ntwo");
        form.TextBox2.setText("three\rfour");
        EXPECT_EQ(edit.toPlainText(), "three\nfour");
        window.close();
    });
    windows.showModal(form);
}

TEST(ProgramChanges, ListEntriesAndSelectionFollowTheModel) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    int clicks = 0;
    form.ListBox1.onClick = [&] { ++clicks; };
    whenShown("SampleForm", [&](QWidget& window) {
        auto& list = child<QListWidget>(window, "ListBox1");
        for (const char* entry : {"apple", "banana", "cherry"}) form.ListBox1.AddItem(entry);
        ASSERT_EQ(list.count(), 3);
        EXPECT_EQ(list.item(2)->text(), "cherry");
        EXPECT_EQ(list.currentRow(), -1);

        form.ListBox1.SetListIndex(1);
        EXPECT_EQ(list.currentRow(), 1);
        EXPECT_TRUE(list.item(1)->isSelected());
        // Removing an entry above the selection keeps the same entry selected.
        form.ListBox1.RemoveItem(0);
        EXPECT_EQ(list.count(), 2);
        EXPECT_EQ(list.currentRow(), 0);
        EXPECT_EQ(list.currentItem()->text(), "banana");
        form.ListBox1.SetList(1, "date");
        EXPECT_EQ(list.item(1)->text(), "date");
        form.ListBox1.SetListIndex(-1);
        EXPECT_TRUE(list.selectedItems().isEmpty());
        form.ListBox1.Clear();
        EXPECT_EQ(list.count(), 0);
        window.close();
    });
    windows.showModal(form);
    // Program selections ran Click once each (1, then none); the widget's own
    // signals never added one.
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(form.ListBox1.ListIndex(), -1);
}

TEST(ProgramChanges, MultiColumnListKeepsEachColumn) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.ListBox1.columnCount = 2;
    form.ListBox1.setColumnWidths("60;90");
    form.ListBox1.AddItem("Budget");
    form.ListBox1.SetList(0, "budget.xls", 1);
    whenShown("SampleForm", [&](QWidget& window) {
        auto& list = child<QListWidget>(window, "ListBox1");
        EXPECT_EQ(list.item(0)->text(), "Budget\tbudget.xls");
        window.close();
    });
    windows.showModal(form);
}

}  // namespace
