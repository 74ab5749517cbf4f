// libFuzzer target: the chart reader. A compound file (the samples the fuzz
// run is seeded with) has each chart of its Workbook stream read and filled
// from made-up cells; any other input is read as one chart substream. Every
// input must give a chart or raise AutomationError, and a chart keeps to the
// limits the reader promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "automation/AutomationError.h"
#include "office/cfb/CompoundFile.h"
#include "office/chart/ChartData.h"
#include "office/chart/ChartReader.h"
#include "office/chart/ChartSubstreams.h"

namespace {

void readOne(std::span<const std::uint8_t> substream, std::span<const int> externSheets) {
    automation::chart::Chart chart;
    try {
        chart = office::chart::readChart(substream, office::chart::defaultPalette());
    } catch (const automation::AutomationError&) {
        return;
    }
    office::chart::fillFromCells(chart, externSheets, [](int sheet, std::uint32_t row, std::uint32_t column) {
        office::chart::CellContent cell;
        if ((row + column + static_cast<std::uint32_t>(sheet)) % 3) cell.value = row * 0.5;
        return cell;
    });
    for (const auto& s : chart.series)
        if (s.values.size() > office::chart::kMaxPoints || s.categories.size() > office::chart::kMaxPoints) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const std::vector<int> oneSheet = {0, -1};
    if (!office::cfb::hasCompoundSignature(input)) {
        readOne(input, oneSheet);
        return 0;
    }
    try {
        const office::cfb::Node root = office::cfb::readCompoundFile(input);
        const office::cfb::Node* workbook = root.child("Workbook");
        if (!workbook || workbook->isStorage) return 0;
        const std::span<const std::uint8_t> stream = workbook->data;
        const std::vector<int> externSheets = office::chart::externSheetTable(stream);
        for (const auto& chart : office::chart::findChartSubstreams(stream))
            readOne(stream.subspan(chart.offset, chart.size), externSheets);
    } catch (const automation::AutomationError&) {
    }
    return 0;
}
