#pragma once
// Where the charts of a Workbook stream are: the substreams of chart sheets,
// and the ones nested in a worksheet's substream after an embedded chart's
// OBJ record.
#include <cstdint>
#include <span>
#include <vector>

namespace office::chart {

struct ChartSubstream {
    std::size_t offset = 0;  // of its BOF record in the stream
    std::size_t size = 0;    // up to the end of its EOF record
    std::size_t sheetOffset = 0;  // of the BOF of the sheet it belongs to (its own for a chart sheet)
};

// Every chart of the clear (decrypted) Workbook stream, in stream order. A
// BOF inside a sheet's substream starts a chart whatever its body says
// (LibreOffice encrypts that body). Damage raises AutomationError 1004.
std::vector<ChartSubstream> findChartSubstreams(std::span<const std::uint8_t> clearStream);

}  // namespace office::chart
