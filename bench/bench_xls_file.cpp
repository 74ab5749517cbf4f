// Reading and writing a .xls with one 9,999-row x 11-column sheet of short
// texts and numbers, in clear and with RC4.
#include <benchmark/benchmark.h>

#include "office/XlsFile.h"
#include "office/biff/Biff8.h"

namespace {

office::WorkbookModel bigWorkbook() {
    office::WorkbookModel m = office::WorkbookModel::withDefaults();
    office::SheetModel& sheet = m.sheets.emplace_back();
    sheet.name = "Data";
    for (std::uint32_t r = 1; r <= 9999; ++r)
        for (std::uint32_t c = 1; c <= 11; ++c) {
            office::Cell& cell = sheet.cellAt(r, c);
            if (c % 3 == 1) cell.value = "item " + std::to_string((r * 11 + c) % 5000);
            else if (c % 3 == 2) cell.value = static_cast<double>(r * c);
            else cell.value = r / 7.0;
        }
    m.sheets.emplace_back().name = "Notes";
    return m;
}

const office::WorkbookModel& workbook() {
    static const office::WorkbookModel model = bigWorkbook();
    return model;
}

void BM_WriteXls(benchmark::State& state, const std::string& password) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto file = office::writeXls(workbook(), password);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_ReadXls(benchmark::State& state, const std::string& password) {
    const auto file = office::writeXls(workbook(), password);
    for (auto _ : state) {
        auto model = office::readXls(file, password);
        benchmark::DoNotOptimize(model.sheets.data());
    }
}

void BM_WriteWorkbookStream(benchmark::State& state) {
    for (auto _ : state) {
        auto stream = office::biff::writeWorkbookStream(workbook(), "");
        benchmark::DoNotOptimize(stream.data());
    }
}

BENCHMARK_CAPTURE(BM_WriteXls, clear, std::string());
BENCHMARK_CAPTURE(BM_WriteXls, rc4, std::string("secret"));
BENCHMARK_CAPTURE(BM_ReadXls, clear, std::string());
BENCHMARK_CAPTURE(BM_ReadXls, rc4, std::string("secret"));
BENCHMARK(BM_WriteWorkbookStream);

}  // namespace
