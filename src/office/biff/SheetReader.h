#pragma once
// One worksheet substream: row and column settings and the cells with their
// values (cached results for formulas) and formats.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "office/biff/SharedStrings.h"
#include "office/model/WorkbookModel.h"

namespace office::biff {

// What a sheet's cells can be decoded from after the reading: the clear
// Workbook stream and the shared strings, kept alive by the sheets that need them.
struct SheetSource {
    std::shared_ptr<const std::vector<std::uint8_t>> stream;
    std::shared_ptr<const SharedStrings> strings;
};

// Reads the worksheet substream whose BOF starts at `offset` of the clear
// Workbook stream into `sheet`: cells, settings, drawing objects with the
// substreams of embedded charts. `xfCount` bounds the cell formats; larger
// indexes become the default cell format. Returns the stream position after
// the substream's EOF.
// With a `source` holding `stream`, the cells are checked and located but
// decoded only when their rows are asked for (see SheetRows); damaged cell
// records are found here all the same.
std::size_t readSheet(std::span<const std::uint8_t> stream, std::uint32_t offset, const SharedStrings& sharedStrings,
                      std::size_t xfCount, SheetModel& sheet, const SheetSource* source = nullptr);

// A chart sheet's substream, kept whole in sheet.chartStream.
std::size_t readChartSheet(std::span<const std::uint8_t> stream, std::uint32_t offset, SheetModel& sheet);

}  // namespace office::biff
