// Charts to pictures: reading the pie and the line chart of formatted.xls
// (and filling them from the cells), drawing them as the engine asks at the
// size of their anchor and at a chart sheet's page size, and an object icon.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>

#include "automation/Chart.h"
#include "office/XlsFile.h"
#include "office/cfb/CompoundFile.h"
#include "office/chart/ChartData.h"
#include "office/chart/ChartReader.h"
#include "office/chart/ChartSubstreams.h"
#include "render/QtPictureMaker.h"

namespace {

struct Sample {
    office::WorkbookModel model;
    std::vector<std::uint8_t> stream;
    std::vector<office::chart::ChartSubstream> charts;
    std::vector<int> externSheets;
};

const Sample& sample() {
    static const Sample s = [] {
        Sample out;
        const std::string path = std::string(TAVOLEX_SHARED_SAMPLES) + "/formatted.xls";
        out.model = office::readXlsFile(path, "");
        std::ifstream in(path, std::ios::binary);
        std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        out.stream = office::cfb::readCompoundFile(file).child("Workbook")->data;
        out.charts = office::chart::findChartSubstreams(out.stream);
        out.externSheets = office::chart::externSheetTable(out.stream);
        return out;
    }();
    return s;
}

automation::chart::Chart readAndFill(std::size_t which) {
    const Sample& s = sample();
    const auto& found = s.charts.at(which);
    auto chart = office::chart::readChart(std::span(s.stream).subspan(found.offset, found.size),
                                          office::chart::defaultPalette());
    office::chart::fillFromCells(chart, s.externSheets, office::chart::modelCells(s.model));
    return chart;
}

void BM_ReadChart(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(readAndFill(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_ReadChart)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ChartPicture(benchmark::State& state) {
    render::QtPictureMaker maker;
    const auto chart = readAndFill(static_cast<std::size_t>(state.range(0)));
    const double width = static_cast<double>(state.range(1)), height = width * 2 / 3;
    std::size_t bytes = 0;
    for (auto _ : state) bytes = maker.chartPicture(chart, width, height).png.size();
    state.counters["png_bytes"] = static_cast<double>(bytes);
}
// The pie and the line chart at their anchor's width (255 points) and at a
// chart sheet's (680 points).
BENCHMARK(BM_ChartPicture)->Args({0, 255})->Args({1, 255})->Args({1, 680})->Unit(benchmark::kMillisecond);

void BM_IconPicture(benchmark::State& state) {
    render::QtPictureMaker maker;
    for (auto _ : state) benchmark::DoNotOptimize(maker.iconPicture("/data/Annual report.pdf", "Annual report.pdf"));
}
BENCHMARK(BM_IconPicture)->Unit(benchmark::kMillisecond);

}  // namespace
