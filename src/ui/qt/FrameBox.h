#pragma once
// A frame: a group box whose controls are placed from its border line down,
// as the forms were designed (the caption sits above the line here, so the
// line moves with the caption's font).
#include <QGroupBox>

namespace ui::qt {

class FrameBox : public QGroupBox {
public:
    explicit FrameBox(QWidget* parent) : QGroupBox(parent) {}
    // Pixels from the top of the widget to its border line.
    int lineTop() const;
};

}  // namespace ui::qt
