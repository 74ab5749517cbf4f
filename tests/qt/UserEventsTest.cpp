// Real key and mouse events become the model's events: Change while typing,
// AfterUpdate on leaving, KeyPress that cancels or replaces, clicks with the
// shift state, the right button, list selection and the close box.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cctype>

#include "qt/QtTestSupport.h"
#include "qt/TestForms.h"
#include "ui/qt/QtWindowSystem.h"

namespace {

using qttest::child;
using qttest::SampleForm;
using qttest::whenShown;
using Log = std::vector<std::string>;

// Shows the form and runs `step` with its window active, then closes it.
void withForm(ui::qt::QtWindowSystem& windows, SampleForm& form, const std::function<void(QWidget&)>& step) {
    whenShown(QString::fromStdString(form.name()), [&](QWidget& window) {
        QApplication::setActiveWindow(&window);
        step(window);
        window.close();
    });
    windows.showModal(form);
}

QPoint centreOfRow(QListWidget& list, int row) { return list.visualItemRect(list.item(row)).center(); }

TEST(Lists, WithNothingSelectedTheFocusMarksNoEntry) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    for (const char* entry : {"first", "second"}) form.ListBox1.AddItem(entry);
    int currentRow = 0;
    withForm(windows, form, [&](QWidget& window) {
        auto& list = child<QListWidget>(window, "ListBox1");
        list.setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        currentRow = list.currentRow();
    });
    EXPECT_EQ(currentRow, -1);
    EXPECT_EQ(form.ListBox1.ListIndex(), -1);
}

TEST(Typing, ChangeRunsPerKeyAndAfterUpdateWhenTheUserLeaves) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.logTextEvents(form.TextBox1);
    withForm(windows, form, [&](QWidget& window) {
        auto& edit = child<QLineEdit>(window, "TextBox1");
        edit.setFocus();
        QTest::keyClicks(&edit, "ab");
        EXPECT_EQ(form.TextBox1.text(), "ab");
        EXPECT_TRUE(form.TextBox1.userEditPending());
        QTest::keyClick(&edit, Qt::Key_Tab);  // leaves the box
        EXPECT_EQ(window.focusWidget(), &child<QLineEdit>(window, "TextBox2"));
    });
    EXPECT_EQ(form.log, (Log{"change a", "change ab", "after-update ab", "query-close box"}));
}

TEST(Typing, EnterCompletesTheEditOnce) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.logTextEvents(form.TextBox1);
    withForm(windows, form, [&](QWidget& window) {
        auto& edit = child<QLineEdit>(window, "TextBox1");
        edit.setFocus();
        QTest::keyClicks(&edit, "x");
        QTest::keyClick(&edit, Qt::Key_Return);
        // Leaving afterwards: nothing new was typed.
        child<QLineEdit>(window, "TextBox2").setFocus(Qt::TabFocusReason);
    });
    EXPECT_EQ(form.log, (Log{"change x", "after-update x", "query-close box"}));
}

TEST(Typing, KeyPressCancelsOrReplacesTheKey) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.TextBox1.onKeyPress = [](int& key) {
        if (std::isdigit(key)) key = 0;
        else key = std::toupper(key);
    };
    withForm(windows, form, [&](QWidget& window) {
        auto& edit = child<QLineEdit>(window, "TextBox1");
        edit.setFocus();
        QTest::keyClicks(&edit, "a1b2");
        EXPECT_EQ(edit.text(), "AB");
    });
    EXPECT_EQ(form.TextBox1.text(), "AB");
}

TEST(Typing, ChangeHandlerRewritingTheTextDoesNotLoop) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    int changes = 0;
    form.TextBox1.onChange = [&] {
        ++changes;
        std::string upper = form.TextBox1.text();
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        form.TextBox1.setText(upper);
    };
    withForm(windows, form, [&](QWidget& window) {
        auto& edit = child<QLineEdit>(window, "TextBox1");
        edit.setFocus();
        QTest::keyClicks(&edit, "ok");
        EXPECT_EQ(edit.text(), "OK");
    });
    // Per key: the user's change, then the handler's own (once: same text after).
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(form.TextBox1.text(), "OK");
}

TEST(Typing, LockedBoxStillReportsKeysButKeepsItsText) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.TextBox1.setText("file.xls");
    form.TextBox1.setLocked(true);
    std::vector<int> keys;
    form.TextBox1.onKeyPress = [&](int& key) { keys.push_back(key); };
    withForm(windows, form, [&](QWidget& window) {
        auto& edit = child<QLineEdit>(window, "TextBox1");
        edit.setFocus();
        QTest::keyClicks(&edit, "z");
    });
    EXPECT_EQ(keys, (std::vector<int>{'z'}));
    EXPECT_EQ(form.TextBox1.text(), "file.xls");
}

