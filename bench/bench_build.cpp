// The whole Create the Presentation command without its windows: a group of
// N lines (workbook sheets, one with a chart, Word and PowerPoint documents,
// a PDF) in a base workbook that also holds 2,000 lines of other groups,
// built into a Presentation from the prompts to the saved file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "builder/BuildPresentation.h"
#include "support/OnePixelPng.h"
#include "support/ScratchDataFolder.h"

namespace {

namespace fs = std::filesystem;

struct Bench {
    testsupport::ScratchDataFolder data{"tavolex-bench-build"};

    explicit Bench(long lines) {
        // Drawing is measured in bench_charts: a pixel stands for every chart.
        data.objects.drawChart = [](const office::engine::ChartToDraw&) {
            return automation::Picture{testsupport::onePixelPng(), 1, 1};
        };
        data.ctx.state.SelectedGroup = "Bench";
        for (const char* name : {"budget.xls", "report.doc", "deck.ppt"}) data.copySample(name);
        const fs::path folder = data.path();
        std::ofstream(folder / "notes.pdf") << "%PDF-1.4\n1 0 obj << >> endobj\ntrailer << >>\n%%EOF\n";

        data.writeBase([&](automation::excel::Worksheet& sheet) {
            long row = 2;
            auto line = [&](const std::string& group, const std::string& file, const std::string& name, long n) {
                const bool isSheet = !name.empty();
                testsupport::writeRow(sheet, row,
                                      {static_cast<double>(row - 1), group, {}, "Line " + std::to_string(n),
                                       (folder / file).string(), name, isSheet ? "Out " + std::to_string(n) : "", {},
                                       isSheet ? 0.0 : 1.0, isSheet ? 0.0 : 2.0, static_cast<double>(100 + n % 900)});
                ++row;
            };
            for (long n = 0; n < 2000; ++n) line("Other " + std::to_string(n % 50), "budget.xls", "Summary", n);
            // The kinds in turn: two sheets, one with a chart, then the documents.
            const char* files[] = {"budget.xls", "budget.xls", "report.doc", "deck.ppt", "notes.pdf"};
            const char* sheets[] = {"Summary", "Data", "", "", ""};
            for (long n = 0; n < lines; ++n) line("Bench", files[n % 5], sheets[n % 5], n);
        });
    }
};

void BM_BuildPresentation(benchmark::State& state) {
    Bench bench(state.range(0));
    for (auto _ : state) {
        bench.data.windows.answerInput("v1");
        bench.data.windows.answerInput("pw");
        int status = -1;
        builder::BuildPresentation(bench.data.ctx, status);
        benchmark::DoNotOptimize(status);
    }
    state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_BuildPresentation)->Arg(10)->Arg(30)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
