// The line editor on a base workbook of 9,999 lines, whole commands from
// the click to the saved file: clicking a line until its fields show (its
// one-page document probed), and saving a changed line. And the probe of a
// 100-page document and a 100-slide presentation as a chosen file gets it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include <unistd.h>

#include "core/Context.h"
#include "lines/Us_Menu.h"
#include "platform/LinuxPlatform.h"
#include "probe/DocumentProbe.h"
#include "store/BaseWorkbook.h"
#include "support/EngineObjects.h"
#include "ui/scripted/ScriptedWindowSystem.h"

namespace {

namespace fs = std::filesystem;

#ifndef TAVOLEX_SHARED_SAMPLES
#define TAVOLEX_SHARED_SAMPLES "../shared/samples"
#endif

using Objects = testsupport::EngineObjects;

std::string sample(const char* name) { return (fs::path(TAVOLEX_SHARED_SAMPLES) / name).string(); }

struct Bench {
    Objects objects;
    platform::LinuxPlatform platform;
    ui::ScriptedWindowSystem windows;
    core::Context ctx{objects, platform, windows};
    fs::path folder = fs::temp_directory_path() / ("tavolex-bench-lines-" + std::to_string(::getpid()));

    Bench() {
        fs::create_directories(folder);
        const std::string document = (folder / "memo.doc").string();
        fs::copy_file(sample("memo.doc"), document);
        windows.autoAcknowledge = true;
        ctx.state.DataFolder = folder.string() + "/";
        ctx.state.FileSystem = objects.CreateFileSystem();
        ctx.state.SelectedGroup = "Group 17";
        ctx.state.GroupEditMode = "M";
        store::InitFixedSettings(ctx.state);
        store::CreateBaseWorkbook(ctx, ctx.state.DataFolder);
        store::OpenBaseWorkbook(ctx);
        auto& data = *ctx.state.DataSheet;
        for (long row = 2; row <= 10000; ++row) {
            const long id = row - 1;
            data.Cells(row, 1)->SetValue(static_cast<double>(id));
            data.Cells(row, 2)->SetValue("Group " + std::to_string(id % 200));
            data.Cells(row, 4)->SetValue("Description of line " + std::to_string(id));
            data.Cells(row, 5)->SetValue(document);
            data.Cells(row, 9)->SetValue(1.0);
            data.Cells(row, 10)->SetValue(1.0);  // memo.doc has one page
            data.Cells(row, 11)->SetValue(static_cast<double>(100 + id / 200));
        }
        store::SaveAndCloseBaseWorkbook(ctx);
    }
    ~Bench() { fs::remove_all(folder); }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

void BM_ClickALineUntilItsFieldsShow(benchmark::State& state) {
    Bench& b = bench();
    lines::Us_Menu editor(b.ctx);
    editor.ensureLoaded();
    for (auto _ : state) {
        editor.ListBox1.userSelect(25);
        editor.ListBox1_MouseUp(ui::kLeftButton, 0, 0, 0);
        benchmark::DoNotOptimize(editor.TextBox3.text());
    }
}
BENCHMARK(BM_ClickALineUntilItsFieldsShow)->Unit(benchmark::kMillisecond);

// Timed from the click to the start of the half-second "OK" feedback.
void BM_SaveAChangedLine(benchmark::State& state) {
    Bench& b = bench();
    lines::Us_Menu editor(b.ctx);
    editor.ensureLoaded();
    editor.ListBox1.userSelect(25);
    editor.ListBox1_MouseUp(ui::kLeftButton, 0, 0, 0);
    int round = 0;
    for (auto _ : state) {
        editor.TextBox3.userSetText("Changed " + std::to_string(++round));
        editor.TextBox3.commitUserEdit();
        std::chrono::steady_clock::time_point pauseStart{};
        b.windows.onDoEvents = [&] {
            if (pauseStart == std::chrono::steady_clock::time_point{}) pauseStart = std::chrono::steady_clock::now();
        };
        const auto start = std::chrono::steady_clock::now();
        editor.CommandButton1_Click();
        state.SetIterationTime(std::chrono::duration<double>(pauseStart - start).count());
        b.windows.onDoEvents = nullptr;
    }
}
BENCHMARK(BM_SaveAChangedLine)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

// A chosen file probed into the editor's frames: the count and the caption.
void BM_ProbeLineFile(benchmark::State& state, const char* name) {
    const std::string path = sample(name);
    if (!fs::exists(path)) return state.SkipWithError("no sample file");
    Objects objects;
    platform::LinuxPlatform platform;
    ui::ScriptedWindowSystem windows;
    core::Context ctx{objects, platform, windows};
    lines::Us_Menu editor(ctx);
    ctx.state.LineEditMode = "I";
    for (auto _ : state) {
        probe::ProbeLineFile(ctx, editor, path);
        benchmark::DoNotOptimize(editor.Frame1.caption());
    }
    state.counters["count"] = ctx.state.MaxPageCount.toNumber();
}
BENCHMARK_CAPTURE(BM_ProbeLineFile, long_doc, "long.doc")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ProbeLineFile, long_ppt, "long.ppt")->Unit(benchmark::kMillisecond);

}  // namespace
