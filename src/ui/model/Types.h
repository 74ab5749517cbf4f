#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace ui {

// The name every window and box without a title of its own shows.
inline constexpr const char* kProgramName = "Tavolex";

// Colours as the forms give them: a long value with red in the low byte,
// green in the next and blue in the third (255 = red, 65280 = green).
using Color = std::uint32_t;
inline constexpr Color kRed = 255;
inline constexpr Color kGreen = 65280;

struct Font {
    std::string name = "Tahoma";
    double size = 8.25;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const Font&) const = default;
};

// Position and size in points, relative to the client area of the form (or
// of the frame holding the control).
struct Geometry {
    double left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Geometry&) const = default;
};

// Mouse buttons and shift state as events report them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// How a form is being closed, as its query-close event is told.
enum class CloseMode : int { CloseBox = 0, Code = 1 };

}  // namespace ui
