// The sheet view on screen (offscreen platform): a long sheet scrolls with
// the keys to its last row, frozen rows stay at the top meanwhile, hidden
// rows take no room, and the view opens where the sheet's window was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>

#include "render/GuiApplication.h"
#include "render/SheetView.h"

namespace {

constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00;

// 300 rows of 15 points, 4 columns; row 1 red, row 2 green, the last blue.
office::ShownSheet longSheet() {
    office::ShownSheet sheet;
    sheet.columnWidths.assign(4, 50);
    sheet.rowHeights.assign(300, 15);
    for (auto [row, colour] : {std::pair{1u, kRed}, {2u, kGreen}, {300u, kBlue}}) {
        office::ShownCell cell;
        cell.row = row;
        cell.columnSpan = 4;
        cell.fill = colour;
        sheet.cells.push_back(cell);
    }
    return sheet;
}

class SheetViewTest : public ::testing::Test {
protected:
    void SetUp() override { render::ensureGuiApplication(); }

    static std::uint32_t at(render::SheetView& view, int x, int y) {
        return view.viewport()->grab().toImage().pixel(x, y) & 0xFFFFFFu;
    }
    static void press(render::SheetView& view, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&view, &event);
    }
};

TEST_F(SheetViewTest, ALongSheetScrollsToItsEndWithTheKeys) {
    render::SheetView view(longSheet());
    view.resize(300, 200);
    view.show();
    const int bottom = view.viewport()->height() - 2;
    EXPECT_EQ(at(view, 10, 2), kRed);
    EXPECT_EQ(at(view, 10, bottom), 0xFFFFFFu);
    press(view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(at(view, 10, bottom), kBlue);
    EXPECT_NE(at(view, 10, 2), kRed);
    press(view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(at(view, 10, 2), kRed);
    press(view, Qt::Key_PageDown);
    EXPECT_NE(at(view, 10, 2), kRed);
}

TEST_F(SheetViewTest, FrozenRowsStayWhileTheRestScrolls) {
    office::ShownSheet sheet = longSheet();
    sheet.frozenRows = 1;
    sheet.topRow = 2;
    render::SheetView view(sheet);
    view.resize(300, 200);
    view.show();
    const int bottom = view.viewport()->height() - 2;
    const int secondRow = static_cast<int>(15 * view.pixelsPerPoint()) + 3;
    EXPECT_EQ(at(view, 10, 2), kRed);
    EXPECT_EQ(at(view, 10, secondRow), kGreen);
    press(view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(at(view, 10, 2), kRed);
    EXPECT_EQ(at(view, 10, bottom), kBlue);
    EXPECT_NE(at(view, 10, secondRow), kGreen);
}

TEST_F(SheetViewTest, OpensWhereTheWindowWasAndHiddenRowsTakeNoRoom) {
    office::ShownSheet sheet = longSheet();
    sheet.topRow = 300;
    render::SheetView scrolled(sheet);
    scrolled.resize(300, 200);
    scrolled.show();
    EXPECT_EQ(at(scrolled, 10, scrolled.viewport()->height() - 2), kBlue);

    // With the first row hidden the green second row is the top one.
    sheet = longSheet();
    sheet.rowHeights[0] = 0;
    render::SheetView hidden(sheet);
    hidden.resize(300, 200);
    hidden.show();
    EXPECT_EQ(at(hidden, 10, 2), kGreen);
}

}  // namespace