TEST(Typing, MultiLineBoxGivesTheModelWindowsLineBreaks) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.TextBox1.multiLine = true;
    form.logTextEvents(form.TextBox1);
    withForm(windows, form, [&](QWidget& window) {
        auto& edit = child<QPlainTextEdit>(window, "TextBox1");
        edit.setFocus();
        QTest::keyClicks(&edit, "a");
        QTest::keyClick(&edit, Qt::Key_Return);
        QTest::keyClicks(&edit, "b");
        EXPECT_EQ(form.TextBox1.text(), "a\r\nb");
        child<QLineEdit>(window, "TextBox2").setFocus(Qt::MouseFocusReason);
    });
    ASSERT_GE(form.log.size(), 2u);
    EXPECT_EQ(form.log[form.log.size() - 2], "after-update a\r\nb");
}

TEST(Mouse, ButtonClickCarriesTheShiftState) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.logMouseEvents(form.CommandButton1);
    withForm(windows, form, [&](QWidget& window) {
        auto& button = child<QPushButton>(window, "CommandButton1");
        QTest::mouseClick(&button, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
        QTest::mouseClick(&button, Qt::LeftButton, Qt::AltModifier);
        QTest::mouseClick(&button, Qt::RightButton);
    });
    EXPECT_EQ(form.log, (Log{"down 1 3", "up 1 3", "click", "down 1 4", "up 1 4", "click", "down 2 0", "up 2 0",
                             "query-close box"}));
}

TEST(Keyboard, SpaceAndEnterPressTheFocusedButton) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.logMouseEvents(form.CommandButton1);
    withForm(windows, form, [&](QWidget& window) {
        auto& button = child<QPushButton>(window, "CommandButton1");
        button.setFocus();
        QTest::keyClick(&button, Qt::Key_Space);
        QTest::keyClick(&button, Qt::Key_Return, Qt::ShiftModifier);
    });
    EXPECT_EQ(form.log, (Log{"down 1 0", "up 1 0", "click", "down 1 1", "up 1 1", "click", "query-close box"}));
}

TEST(Mouse, DisabledButtonReportsNothing) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.logMouseEvents(form.CommandButton1);
    form.CommandButton1.setEnabled(false);
    withForm(windows, form, [&](QWidget& window) {
        auto& button = child<QPushButton>(window, "CommandButton1");
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::RightButton);
    });
    EXPECT_EQ(form.log, (Log{"query-close box"}));
}

TEST(Mouse, TextBoxReportsBothButtons) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.logMouseEvents(form.TextBox1);
    withForm(windows, form, [&](QWidget& window) {
        auto& edit = child<QLineEdit>(window, "TextBox1");
        QTest::mouseClick(&edit, Qt::LeftButton, Qt::AltModifier);
        QTest::mouseClick(&edit, Qt::RightButton);
    });
    EXPECT_EQ(form.log, (Log{"down 1 4", "up 1 4", "down 2 0", "up 2 0", "query-close box"}));
}

TEST(Lists, LeftClickSelectsThenClickRunsBeforeMouseUp) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    for (const char* entry : {"apple", "banana", "cherry"}) form.ListBox1.AddItem(entry);
    form.logMouseEvents(form.ListBox1);
    int indexSeenByClick = -2;
    form.ListBox1.onClick = [&] {
        indexSeenByClick = form.ListBox1.ListIndex();
        form.log.push_back("click");
    };
    withForm(windows, form, [&](QWidget& window) {
        auto& list = child<QListWidget>(window, "ListBox1");
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, centreOfRow(list, 2));
        EXPECT_EQ(list.currentRow(), 2);
        EXPECT_EQ(window.focusWidget(), &list);
        // The same entry again: no change, no Click.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOfRow(list, 2));
    });
    EXPECT_EQ(indexSeenByClick, 2);
    EXPECT_EQ(form.log, (Log{"down 1 2", "click", "up 1 2", "down 1 0", "up 1 0", "query-close box"}));
}

TEST(Lists, RightClickReportsButtonTwoWithoutSelecting) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    for (const char* entry : {"apple", "banana"}) form.ListBox1.AddItem(entry);
    form.ListBox1.SetListIndex(0);
    form.logMouseEvents(form.ListBox1);
    withForm(windows, form, [&](QWidget& window) {
        auto& list = child<QListWidget>(window, "ListBox1");
        QTest::mouseClick(list.viewport(), Qt::RightButton, Qt::ShiftModifier, centreOfRow(list, 1));
        EXPECT_EQ(list.currentRow(), 0);
    });
    EXPECT_EQ(form.ListBox1.ListIndex(), 0);
    EXPECT_EQ(form.log, (Log{"down 2 1", "up 2 1", "query-close box"}));
}

