#pragma once
// The format records of a chart (LINEFORMAT, AREAFORMAT, MARKERFORMAT) and the
// colours they name: palette indices, and the automatic colours Excel gives a
// series or a point by its format index.
#include <array>
#include <cstdint>
#include <span>

#include "automation/Chart.h"
#include "office/biff/ByteCursor.h"
#include "office/model/CellFormat.h"

namespace office::chart {

using automation::chart::Rgb;

class ChartPalette {
public:
    explicit ChartPalette(std::span<const std::uint32_t> palette);
    // BIFF8 charts name colours by palette index (the RGB beside it is only a
    // copy); indices beyond the palette and the system colours fall back to it.
    Rgb color(std::uint16_t index, Rgb recordRgb) const;
    // Excel's automatic colours for the series (or point) of `formatIndex`.
    Rgb autoFill(std::size_t formatIndex) const;
    Rgb autoLine(std::size_t formatIndex) const;

private:
    Palette colors_;
};

struct LineFormat {
    bool automatic = true;
    automation::chart::Stroke stroke;
};

struct AreaFormat {
    bool automatic = true;
    bool none = false;  // no fill (transparent)
    Rgb color = 0;
};

struct MarkerFormat {
    bool automatic = true;
    automation::chart::Marker marker;
};

LineFormat readLineFormat(biff::ByteCursor& in, const ChartPalette& palette);
AreaFormat readAreaFormat(biff::ByteCursor& in, const ChartPalette& palette);
MarkerFormat readMarkerFormat(biff::ByteCursor& in, const ChartPalette& palette);

// The marker Excel draws on a line or scatter series it formats itself.
automation::chart::Marker autoMarker(std::size_t formatIndex, const ChartPalette& palette);

}  // namespace office::chart
