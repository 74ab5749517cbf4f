// The line editor on a full base workbook (9,998 lines), whole commands from
// the click to the saved file: clicking a line until its fields show (its
// one-page document probed), and saving a changed line. And the probe of a
// 100-page document and a 100-slide presentation as a chosen file gets it.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "lines/Us_Menu.h"
#include "probe/DocumentProbe.h"
#include "store/DataLayout.h"
#include "support/ScratchDataFolder.h"

namespace {

namespace fs = std::filesystem;

// A base workbook whose table is full to the last row the program reads,
// every line naming the one-page memo.
struct Bench {
    testsupport::ScratchDataFolder data{"tavolex-bench-lines"};

    Bench() {
        const std::string document = data.copySample("memo.doc");
        data.ctx.state.SelectedGroup = "Group 17";
        data.ctx.state.GroupEditMode = "M";
        data.writeBase([&](automation::excel::Worksheet& sheet) {
            for (long row = store::kFirstLineRow; row <= store::kLastLineRow; ++row) {
                const long id = row - 1;
                testsupport::writeRow(sheet, row,
                                      {static_cast<double>(id), "Group " + std::to_string(id % 200), {},
                                       "Description of line " + std::to_string(id), document, {}, {}, {}, 1.0, 1.0,
                                       static_cast<double>(100 + id / 200)});
            }
        });
    }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

void BM_ClickALineUntilItsFieldsShow(benchmark::State& state) {
    Bench& b = bench();
    lines::Us_Menu editor(b.data.ctx);
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
    lines::Us_Menu editor(b.data.ctx);
    editor.ensureLoaded();
    editor.ListBox1.userSelect(25);
    editor.ListBox1_MouseUp(ui::kLeftButton, 0, 0, 0);
    int round = 0;
    for (auto _ : state) {
        editor.TextBox3.userSetText("Changed " + std::to_string(++round));
        editor.TextBox3.commitUserEdit();
        const auto seconds = b.data.secondsToFeedback([&] { editor.CommandButton1_Click(); });
        if (!seconds) {
            state.SkipWithError("the line was not saved");
            break;
        }
        state.SetIterationTime(*seconds);
    }
}
BENCHMARK(BM_SaveAChangedLine)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

// A chosen file probed into the editor's frames: the count and the caption.
void BM_ProbeLineFile(benchmark::State& state, const char* name) {
    const std::string path = testsupport::sharedSample(name).string();
    if (!fs::exists(path)) return state.SkipWithError("no sample file");
    testsupport::EngineObjects objects;
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
