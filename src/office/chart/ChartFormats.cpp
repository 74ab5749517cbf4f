#include "office/chart/ChartFormats.h"

#include <algorithm>

#include "office/chart/ChartReader.h"

namespace office::chart {
namespace {

using automation::chart::Marker;
using automation::chart::Stroke;

constexpr std::uint16_t kAutomatic = 0x0001;  // the fAuto bit of the three format records

// Beyond the workbook's 64 colours: the window's colours, which charts use
// for their automatic lines (black) and backgrounds (white).
constexpr std::uint16_t kChartForeground = 0x4D, kChartBackground = 0x4E, kChartNeutral = 0x4F,
                        kTooltipText = 0x51;

// LongRGB: red, green, blue, one unused byte.
Rgb readRgb(biff::ByteCursor& in) {
    const Rgb r = in.u8(), g = in.u8(), b = in.u8();
    in.skip(1);
    return (r << 16) | (g << 8) | b;
}

// LINEFORMAT weights: hairline, single, double, triple.
double lineWidthPt(std::int16_t weight) {
    switch (weight) {
    case -1: return 0.5;
    case 1: return 1.5;
    case 2: return 2.25;
    default: return 0.75;
    }
}

Marker::Shape markerShape(std::uint16_t type) {
    switch (type) {
    case 1: return Marker::Shape::Square;
    case 2: return Marker::Shape::Diamond;
    case 3: return Marker::Shape::Triangle;
    case 4: return Marker::Shape::Cross;
    case 5: return Marker::Shape::Star;
    case 6:
    case 7: return Marker::Shape::Dash;
    case 8: return Marker::Shape::Circle;
    case 9: return Marker::Shape::Plus;
    default: return Marker::Shape::None;
    }
}

}  // namespace

ChartPalette::ChartPalette(std::span<const std::uint32_t> palette) : colors_(office::defaultPalette()) {
    const std::size_t n = std::min(palette.size(), colors_.size());
    for (std::size_t i = 0; i < n; ++i) colors_[i] = palette[i] & 0xFFFFFF;
}

Rgb ChartPalette::color(std::uint16_t index, Rgb recordRgb) const {
    switch (index) {
    case kChartBackground: return 0xFFFFFF;
    case kChartForeground:
    case kChartNeutral:
    case kTooltipText: return 0x000000;
    default: break;
    }
    const bool known = index < 64 || index == kWindowTextColor || index == kWindowBackgroundColor ||
                       index == kAutomaticFontColor;
    return known ? colorRgb(colors_, index) : recordRgb;
}

// Fills start at index 24 and lines at 32, each walking the whole palette
// once (the same order LibreOffice's import uses).
Rgb ChartPalette::autoFill(std::size_t formatIndex) const {
    return colors_[(16 + formatIndex) % colors_.size()];
}

Rgb ChartPalette::autoLine(std::size_t formatIndex) const {
    const std::size_t k = formatIndex % colors_.size();
    if (k < 31) return colors_[24 + k];  // indices 32..62
    if (k < 55) return colors_[k - 31];  // indices 8..31
    return colors_[55];                  // index 63
}

LineFormat readLineFormat(biff::ByteCursor& in, const ChartPalette& palette) {
    const Rgb rgb = readRgb(in);
    const std::uint16_t pattern = in.u16();
    const auto weight = static_cast<std::int16_t>(in.u16());
    const std::uint16_t flags = in.u16();
    const std::uint16_t index = in.u16();
    LineFormat format;
    format.automatic = flags & kAutomatic;
    Stroke& stroke = format.stroke;
    stroke.color = palette.color(index, rgb);
    stroke.widthPt = lineWidthPt(weight);
    switch (pattern) {
    case 1: stroke.dash = Stroke::Dash::Dash; break;
    case 2: stroke.dash = Stroke::Dash::Dot; break;
    case 3: stroke.dash = Stroke::Dash::DashDot; break;
    case 4: stroke.dash = Stroke::Dash::DashDotDot; break;
    case 5: stroke.visible = false; break;
    default: break;  // solid, and the three grey patterns drawn solid
    }
    return format;
}

AreaFormat readAreaFormat(biff::ByteCursor& in, const ChartPalette& palette) {
    const Rgb fore = readRgb(in);
    readRgb(in);  // the pattern's background: patterns are drawn in their foreground colour
    const std::uint16_t pattern = in.u16();
    const std::uint16_t flags = in.u16();
    const std::uint16_t foreIndex = in.u16();
    AreaFormat format;
    format.automatic = flags & kAutomatic;
    format.none = pattern == 0;
    format.color = palette.color(foreIndex, fore);
    return format;
}

MarkerFormat readMarkerFormat(biff::ByteCursor& in, const ChartPalette& palette) {
    constexpr std::uint16_t kNoFill = 0x0010, kNoBorder = 0x0020;
    constexpr double kTwipsPerPoint = 20;
    const Rgb border = readRgb(in);
    const Rgb fill = readRgb(in);
    const std::uint16_t type = in.u16();
    const std::uint16_t flags = in.u16();
    const std::uint16_t borderIndex = in.u16();
    const std::uint16_t fillIndex = in.u16();
    const std::uint32_t sizeTwips = in.u32();
    MarkerFormat format;
    format.automatic = flags & kAutomatic;
    Marker& marker = format.marker;
    marker.shape = markerShape(type);
    marker.border = palette.color(borderIndex, border);
    marker.fill = (flags & kNoFill) ? marker.border : palette.color(fillIndex, fill);
    if (flags & kNoBorder) marker.border = marker.fill;
    marker.sizePt = std::clamp(sizeTwips / kTwipsPerPoint, 2.0, 72.0);
    return format;
}

Marker autoMarker(std::size_t formatIndex, const ChartPalette& palette) {
    static constexpr std::array<Marker::Shape, 9> kShapes = {
        Marker::Shape::Diamond, Marker::Shape::Square, Marker::Shape::Triangle,
        Marker::Shape::Cross,   Marker::Shape::Star,   Marker::Shape::Circle,
        Marker::Shape::Plus,    Marker::Shape::Dash,   Marker::Shape::Dash};
    Marker marker;
    marker.shape = kShapes[formatIndex % kShapes.size()];
    marker.fill = marker.border = palette.autoLine(formatIndex);
    return marker;
}

}  // namespace office::chart
