// A form on screen: sizes in pixels from points at 4/3, frames holding their
// controls, fonts, colours, names and tab order as the model gives them.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "qt/QtTestSupport.h"
#include "qt/TestForms.h"
#include "ui/qt/FrameBox.h"
#include "ui/qt/QtWindowSystem.h"

namespace {

using qttest::child;
using qttest::SampleForm;
using qttest::whenShown;

TEST(FormLayout, PointsBecomePixelsAtFourThirdsWhateverTheScreen) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.clientWidth = 763.5;
    form.clientHeight = 557.3;
    form.Frame1.setCaption("Pages");
    bool checked = false;
    whenShown("SampleForm", [&](QWidget& window) {
        EXPECT_EQ(window.size(), QSize(1018, 743));
        EXPECT_EQ(window.windowTitle(), "Sample");
        auto& button = child<QPushButton>(window, "CommandButton1");
        EXPECT_EQ(button.geometry(), QRect(16, 8, 133, 40));  // 100 x 30 points at 12, 6
        auto& list = child<QListWidget>(window, "ListBox1");
        EXPECT_EQ(list.geometry(), QRect(187, 56, 200, 80));
        // Inside a frame, positions count from the frame's border line,
        // which the caption above it pushes down.
        auto& frame = child<ui::qt::FrameBox>(window, "Frame1");
        auto& inFrame = child<QPushButton>(window, "CommandButton2");
        EXPECT_EQ(inFrame.parentWidget(), &frame);
        const int captionedLine = frame.lineTop();
        EXPECT_GT(captionedLine, 5);
        EXPECT_EQ(inFrame.geometry(), QRect(8, 16 + captionedLine, 133, 40));
        form.Frame1.setFont({"Tahoma", 16});
        EXPECT_GT(frame.lineTop(), captionedLine);
        EXPECT_EQ(inFrame.y(), 16 + frame.lineTop());
        checked = true;
        window.close();
    });
    windows.showModal(form);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(form.showing());
    EXPECT_EQ(windows.windowOf(form), nullptr);
}

TEST(FormLayout, FontsAreSizedInPixelsFromPoints) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.Label1.setFont({"Tahoma", 12, true, false, true});
    form.ListBox1.setFont({"Courier New", 10});
    whenShown("SampleForm", [&](QWidget& window) {
        const QFont button = child<QPushButton>(window, "CommandButton1").font();
        EXPECT_EQ(button.pixelSize(), 11);  // Tahoma 8.25
        EXPECT_EQ(QFontInfo(button).family(), "Tahoma");
        const QFont label = child<QLabel>(window, "Label1").font();
        EXPECT_EQ(label.pixelSize(), 16);
        EXPECT_TRUE(label.underline());
        const QFontInfo shown(label);
        EXPECT_EQ(shown.family(), "Tahoma");
        EXPECT_TRUE(shown.bold());
        // Courier New is not installed: a metric-compatible font stands in.
        const QFont list = child<QListWidget>(window, "ListBox1").font();
        EXPECT_EQ(list.pixelSize(), 13);
        EXPECT_TRUE(QFontInfo(list).fixedPitch());
        window.close();
    });
    windows.showModal(form);
}

TEST(FormLayout, ColoursHaveRedInTheLowByteAndCanGoBackToTheSystemColour) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.CommandButton1.setBackColor(ui::kRed);
    form.TextBox1.setBackColor(ui::kGreen);
    form.Label1.setBackColor(0xFF0000);  // blue
    form.TextBox2.setBackColor(0x80000005);  // a system colour: the style's own
    whenShown("SampleForm", [&](QWidget& window) {
        EXPECT_EQ(child<QPushButton>(window, "CommandButton1").palette().color(QPalette::Button), QColor(255, 0, 0));
        auto& text = child<QLineEdit>(window, "TextBox1");
        EXPECT_EQ(text.palette().color(QPalette::Base), QColor(0, 255, 0));
        auto& label = child<QLabel>(window, "Label1");
        EXPECT_EQ(label.palette().color(QPalette::Window), QColor(0, 0, 255));
        EXPECT_TRUE(label.autoFillBackground());
        const QColor systemBase = child<QLineEdit>(window, "TextBox2").palette().color(QPalette::Base);
        EXPECT_EQ(systemBase, QApplication::palette(&text).color(QPalette::Base));

        form.TextBox1.setBackColor(std::nullopt);
        EXPECT_EQ(text.palette().color(QPalette::Base), systemBase);
        form.Label1.setBackColor(std::nullopt);
        EXPECT_FALSE(label.autoFillBackground());
        window.close();
    });
    windows.showModal(form);
}

TEST(FormLayout, TabGoesByTabIndexAndSkipsLabelsAndFrames) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.CommandButton1.setTabIndex(9);  // now last
    std::vector<QString> visited;
    whenShown("SampleForm", [&](QWidget& window) {
        QApplication::setActiveWindow(&window);
        // The first by tab index has the focus when the form opens.
        visited.push_back(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "none");
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.push_back(QApplication::focusWidget()->objectName());
        }
        window.close();
    });
    windows.showModal(form);
    EXPECT_EQ(visited, (std::vector<QString>{"TextBox1", "TextBox2", "ListBox1", "CommandButton2", "CommandButton1",
                                             "TextBox1"}));
}

}  // namespace
