#pragma once
// Qt's input values turned into the codes the forms' events carry: shift
// state 1 Shift + 2 Ctrl + 4 Alt, buttons 1 left, 2 right, 4 middle, key
// codes as the forms know them (letters and digits their upper-case ASCII,
// 13 Enter, 27 Esc, 37..40 arrows, 112.. F1...).
#include <QKeyEvent>
#include <Qt>

namespace ui::qt {

int shiftState(Qt::KeyboardModifiers modifiers);
// 0 for buttons the forms do not know.
int buttonCode(Qt::MouseButton button);
// 0 for keys without a code of their own.
int keyCodeOf(int qtKey);
// The character a key types (KeyPress), 0 when it types none: Tab moves the
// focus and Delete edits, neither types.
int keyAsciiOf(const QKeyEvent& event);

}  // namespace ui::qt
