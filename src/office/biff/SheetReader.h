#pragma once
// One worksheet substream: row and column settings and the cells with their
// values (cached results for formulas) and formats.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "office/biff/SharedStrings.h"
#include "office/model/WorkbookModel.h"

namespace office::biff {

// Reads the worksheet substream whose BOF starts at `offset` of the clear
// Workbook stream into `sheet`: cells, settings, drawing objects with the
// substreams of embedded charts. `xfCount` bounds the cell formats; larger
// indexes become the default cell format. Returns the stream position after
// the substream's EOF.
std::size_t readSheet(std::span<const std::uint8_t> stream, std::uint32_t offset,
               const SharedStrings& sharedStrings, std::size_t xfCount, SheetModel& sheet);

// A chart sheet's substream, kept whole in sheet.chartStream.
std::size_t readChartSheet(std::span<const std::uint8_t> stream, std::uint32_t offset, SheetModel& sheet);

}  // namespace office::biff
