// Values handed between the model and Qt: colours, line breaks, list column
// widths, key codes, and the program's argument.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "ui/qt/Conversions.h"
#include "ui/qt/InputMapping.h"
#include "ui/qt/ListColumns.h"

namespace {

using namespace ui::qt;

TEST(Colours, RedIsTheLowByteAndSystemColoursHaveNoValue) {
    EXPECT_EQ(toQColor(255u), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(65280u), QColor(0, 255, 0));
    EXPECT_EQ(toQColor(0x00804020u), QColor(0x20, 0x40, 0x80));
    EXPECT_FALSE(toQColor(0x8000000Fu).has_value());
    EXPECT_FALSE(toQColor(std::nullopt).has_value());
}

TEST(LineBreaks, EachKindOfBreakCountsOnce) {
    EXPECT_EQ(displayLines("a\r\nb\rc\nd"), "a\nb\nc\nd");
    EXPECT_EQ(displayLines("a\r\n\r\nb"), "a\n\nb");
    EXPECT_EQ(modelLines("a\nb"), "a\r\nb");
    EXPECT_EQ(modelLines("a\r\nb"), "a\r\nb");
    EXPECT_EQ(toStdString(toQString("Sì – è")), "Sì – è");
}

TEST(ColumnWidths, NumbersAreEitherPointsOrCarryTheirUnit) {
    EXPECT_EQ(parseColumnWidths("72;144", 2), (std::vector<double>{72, 144}));
    const auto units = parseColumnWidths("2.54 cm; 1 in;25.4 mm", 3);
    ASSERT_EQ(units.size(), 3u);
    EXPECT_DOUBLE_EQ(units[0], 72);
    EXPECT_DOUBLE_EQ(units[1], 72);
    EXPECT_DOUBLE_EQ(units[2], 72);
    // Missing, empty or unreadable widths give an inch; extra ones are ignored.
    EXPECT_EQ(parseColumnWidths("", 2), (std::vector<double>{72, 72}));
    EXPECT_EQ(parseColumnWidths("abc;;10 pt", 4), (std::vector<double>{72, 72, 10, 72}));
    EXPECT_EQ(parseColumnWidths("10;20;30", 1), (std::vector<double>{10}));
    EXPECT_EQ(parseColumnWidths("-5;3 furlongs", 2), (std::vector<double>{72, 72}));
}

TEST(InputCodes, ShiftButtonsAndKeysAsTheFormsKnowThem) {
    EXPECT_EQ(shiftState(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(shiftState(Qt::ControlModifier | Qt::KeypadModifier), 2);
    EXPECT_EQ(buttonCode(Qt::RightButton), 2);
    EXPECT_EQ(buttonCode(Qt::BackButton), 0);
    EXPECT_EQ(keyCodeOf(Qt::Key_Q), 'Q');
    EXPECT_EQ(keyCodeOf(Qt::Key_F4), 115);
    EXPECT_EQ(keyCodeOf(Qt::Key_Down), 40);
    EXPECT_EQ(keyCodeOf(Qt::Key_Enter), 13);
    EXPECT_EQ(keyCodeOf(Qt::Key_Eject), 0);

    EXPECT_EQ(keyAsciiOf(QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, "A")), 'A');
    EXPECT_EQ(keyAsciiOf(QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "")), 13);
    EXPECT_EQ(keyAsciiOf(QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "\t")), 0);
    EXPECT_EQ(keyAsciiOf(QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, "\x7f")), 0);
    EXPECT_EQ(keyAsciiOf(QKeyEvent(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x20AC)))), 0);
    EXPECT_EQ(keyAsciiOf(QKeyEvent(QEvent::KeyPress, Qt::Key_Igrave, Qt::NoModifier, QString(QChar(0xEC)))), 0xEC);
}

}  // namespace
