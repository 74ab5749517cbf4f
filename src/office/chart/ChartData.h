#pragma once
// A chart's values from the cells its series name. Excel draws a chart from
// its workbook's cells and keeps a copy in the chart records only as a cache
// (LibreOffice writes none), so the cells win wherever they are in the same
// workbook; series that name another workbook keep the cached values.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "automation/Chart.h"
#include "automation/Variant.h"
#include "office/model/WorkbookModel.h"

namespace office::chart {

// For each entry of the workbook's EXTERNSHEET table, the index (0-based, in
// BOUNDSHEET order) of the sheet of this workbook it names; -1 for a sheet of
// another workbook or a deleted one. `clearStream` is the clear Workbook
// stream; only its globals substream is read. A workbook without the table
// gives an empty list.
std::vector<int> externSheetTable(std::span<const std::uint8_t> clearStream);
// The same from the SUPBOOK and EXTERNSHEET records a workbook model keeps
// (WorkbookModel::links).
std::vector<int> externSheetTable(std::span<const RawRecord> links);

// What one cell holds, as the caller's workbook model knows it.
struct CellContent {
    automation::Variant value;
    std::string shown;  // the text as the cell shows it; empty: the value in the General format
};

// The cell at 0-based `row` and `column` of sheet `sheet` (an index as
// externSheetTable gives them); an empty CellContent for a cell never written.
using CellSource = std::function<CellContent(int sheet, std::uint32_t row, std::uint32_t column)>;

// The cells of `model` (which must outlive the source), their values in the
// General format.
CellSource modelCells(const WorkbookModel& model);

// Replaces the names, values and categories of the series, and the titles
// linked to cells, with what those cells hold. A source spanning more than
// kMaxPoints cells is cut there.
void fillFromCells(automation::chart::Chart& chart, std::span<const int> externSheets, const CellSource& cells);

// The most points of one series we take: Excel 97-2003's limit for a 2-D chart.
constexpr std::size_t kMaxPoints = 32000;

}  // namespace office::chart
