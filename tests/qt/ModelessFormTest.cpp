// A modeless form stays up without a loop of its own, behind the modal form
// shown after it, refuses the user's close and goes when the program
// unloads it or the form object ends.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

#include "qt/QtTestSupport.h"
#include "qt/TestForms.h"
#include "ui/qt/QtWindowSystem.h"

namespace {

using qttest::SampleForm;
using qttest::visibleWindow;
using qttest::whenShown;

int shownWindows(const QString& name) {
    int shown = 0;
    for (const QWidget* window : QApplication::topLevelWidgets())
        shown += window->isVisible() && window->objectName() == name ? 1 : 0;
    return shown;
}

// Runs the deletions a closed modeless window left to the event loop.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(ModelessForms, StandBehindTheModalFormUntilUnloaded) {
    ui::qt::QtWindowSystem windows;
    ui::Form backdrop("Backdrop");
    backdrop.clientWidth = 768;
    backdrop.clientHeight = 576;
    windows.showModeless(backdrop);  // returns at once
    EXPECT_TRUE(backdrop.showing());
    QWidget* behind = visibleWindow("Backdrop");
    ASSERT_NE(behind, nullptr);
    EXPECT_EQ(behind->size(), QSize(1024, 768));
    EXPECT_FALSE(behind->close()) << "only the program takes it down";
    EXPECT_TRUE(backdrop.showing());

    SampleForm menu;
    whenShown("SampleForm", [&](QWidget& window) {
        EXPECT_EQ(window.windowHandle()->transientParent(), behind->windowHandle());
        EXPECT_EQ(QApplication::activeModalWidget(), &window);
        EXPECT_TRUE(behind->isVisible());
        menu.Unload();
    });
    windows.showModal(menu);
    EXPECT_EQ(windows.windowOf(backdrop), behind);

    backdrop.Unload();
    EXPECT_FALSE(backdrop.loaded());
    EXPECT_EQ(visibleWindow("Backdrop"), nullptr);
    EXPECT_EQ(windows.windowOf(backdrop), nullptr);
    settle();

    // Shown again, it is a window again, and a modal form without one in
    // front of it belongs to nothing.
    windows.showModeless(backdrop);
    EXPECT_TRUE(backdrop.loaded());
    ASSERT_NE(visibleWindow("Backdrop"), nullptr);
    backdrop.Hide();
    settle();
    whenShown("SampleForm", [&](QWidget& window) {
        EXPECT_EQ(window.windowHandle()->transientParent(), nullptr);
        menu.Unload();
    });
    windows.showModal(menu);
}

TEST(ModelessForms, GoWithTheirFormOrWithTheWindowSystem) {
    ui::Form kept("Kept");
    {
        ui::qt::QtWindowSystem windows;
        {
            ui::Form passing("Passing");
            windows.showModeless(passing);
            windows.showModeless(passing);  // already up: still one window
            EXPECT_EQ(shownWindows("Passing"), 1);
        }
        EXPECT_EQ(visibleWindow("Passing"), nullptr);
        settle();
        windows.showModeless(kept);
        ASSERT_NE(visibleWindow("Kept"), nullptr);
    }
    EXPECT_EQ(visibleWindow("Kept"), nullptr);
}

}  // namespace
