#pragma once
// A plain document icon (32 x 40 pixels, PNG) for embedded objects in builds
// that have no picture maker to draw the desktop's icons.
#include <array>
#include <cstdint>

namespace office::engine {

inline constexpr int kNeutralIconWidth = 32;
inline constexpr int kNeutralIconHeight = 40;
extern const std::array<std::uint8_t, 170> kNeutralIconPng;

}  // namespace office::engine
