// The full-screen view of a document line: only the range's pages, a slide
// show that never leaves its range, and Esc or Alt+F4 closing the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollArea>
#include <QTimer>
#include <QTest>
#include <fstream>

#include "app/DocumentView.h"
#include "automation/AutomationError.h"
#include "playerdocs/DocsSupport.h"

namespace docstest {
namespace {

class DocumentViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureQtApplication();
        pdf = (folder.path() / "five.pdf").string();
        writeTextPdf(pdf, {"Page one", "Page two", "Page three", "Page four", "Page five"});
    }
    testsupport::TempFolder folder;
    std::string pdf;
};

// How much of `image` inside `rect` is not the colour at its corner.
bool hasDrawing(const QImage& image, const QRect& rect) {
    const QRgb background = image.pixel(rect.topLeft());
    for (int y = rect.top(); y <= rect.bottom(); y += 2)
        for (int x = rect.left(); x <= rect.right(); x += 2)
            if (image.pixel(x, y) != background) return true;
    return false;
}

TEST_F(DocumentViewTest, ADocumentShowsOnlyItsRangeAsPagesToScroll) {
    app::DocumentWindow window(pdf, 2, 3, false, "Title - The report");
    window.resize(800, 600);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    app::PageStrip* strip = window.strip();
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(window.slides(), nullptr);
    EXPECT_EQ(strip->pages(), (std::vector<int>{2, 3}));
    EXPECT_TRUE(strip->pageRect(1).isEmpty());
    EXPECT_TRUE(strip->pageRect(4).isEmpty());

    // Both pages drawn, one under the other, within the window's width:
    // a page as tall as it is long, nothing beside it to scroll to.
    const QRect second = strip->pageRect(2), third = strip->pageRect(3);
    EXPECT_GT(third.top(), second.bottom());
    EXPECT_LE(strip->width(), 800);
    EXPECT_NEAR(static_cast<double>(second.height()) / second.width(), 297.0 / 210.0, 0.02);
    const QImage drawn = strip->grab().toImage();
    EXPECT_TRUE(hasDrawing(drawn, second.adjusted(0, 0, 0, -second.height() / 2)));
    EXPECT_TRUE(hasDrawing(drawn, third.adjusted(0, 0, 0, -third.height() / 2)));
    EXPECT_EQ(drawn.pixelColor(second.center().x(), second.bottom() - 4), QColor(Qt::white));

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Title - The report"));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST_F(DocumentViewTest, ASlideShowMovesWithinItsRangeOnly) {
    app::DocumentWindow window(pdf, 2, 4, true, "Deck");
    window.resize(1024, 768);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    app::SlideShow* slides = window.slides();
    ASSERT_NE(slides, nullptr);
    EXPECT_EQ(window.strip(), nullptr);
    EXPECT_EQ(slides->current(), 2);

    QTest::keyClick(slides, Qt::Key_Left);  // before the first: stays
    EXPECT_EQ(slides->current(), 2);
    const QImage second = slides->slideImage();
    QTest::keyClick(slides, Qt::Key_Right);
    EXPECT_EQ(slides->current(), 3);
    EXPECT_NE(slides->slideImage(), second);
    QTest::keyClick(slides, Qt::Key_Space);
    EXPECT_EQ(slides->current(), 4);
    QTest::keyClick(slides, Qt::Key_PageDown);  // past the last: stays
    QTest::mouseClick(slides, Qt::LeftButton);
    EXPECT_EQ(slides->current(), 4);
    QTest::keyClick(slides, Qt::Key_PageUp);
    EXPECT_EQ(slides->current(), 3);
    QTest::mouseClick(slides, Qt::RightButton);
    EXPECT_EQ(slides->current(), 2);
    QTest::keyClick(slides, Qt::Key_End);
    EXPECT_EQ(slides->current(), 4);
    QTest::keyClick(slides, Qt::Key_Home);
    EXPECT_EQ(slides->current(), 2);

    // One slide fills the screen: as wide or as tall as the window.
    const QImage image = slides->slideImage();
    EXPECT_TRUE(image.width() == slides->width() || image.height() == slides->height())
        << image.width() << "x" << image.height() << " in " << slides->width() << "x" << slides->height();

    // Alt+F4 returns to the menu even where no window manager closes windows.
    QTest::keyClick(slides, Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST_F(DocumentViewTest, ARangePastTheDocumentIsClampedAndAFileThatIsNoPdfIsRefused) {
    app::DocumentWindow window(pdf, 4, 9, false, "Tail");
    window.resize(640, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.strip()->pages(), (std::vector<int>{4, 5}));

    const std::string text = (folder.path() / "notes.pdf").string();
    std::ofstream(text) << "not a PDF\n";
    try {
        app::DocumentWindow broken(text, 1, 1, false, "Broken");
        ADD_FAILURE() << "a text file was shown as a PDF";
    } catch (const automation::AutomationError& error) {
        EXPECT_NE(error.description().find("notes.pdf"), std::string::npos) << error.description();
    }
}

TEST_F(DocumentViewTest, OverTheModalMenuTheFullScreenViewTakesTheInputAndReturnsOnEsc) {
    // The menu is an application-modal window of its own; the view shown
    // from its click handler must be the modal window on top, or the menu
    // blocks every key and click the view should get.
    QDialog menu;
    menu.setWindowModality(Qt::ApplicationModal);
    menu.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));

    std::string onTop;
    bool fullScreen = false;
    QTimer::singleShot(200, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        onTop = modal ? modal->windowTitle().toStdString() : std::string();
        fullScreen = modal && modal->isFullScreen();
        if (modal && modal != &menu) QTest::keyClick(modal, Qt::Key_Escape);
    });
    // Whatever happens, the view goes after a while: the test never hangs.
    QTimer::singleShot(5000, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<app::DocumentWindow*>(widget)) window->reject();
    });
    QElapsedTimer clock;
    clock.start();
    app::ShowDocumentFullScreen(pdf, 1, 2, false, "Over the menu");
    EXPECT_EQ(onTop, "Over the menu");
    EXPECT_TRUE(fullScreen);
    EXPECT_LT(clock.elapsed(), 4000) << "Esc did not close the view";
}

}  // namespace
}  // namespace docstest
