#pragma once
// Helpers for driving real Qt windows from tests: one QApplication for the
// whole program (a GoogleTest environment), and steps that run inside a
// modal loop once the window they act on is on screen.
#include <QApplication>
#include <QListWidget>
#include <QWidget>
#include <functional>
#include <string>

namespace qttest {

// The visible top-level window with this object name (a form's name, or a
// box's name), nullptr when there is none.
QWidget* visibleWindow(const QString& name);

// Runs `step` as soon as the window named `name` is visible. Steps are
// chained from inside each other to play a whole session; a window that never
// appears ends the test program with a message instead of hanging.
void whenShown(const QString& name, std::function<void(QWidget& window)> step);

// Saves the window's picture as `name` in TAVOLEX_SCREENSHOT_DIR, when set.
void screenshot(QWidget& window, const char* name);

// The row of a list showing `text` (blanks around it ignored); a test
// failure and row 0 when there is none.
int rowOf(QListWidget& list, const QString& text);
// Where to click on a row of a list, in its viewport.
QPoint centreOf(QListWidget& list, int row);

[[noreturn]] void missingWidget(const QWidget& window, const char* name);

// A child widget by object name. Steps run inside Qt's event loop, where an
// exception must not go: a missing widget ends the program with a message.
template <class Widget>
Widget& child(QWidget& window, const char* name) {
    auto* found = window.findChild<Widget*>(QString::fromLatin1(name));
    if (!found) missingWidget(window, name);
    return *found;
}

}  // namespace qttest
