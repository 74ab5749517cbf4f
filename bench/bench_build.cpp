// The whole Create the Presentation command without its windows: a group of
// N lines (workbook sheets, one with a chart, Word and PowerPoint documents,
// a PDF) in a base workbook that also holds 2,000 lines of other groups,
// built into a Presentation from the prompts to the saved file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "builder/BuildPresentation.h"
#include "core/Context.h"
#include "office/engine/DocumentEngines.h"
#include "office/engine/EngineApplication.h"
#include "office/engine/ExcelEngine.h"
#include "platform/LinuxFileSystem.h"
#include "platform/LinuxPlatform.h"
#include "store/BaseWorkbook.h"
#include "ui/scripted/ScriptedWindowSystem.h"

namespace {

namespace fs = std::filesystem;

// A 1x1 PNG stands for every chart picture: drawing is measured in bench_charts.
const std::vector<std::uint8_t> kPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x77, 0x53, 0xDE, 0x00, 0x00, 0x00,
    0x0C, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0x00, 0x00, 0x03, 0x01, 0x01, 0x00, 0xC9,
    0xFE, 0x92, 0xEF, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

class Objects : public automation::ObjectFactory {
public:
    std::shared_ptr<automation::excel::Application> CreateExcel() override {
        auto app = office::engine::createExcelApplication();
        dynamic_cast<office::engine::EngineApplication&>(*app).state()->drawChart =
            [](const office::engine::ChartToDraw&) { return automation::Picture{kPng, 1, 1}; };
        return app;
    }
    std::shared_ptr<automation::FileSystem> CreateFileSystem() override {
        return std::make_shared<platform::LinuxFileSystem>();
    }
    std::shared_ptr<automation::word::Application> CreateWord() override {
        return office::engine::createWordApplication();
    }
};

struct Bench {
    Objects objects;
    platform::LinuxPlatform platform;
    ui::ScriptedWindowSystem windows;
    core::Context ctx{objects, platform, windows};
    fs::path folder = fs::temp_directory_path() / ("tavolex-bench-build-" + std::to_string(::getpid()));

    explicit Bench(long lines) {
        fs::create_directories(folder);
        windows.autoAcknowledge = true;
        ctx.state.DataFolder = folder.string() + "/";
        ctx.state.FileSystem = objects.CreateFileSystem();
        ctx.state.SelectedGroup = "Bench";
        store::InitFixedSettings(ctx.state);
        for (const char* name : {"budget.xls", "report.doc", "deck.ppt"})
            fs::copy_file(fs::path(TAVOLEX_SHARED_SAMPLES) / name, folder / name, fs::copy_options::overwrite_existing);
        std::ofstream(folder / "notes.pdf") << "%PDF-1.4\n1 0 obj << >> endobj\ntrailer << >>\n%%EOF\n";

        store::CreateBaseWorkbook(ctx, ctx.state.DataFolder);
        store::OpenBaseWorkbook(ctx);
        auto& data = *ctx.state.DataSheet;
        long row = 2;
        auto line = [&](const std::string& group, const std::string& file, const std::string& sheet, long n) {
            data.Cells(row, 1)->SetValue(static_cast<double>(row - 1));
            data.Cells(row, 2)->SetValue(group);
            data.Cells(row, 4)->SetValue("Line " + std::to_string(n));
            data.Cells(row, 5)->SetValue((folder / file).string());
            data.Cells(row, 6)->SetValue(sheet);
            data.Cells(row, 7)->SetValue(sheet.empty() ? "" : "Out " + std::to_string(n));
            data.Cells(row, 9)->SetValue(sheet.empty() ? 1.0 : 0.0);
            data.Cells(row, 10)->SetValue(sheet.empty() ? 2.0 : 0.0);
            data.Cells(row, 11)->SetValue(static_cast<double>(100 + n % 900));
            ++row;
        };
        for (long n = 0; n < 2000; ++n) line("Other " + std::to_string(n % 50), "budget.xls", "Summary", n);
        // The kinds in turn: two sheets, one with a chart, then the documents.
        const char* files[] = {"budget.xls", "budget.xls", "report.doc", "deck.ppt", "notes.pdf"};
        const char* sheets[] = {"Summary", "Data", "", "", ""};
        for (long n = 0; n < lines; ++n) line("Bench", files[n % 5], sheets[n % 5], n);
        store::SaveAndCloseBaseWorkbook(ctx);
    }
    ~Bench() { fs::remove_all(folder); }
};

void BM_BuildPresentation(benchmark::State& state) {
    Bench bench(state.range(0));
    for (auto _ : state) {
        bench.windows.answerInput("v1");
        bench.windows.answerInput("pw");
        int status = -1;
        builder::BuildPresentation(bench.ctx, status);
        benchmark::DoNotOptimize(status);
    }
    state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_BuildPresentation)->Arg(10)->Arg(30)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
