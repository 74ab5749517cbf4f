#pragma once
// Pictures of charts: a chart's substream read into the chart model, filled
// from the cells of the workbook it draws from, and drawn by the picture maker.
#include <span>

#include "automation/Pictures.h"
#include "office/engine/WorkbookCore.h"

namespace office::engine {

// The chart in `chartStream`, drawing from `workbook`, `widthPt` by
// `heightPt`: the instance's drawChart when set, else the chart read with
// its values from the workbook's cells and drawn by the picture maker.
// Raises 1004 when the instance has no picture maker (a build without a
// drawing library) or the chart cannot be read.
automation::Picture chartPicture(ApplicationState& app, const WorkbookModel& workbook,
                                 std::span<const std::uint8_t> chartStream, double widthPt, double heightPt);

}  // namespace office::engine