TEST(Lists, TypingALetterJumpsToTheFirstEntryStartingWithIt) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    for (const char* entry : {"apple", "Cherry", "banana", "cranberry"}) form.ListBox1.AddItem(entry);
    std::vector<int> clicks;
    form.ListBox1.onClick = [&] { clicks.push_back(form.ListBox1.ListIndex()); };
    withForm(windows, form, [&](QWidget& window) {
        auto& list = child<QListWidget>(window, "ListBox1");
        list.setFocus();
        QTest::keyClick(&list, 'c');
        EXPECT_EQ(list.currentRow(), 1);
        QTest::keyClick(&list, 'z');  // no entry: stays
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_End);
        QTest::keyClick(&list, Qt::Key_End);  // already there: no Click
    });
    EXPECT_EQ(clicks, (std::vector<int>{1, 2, 3}));
}

TEST(Lists, WithoutFirstLetterMatchingLettersDoNotMove) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    for (const char* entry : {"apple", "banana"}) form.ListBox1.AddItem(entry);
    form.ListBox1.matchFirstLetter = false;
    withForm(windows, form, [&](QWidget& window) {
        auto& list = child<QListWidget>(window, "ListBox1");
        list.setFocus();
        QTest::keyClick(&list, 'b');
    });
    EXPECT_EQ(form.ListBox1.ListIndex(), -1);
}

TEST(CloseBox, QueryCloseCanKeepTheFormOpen) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.refuseCloses = 1;
    bool stillOpen = false;
    whenShown("SampleForm", [&](QWidget& window) {
        window.close();
        stillOpen = window.isVisible() && form.showing();
        window.close();
    });
    windows.showModal(form);
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(form.log, (Log{"query-close box", "query-close box"}));
}

}  // namespace

namespace {

TEST(Lists, KeyUpReportsTheLetGoKeyWithItsShiftStateOnce) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    for (const char* entry : {"one", "two"}) form.ListBox1.AddItem(entry);
    std::vector<std::string> ups;
    form.ListBox1.onKeyUp = [&](int& code, int shift) {
        ups.push_back(std::to_string(code) + "/" + std::to_string(shift) + " at " +
                      std::to_string(form.ListBox1.ListIndex()));
    };
    withForm(windows, form, [&](QWidget& window) {
        auto& list = child<QListWidget>(window, "ListBox1");
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Down);  // the move comes first, then KeyUp
        // Events of their own: QTest would press and let go Shift too.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, "\r");
        QKeyEvent enterUp(QEvent::KeyRelease, Qt::Key_Return, Qt::ShiftModifier, "\r");
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QKeyEvent downUp(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
        for (QKeyEvent* event : {&enter, &enterUp, &repeat, &downUp}) QApplication::sendEvent(&list, event);
    });
    EXPECT_EQ(ups, (std::vector<std::string>{"40/0 at 0", "13/1 at 0", "40/0 at 0"}));
}

TEST(Typing, SelectionAndLengthSetByTheProgramReachTheShownBoxAndTheUsersComeBack) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.TextBox2.multiLine = true;
    withForm(windows, form, [&](QWidget& window) {
        auto& edit = child<QLineEdit>(window, "TextBox1");
        form.TextBox1.setText("Presentation");
        form.TextBox1.SetSelStart(3);
        form.TextBox1.SetSelLength(4);
        EXPECT_EQ(edit.selectedText(), "sent");
        form.TextBox1.SetSelLength(40);  // kept inside the text
        EXPECT_EQ(edit.selectedText(), "sentation");
        form.TextBox1.SetSelStart(0);
        EXPECT_FALSE(edit.hasSelectedText());
        EXPECT_EQ(edit.cursorPosition(), 0);

        edit.setFocus();
        form.TextBox1.SetMaxLength(14);
        QTest::keyClick(&edit, Qt::Key_End);
        QTest::keyClicks(&edit, "xyz");
        EXPECT_EQ(form.TextBox1.text(), "Presentationxy");
        EXPECT_EQ(form.TextBox1.SelStart(), 14);
        QTest::keyClick(&edit, Qt::Key_Home, Qt::ShiftModifier);
        EXPECT_EQ(form.TextBox1.SelStart(), 0);
        EXPECT_EQ(form.TextBox1.SelLength(), 14);
        form.TextBox1.SetMaxLength(0);
        QTest::keyClick(&edit, Qt::Key_End);
        QTest::keyClicks(&edit, "zz");
        EXPECT_EQ(form.TextBox1.text(), "Presentationxyzz");

        auto& lines = child<QPlainTextEdit>(window, "TextBox2");
        form.TextBox2.setText("first\rsecond");
        form.TextBox2.SetSelStart(6);
        form.TextBox2.SetSelLength(3);
        EXPECT_EQ(lines.textCursor().selectedText(), "sec");
    });
}

}  // namespace
