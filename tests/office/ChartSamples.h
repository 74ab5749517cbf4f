#pragma once
// The charts of a real workbook for the chart tests: each chart substream
// (of a chart sheet, or nested after an embedded chart's OBJ record) cut out
// of the clear Workbook stream, with the workbook's palette, EXTERNSHEET table
// and cells, the way the engine hands them to the chart reader.
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "automation/Chart.h"
#include "office/model/WorkbookModel.h"

namespace charttest {

struct FoundChart {
    std::string sheet;        // the worksheet holding it, or the chart sheet's name
    bool chartSheet = false;
    std::size_t offset = 0;   // of its BOF in the Workbook stream
    std::size_t size = 0;
};

struct WorkbookCharts {
    std::vector<std::uint8_t> stream;  // clear Workbook stream
    std::vector<std::uint32_t> palette;
    std::vector<int> externSheets;
    office::WorkbookModel model;
    std::vector<FoundChart> charts;

    std::span<const std::uint8_t> substream(const FoundChart& c) const { return {stream.data() + c.offset, c.size}; }
    // The chart as readChart gives it, then filled from the workbook's cells.
    automation::chart::Chart read(const FoundChart& c) const;
    automation::chart::Chart readAndFill(const FoundChart& c) const;
};

// A substream as a list of records, to change charts the way damage or
// another writer would.
struct Records {
    struct One {
        std::uint16_t id;
        std::vector<std::uint8_t> body;
    };
    std::vector<One> list;

    static Records parse(std::span<const std::uint8_t> substream);
    std::vector<std::uint8_t> bytes() const;
    // The first record with `id`; std::runtime_error when there is none.
    One& first(std::uint16_t id);
    void insertAfter(std::uint16_t id, One record);
};

// Throws AutomationError for files our reader refuses; the default password
// only (none of the chart samples has another).
WorkbookCharts loadCharts(const std::filesystem::path& path);

}  // namespace charttest
