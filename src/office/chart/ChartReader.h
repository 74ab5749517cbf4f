#pragma once
// Reading one chart of a BIFF8 workbook into the chart model the picture
// maker draws from. No drawing library is needed (the fuzz build has none).
#include <cstdint>
#include <span>

#include "automation/Chart.h"

namespace office::chart {

// `substream` is one chart substream of the clear (decrypted) Workbook stream,
// from its BOF record header to the end of its EOF record, CONTINUE records as
// they stand: a chart sheet's, or the one that follows an embedded chart's OBJ
// record. `palette` holds the workbook's colours of indices 8 to 63 as
// 0x00RRGGBB (the PALETTE record, or defaultPalette()); a shorter span leaves
// the remaining indices at their defaults.
//
// Series colours the file leaves automatic are resolved as Excel chooses them.
// Values come from the chart's own cache of its cells; LibreOffice writes no
// cache, so fill them from the cells with fillFromCells (ChartData.h).
// Kinds we do not draw still come back (Kind::Unknown, with the title).
// Damaged input raises AutomationError 1004 with a readable description.
automation::chart::Chart readChart(std::span<const std::uint8_t> substream,
                                   std::span<const std::uint32_t> palette);

// The 56 colours of indices 8 to 63 of a workbook without a PALETTE record.
std::span<const std::uint32_t> defaultPalette();

}  // namespace office::chart
