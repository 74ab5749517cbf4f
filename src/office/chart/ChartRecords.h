#pragma once
// Record ids of a BIFF8 chart substream that the chart reader looks at.
#include <cstdint>

namespace office::chart::rec {

constexpr std::uint16_t kChart = 0x1002;
constexpr std::uint16_t kSeries = 0x1003;
constexpr std::uint16_t kDataFormat = 0x1006;
constexpr std::uint16_t kLineFormat = 0x1007;
constexpr std::uint16_t kMarkerFormat = 0x1009;
constexpr std::uint16_t kAreaFormat = 0x100A;
constexpr std::uint16_t kSeriesText = 0x100D;
constexpr std::uint16_t kChartFormat = 0x1014;
constexpr std::uint16_t kLegend = 0x1015;
constexpr std::uint16_t kBar = 0x1017;
constexpr std::uint16_t kLine = 0x1018;
constexpr std::uint16_t kPie = 0x1019;
constexpr std::uint16_t kArea = 0x101A;
constexpr std::uint16_t kScatter = 0x101B;
constexpr std::uint16_t kChartLine = 0x101C;
constexpr std::uint16_t kAxis = 0x101D;
constexpr std::uint16_t kTick = 0x101E;
constexpr std::uint16_t kValueRange = 0x101F;
constexpr std::uint16_t kCatSerRange = 0x1020;
constexpr std::uint16_t kAxisLineFormat = 0x1021;
constexpr std::uint16_t kText = 0x1025;
constexpr std::uint16_t kObjectLink = 0x1027;
constexpr std::uint16_t kFrame = 0x1032;
constexpr std::uint16_t kBegin = 0x1033;
constexpr std::uint16_t kEnd = 0x1034;
constexpr std::uint16_t kPlotArea = 0x1035;
constexpr std::uint16_t kChart3d = 0x103A;
constexpr std::uint16_t kDropBar = 0x103D;
constexpr std::uint16_t kRadar = 0x103E;
constexpr std::uint16_t kSurface = 0x103F;
constexpr std::uint16_t kRadarArea = 0x1040;
constexpr std::uint16_t kAxisParent = 0x1041;
constexpr std::uint16_t kSerToCrt = 0x1045;
constexpr std::uint16_t kSerParent = 0x104A;
constexpr std::uint16_t kIfmt = 0x104E;
constexpr std::uint16_t kAi = 0x1051;
constexpr std::uint16_t kBopPop = 0x1061;
constexpr std::uint16_t kSiIndex = 0x1065;

}  // namespace office::chart::rec
