#include "render/QtPictureMaker.h"

#include <cmath>
#include <string>

#include "automation/AutomationError.h"
#include "render/ChartDrawing.h"
#include "render/GuiApplication.h"
#include "render/IconDrawing.h"
#include "render/PictureCanvas.h"

namespace render {
namespace {

constexpr double kMinSidePt = 1;
constexpr double kMaxSidePt = 2000;  // beyond a chart sheet's page several times over

void checkSize(double widthPt, double heightPt) {
    auto fits = [](double side) { return std::isfinite(side) && side >= kMinSidePt && side <= kMaxSidePt; };
    if (!fits(widthPt) || !fits(heightPt))
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "A chart picture of " + std::to_string(widthPt) + " x " +
                                              std::to_string(heightPt) + " points cannot be drawn.");
}

}  // namespace

QtPictureMaker::QtPictureMaker() = default;

automation::Picture QtPictureMaker::chartPicture(const automation::chart::Chart& chart, double widthPt,
                                                 double heightPt) {
    checkSize(widthPt, heightPt);
    ensureGuiApplication();
    PictureCanvas canvas(widthPt * kLogicalPerPoint, heightPt * kLogicalPerPoint);
    if (isDrawable(chart))
        drawChart(chart, canvas);
    else
        drawPlaceholder(chart, canvas);
    return canvas.toPicture();
}

automation::Picture QtPictureMaker::iconPicture(const std::string& filePath, const std::string& label) {
    ensureGuiApplication();
    return drawIcon(filePath, label);
}

}  // namespace render
