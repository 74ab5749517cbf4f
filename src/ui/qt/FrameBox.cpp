#include "ui/qt/FrameBox.h"

#include <QStyle>
#include <algorithm>
#include <QStyleOptionGroupBox>

namespace ui::qt {

int FrameBox::lineTop() const {
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    // Styles report no rectangle for the line itself; the contents start the
    // width of the border below it, as they do beside it.
    const QRect contents = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, this);
    return std::max(0, contents.top() - contents.left());
}

}  // namespace ui::qt
