#pragma once
// One worksheet substream: row and column settings and the cells with their
// values (cached results for formulas) and formats.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "office/model/WorkbookModel.h"

namespace office::biff {

// Reads the substream whose BOF starts at `offset` of the clear Workbook stream
// into `sheet`. Chart substreams (and charts embedded in a worksheet) are
// skipped. `xfCount` bounds the cell formats; larger indexes become 15.
// Returns the stream position after the substream's EOF.
std::size_t readSheet(std::span<const std::uint8_t> stream, std::uint32_t offset,
               const std::vector<std::string>& sharedStrings, std::size_t xfCount, SheetModel& sheet);

}  // namespace office::biff
