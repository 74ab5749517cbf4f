#pragma once
// The picture-making surface: the engine hands it a chart's model or a file
// to show as an icon and gets a finished picture back. The engine itself
// draws nothing (it builds without any window or drawing library); the
// program wires an implementation that draws with Qt, off-screen when there
// is no display.
#include <cstdint>
#include <string>
#include <vector>

namespace automation {

namespace chart {
struct Chart;  // the chart model, automation/Chart.h
}

struct Picture {
    std::vector<std::uint8_t> png;  // a complete PNG file
    int widthPx = 0;
    int heightPx = 0;
};

class PictureMaker {
public:
    virtual ~PictureMaker() = default;
    // The chart as it looks on its sheet, `widthPt` x `heightPt` points.
    virtual Picture chartPicture(const chart::Chart& chart, double widthPt, double heightPt) = 0;
    // The icon of the file's kind with `label` written under it, as an
    // embedded object shows it.
    virtual Picture iconPicture(const std::string& filePath, const std::string& label) = 0;
};

}  // namespace automation
