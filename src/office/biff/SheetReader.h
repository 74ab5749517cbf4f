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

// Undecoded cells this reader left, as a writer of the same format may copy
// them: a row's cell records as read, with the shared strings and the number
// of cell formats they were read with.
class CopyableCells {
public:
    // The reader's own, or none for pending cells of another kind.
    static const CopyableCells* of(const PendingCells* pending);
    // The cell records of row `row` (1-based, as read) and what lies between
    // them; empty for a row without cells.
    virtual std::span<const std::uint8_t> records(std::uint32_t row) const = 0;
    virtual const SharedStrings& strings() const = 0;
    virtual std::size_t xfCount() const = 0;

protected:
    ~CopyableCells() = default;
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
