#pragma once
// Forms measure in points. Windows are laid out at a fixed 96 dots per inch
// (1 point = 4/3 pixel) whatever the screen reports, so a form looks the
// same on every screen and its controls never overlap because of scaling.
#include <cmath>

namespace ui::qt {

inline constexpr double kPixelsPerPoint = 96.0 / 72.0;

inline int toPixels(double points) { return static_cast<int>(std::lround(points * kPixelsPerPoint)); }
inline double toPoints(double pixels) { return pixels / kPixelsPerPoint; }

}  // namespace ui::qt
