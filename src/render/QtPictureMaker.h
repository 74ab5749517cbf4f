#pragma once
// The Qt implementation of the picture-making surface: chart pictures drawn
// with Qt Charts and object icons with their labels, both off-screen.
//
// Pictures are drawn at kDotsPerInch: a chart of w x h points becomes a PNG of
// round(w * kDotsPerInch / 72) x round(h * kDotsPerInch / 72) pixels that
// records that density, so it keeps its size in points wherever it is placed.
//
// Qt needs an application object to draw. The program makes its QApplication
// before anything else; a caller without one (a batch run, a test) gets one
// made on the first call, on the offscreen platform when there is no display.
#include "automation/Pictures.h"

namespace render {

class QtPictureMaker : public automation::PictureMaker {
public:
    static constexpr double kDotsPerInch = 144;

    QtPictureMaker();

    // Unknown kinds, and charts without a single point to draw, give a framed
    // placeholder with the chart's title. A size below one point or beyond
    // 2000 points a side raises AutomationError 1004.
    automation::Picture chartPicture(const automation::chart::Chart& chart, double widthPt,
                                     double heightPt) override;
    // The desktop icon theme's icon for the file's type (by its name; the file
    // need not exist), a plain document icon where the theme has none.
    automation::Picture iconPicture(const std::string& filePath, const std::string& label) override;
};

}  // namespace render
