// Modal forms nest, each in its own loop that ends when the form hides or
// unloads; an exception from a handler leaves Qt's loops and comes out of
// the outermost showModal, with every window gone.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "core/ProgramEnd.h"
#include "qt/QtTestSupport.h"
#include "qt/TestForms.h"
#include "ui/qt/QtWindowSystem.h"

namespace {

using qttest::child;
using qttest::SampleForm;
using qttest::visibleWindow;
using qttest::whenShown;
using Log = std::vector<std::string>;

void clickButton(QWidget& window, const char* name) { QTest::mouseClick(&child<QPushButton>(window, name), Qt::LeftButton); }

TEST(ModalLoops, HideAndUnloadFromAHandlerEndTheLoop) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.CommandButton1.onClick = [&] { form.Hide(); };
    form.CommandButton2.onClick = [&] { form.Unload(); };
    whenShown("SampleForm", [](QWidget& window) { clickButton(window, "CommandButton1"); });
    windows.showModal(form);
    EXPECT_TRUE(form.loaded());  // hidden, still loaded
    whenShown("SampleForm", [](QWidget& window) { clickButton(window, "CommandButton2"); });
    windows.showModal(form);
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(visibleWindow("SampleForm"), nullptr);
}

TEST(ModalLoops, FormUnloadedByItsLoadEventIsNeverShown) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.onInitialize = [&] { form.Unload(); };
    windows.showModal(form);  // returns without a loop: nothing would end it
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(visibleWindow("SampleForm"), nullptr);
}

TEST(ModalLoops, NestedFormRunsOnTopAndHandsBackToTheOuter) {
    ui::qt::QtWindowSystem windows;
    SampleForm outer("Outer");
    SampleForm inner("Inner");
    outer.CommandButton1.onClick = [&] {
        outer.log.push_back("opening inner");
        whenShown("Inner", [&](QWidget& window) {
            EXPECT_EQ(window.parentWidget(), windows.windowOf(outer));
            window.close();
        });
        windows.showModal(inner);
        outer.log.push_back("inner closed");
        whenShown("Outer", [](QWidget& window) { window.close(); });
    };
    whenShown("Outer", [](QWidget& window) { clickButton(window, "CommandButton1"); });
    windows.showModal(outer);
    EXPECT_EQ(outer.log, (Log{"opening inner", "inner closed", "query-close box"}));
    EXPECT_EQ(inner.log, (Log{"query-close box"}));
}

TEST(ModalLoops, ProgramEndedInANestedFormUnwindsOutOfTheOuterShowModal) {
    ui::qt::QtWindowSystem windows;
    SampleForm outer("Outer");
    SampleForm inner("Inner");
    outer.CommandButton1.onClick = [&] {
        whenShown("Inner", [](QWidget& window) { clickButton(window, "CommandButton1"); });
        windows.showModal(inner);
        outer.log.push_back("must not run");
    };
    inner.CommandButton1.onClick = [] { core::EndProgram(); };
    whenShown("Outer", [](QWidget& window) { clickButton(window, "CommandButton1"); });

    EXPECT_THROW(windows.showModal(outer), core::ProgramEnded);
    EXPECT_TRUE(outer.log.empty());
    EXPECT_FALSE(outer.showing());
    EXPECT_FALSE(inner.showing());
    EXPECT_EQ(visibleWindow("Outer"), nullptr);
    EXPECT_EQ(visibleWindow("Inner"), nullptr);

    // Nothing is left over: the next form runs normally.
    SampleForm after("After");
    whenShown("After", [](QWidget& window) { window.close(); });
    EXPECT_NO_THROW(windows.showModal(after));
}

TEST(ModalLoops, ErrorThrownWhileAMessageBoxIsAnsweredReachesTheCaller) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.CommandButton1.onClick = [&] {
        whenShown(ui::qt::QtWindowSystem::kMessageBoxName, [](QWidget& box) { QTest::keyClick(&box, Qt::Key_Return); });
        if (windows.askYesNo("Delete the group?", false)) form.log.push_back("yes");
        throw std::runtime_error("after the box: " + std::string(form.log.empty() ? "no" : "yes"));
    };
    whenShown("SampleForm", [](QWidget& window) { clickButton(window, "CommandButton1"); });
    try {
        windows.showModal(form);
        FAIL() << "the handler's error was lost";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "after the box: no");
    }
}

TEST(ModalLoops, ErrorFromAnEventRunByDoEventsComesOutOfDoEvents) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.TextBox2.onEnter = [] { throw std::logic_error("from the focus change"); };
    form.CommandButton1.onClick = [&] {
        QWidget* window = windows.windowOf(form);
        QTimer::singleShot(0, [window] { qttest::child<QWidget>(*window, "TextBox2").setFocus(); });
        try {
            windows.doEvents();
        } catch (const std::logic_error&) {
            form.log.push_back("doEvents threw");
            throw;
        }
    };
    whenShown("SampleForm", [](QWidget& window) { clickButton(window, "CommandButton1"); });
    EXPECT_THROW(windows.showModal(form), std::logic_error);
    EXPECT_EQ(form.log, (Log{"doEvents threw"}));
}

TEST(ModalLoops, ClicksDuringAPauseOfAHandlerAreDroppedAndPaintingGoesOn) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    int secondRuns = 0;
    form.CommandButton2.onClick = [&] { ++secondRuns; };
    form.CommandButton1.onClick = [&] {
        QWidget* window = windows.windowOf(form);
        form.Label1.setCaption("OK");
        QTimer::singleShot(0, [window] {
            clickButton(*window, "CommandButton2");
            clickButton(*window, "CommandButton1");
        });
        for (int i = 0; i < 5; ++i) windows.doEvents();
        form.log.push_back(qttest::child<QLabel>(*window, "Label1").text().toStdString());
        form.Unload();
    };
    whenShown("SampleForm", [](QWidget& window) { clickButton(window, "CommandButton1"); });
    windows.showModal(form);
    EXPECT_EQ(secondRuns, 0);
    EXPECT_EQ(form.log, (Log{"OK", "query-close code"}));
}

TEST(ModalLoops, ShowingAFormThatIsAlreadyShownIsAnError) {
    ui::qt::QtWindowSystem windows;
    SampleForm form;
    form.CommandButton1.onClick = [&] { windows.showModal(form); };
    whenShown("SampleForm", [](QWidget& window) { clickButton(window, "CommandButton1"); });
    EXPECT_THROW(windows.showModal(form), std::logic_error);
    EXPECT_FALSE(form.showing());
}

}  // namespace
