#pragma once
// One Qt widget per kind of control, and the model's properties shown on it.
#include <QWidget>
#include <optional>
#include <utility>

#include "ui/model/Control.h"

namespace ui::qt {

// A widget for the control as a child of `parent`, named after the control
// so tests and tools can find it; every property is already applied.
QWidget* createControlWidget(Control& control, QWidget* parent);

// Shows one property of the model on the widget. Focus is the window's
// business and is not handled here. The caller blocks the widget's signals,
// so a change made by the program never comes back as a user's action.
void applyProperty(Control& control, QWidget& widget, Property property);

// Start and length of a text widget's selection (the caret when empty), in
// UTF-16 units; nothing for other widgets.
std::optional<std::pair<int, int>> widgetSelection(const QWidget& widget);

// The widget that receives the mouse: the viewport of scrolling widgets.
QWidget& mouseTarget(QWidget& widget);

// Whether the user can put the keyboard focus on the control at all.
bool takesFocus(const Control& control);

}  // namespace ui::qt
