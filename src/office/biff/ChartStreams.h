#pragma once
// Chart substreams kept whole (embedded charts and chart sheets): finding
// their end, and the drawing some of them hold, whose drawing and shape ids
// must be numbered with the workbook's other drawings when it is written.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "office/biff/ShapeIds.h"

namespace office::biff {

// The end (after its EOF) of the substream whose BOF starts at `offset`;
// substreams nested in it end with it. No end raises the damaged-file error.
std::size_t substreamEnd(std::span<const std::uint8_t> stream, std::size_t offset);

// How many shapes the drawing inside a chart substream holds (its group
// shape included); 0 when the chart has none. Damaged drawing data raises.
std::uint32_t chartDrawingShapeCount(std::span<const std::uint8_t> chart);
// Gives that drawing the drawing id and shape ids of `ids`.
void renumberChartDrawing(std::vector<std::uint8_t>& chart, const DrawingIds& ids);

// LibreOffice encrypts the BOF of a chart nested in a worksheet, which must
// stay clear: read with the rest it is noise. Such a BOF becomes a clear
// chart BOF again, so the chart reads and is written back as Excel expects.
void clearChartBof(std::vector<std::uint8_t>& chart);

// The width and height in points the chart records for itself (its CHART record).
std::optional<std::pair<double, double>> chartSize(std::span<const std::uint8_t> chart);

// The CODENAME of a chart substream, "" without one.
std::string chartCodeName(std::span<const std::uint8_t> chart);

}  // namespace office::biff
