#include "office/engine/EnginePageSetup.h"

#include <cmath>
#include <string>

namespace office::engine {

namespace excel = automation::excel;

namespace {
constexpr double kPointsPerInch = 72;
constexpr double kMaxMarginInches = 49;  // Excel refuses margins beyond the page
}  // namespace

void EnginePageSetup::setMargin(double office::PageSetup::*margin, double points, const char* what) {
    const double inches = points / kPointsPerInch;
    if (!std::isfinite(inches) || inches < 0 || inches > kMaxMarginInches)
        raise(std::string("Unable to set the ") + what + " property of the PageSetup class: " +
              std::to_string(points) + " points is no margin.");
    setup().*margin = inches;
}

double EnginePageSetup::LeftMargin() const { return setup().leftMargin * kPointsPerInch; }
void EnginePageSetup::SetLeftMargin(double points) { setMargin(&office::PageSetup::leftMargin, points, "LeftMargin"); }
double EnginePageSetup::RightMargin() const { return setup().rightMargin * kPointsPerInch; }
void EnginePageSetup::SetRightMargin(double points) { setMargin(&office::PageSetup::rightMargin, points, "RightMargin"); }
double EnginePageSetup::TopMargin() const { return setup().topMargin * kPointsPerInch; }
void EnginePageSetup::SetTopMargin(double points) { setMargin(&office::PageSetup::topMargin, points, "TopMargin"); }
double EnginePageSetup::BottomMargin() const { return setup().bottomMargin * kPointsPerInch; }
void EnginePageSetup::SetBottomMargin(double points) {
    setMargin(&office::PageSetup::bottomMargin, points, "BottomMargin");
}
double EnginePageSetup::HeaderMargin() const { return setup().headerMargin * kPointsPerInch; }
void EnginePageSetup::SetHeaderMargin(double points) {
    setMargin(&office::PageSetup::headerMargin, points, "HeaderMargin");
}
double EnginePageSetup::FooterMargin() const { return setup().footerMargin * kPointsPerInch; }
void EnginePageSetup::SetFooterMargin(double points) {
    setMargin(&office::PageSetup::footerMargin, points, "FooterMargin");
}

long EnginePageSetup::Zoom() const {
    const office::PageSetup& s = setup();
    if (s.fitToPages) return 0;
    return s.printerSettingsValid ? s.scale : 100;
}

void EnginePageSetup::SetZoom(long percent) {
    if (percent < 10 || percent > 400)
        raise("Unable to set the Zoom property of the PageSetup class: the zoom must be between 10 and 400 percent.");
    office::PageSetup& s = setup();
    s.scale = static_cast<std::uint16_t>(percent);
    s.fitToPages = false;
    s.printerSettingsValid = true;
}

bool EnginePageSetup::CenterHorizontally() const { return setup().centerHorizontally; }
void EnginePageSetup::SetCenterHorizontally(bool center) { setup().centerHorizontally = center; }
bool EnginePageSetup::CenterVertically() const { return setup().centerVertically; }
void EnginePageSetup::SetCenterVertically(bool center) { setup().centerVertically = center; }

excel::PageOrientation EnginePageSetup::Orientation() const {
    const office::PageSetup& s = setup();
    return s.printerSettingsValid && s.landscape ? excel::PageOrientation::Landscape : excel::PageOrientation::Portrait;
}

void EnginePageSetup::SetOrientation(excel::PageOrientation orientation) {
    if (orientation != excel::PageOrientation::Portrait && orientation != excel::PageOrientation::Landscape)
        raise("Unable to set the Orientation property of the PageSetup class: " +
              std::to_string(static_cast<int>(orientation)) + " is no orientation.");
    office::PageSetup& s = setup();
    s.landscape = orientation == excel::PageOrientation::Landscape;
    s.printerSettingsValid = true;
}

}  // namespace office::engine
