// The main window's commands on a base workbook of 9,999 lines, whole
// commands from opening the file to saving it: loading the list (CarLista
// with open and discard) and copying a group of 50 lines.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include <unistd.h>

#include "core/Context.h"
#include "groups/MainWindow.h"
#include "groups/UserForm00.h"
#include "office/engine/ExcelEngine.h"
#include "platform/LinuxFileSystem.h"
#include "platform/LinuxPlatform.h"
#include "store/BaseWorkbook.h"
#include "ui/scripted/ScriptedWindowSystem.h"

namespace {

namespace fs = std::filesystem;

class Objects : public automation::ObjectFactory {
public:
    std::shared_ptr<automation::excel::Application> CreateExcel() override {
        return office::engine::createExcelApplication();
    }
    std::shared_ptr<automation::FileSystem> CreateFileSystem() override {
        return std::make_shared<platform::LinuxFileSystem>();
    }
};

struct Bench {
    Objects objects;
    platform::LinuxPlatform platform;
    ui::ScriptedWindowSystem windows;
    core::Context ctx{objects, platform, windows};
    fs::path folder = fs::temp_directory_path() / ("tavolex-bench-" + std::to_string(::getpid()));
    fs::path pristine = folder / "pristine.xls";

    Bench() {
        fs::create_directories(folder);
        windows.autoAcknowledge = true;
        ctx.state.DataFolder = folder.string() + "/";
        ctx.state.FileSystem = objects.CreateFileSystem();
        store::InitFixedSettings(ctx.state);
        ctx.seams.showLineEditor = [](core::Context&) {};
        store::CreateBaseWorkbook(ctx, ctx.state.DataFolder);
        store::OpenBaseWorkbook(ctx);
        auto& data = *ctx.state.DataSheet;
        for (long row = 2; row <= 10000; ++row) {
            const long id = row - 1;
            data.Cells(row, 1)->SetValue(static_cast<double>(id));
            data.Cells(row, 2)->SetValue("Group " + std::to_string(id % 200));
            data.Cells(row, 3)->SetValue(id % 7 == 0 ? "P" : "");
            data.Cells(row, 4)->SetValue("Description of line " + std::to_string(id));
            data.Cells(row, 5)->SetValue("/home/user/documents/file" + std::to_string(id) + ".doc");
            data.Cells(row, 9)->SetValue(1.0);
            data.Cells(row, 10)->SetValue(3.0);
            data.Cells(row, 11)->SetValue(static_cast<double>(100 + id / 200));
        }
        store::SaveAndCloseBaseWorkbook(ctx);
        fs::copy_file(folder / "BasePresentation.xls", pristine);
    }
    ~Bench() { fs::remove_all(folder); }
    void restore() { fs::copy_file(pristine, folder / "BasePresentation.xls", fs::copy_options::overwrite_existing); }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

void BM_LoadGroupList(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        groups::UserForm00 form(b.ctx);
        form.ensureLoaded();  // open, CarLista, discard
        benchmark::DoNotOptimize(form.ListBox1.ListCount());
    }
}
BENCHMARK(BM_LoadGroupList)->Unit(benchmark::kMillisecond);

// Timed from the click to the start of the half-second "OK" feedback, which
// is a pause for the user and not work.
void BM_CopyGroupOf50Lines(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        b.restore();
        groups::UserForm00 form(b.ctx);
        form.ensureLoaded();
        for (int i = 0; i < form.ListBox1.ListCount(); ++i)
            if (form.ListBox1.List(i) == "Group 17") form.ListBox1.userSelect(i);
        b.windows.answerInput("Copied group");
        std::chrono::steady_clock::time_point pauseStart{};
        b.windows.onDoEvents = [&] {
            if (pauseStart == std::chrono::steady_clock::time_point{}) pauseStart = std::chrono::steady_clock::now();
        };
        const auto start = std::chrono::steady_clock::now();
        form.CommandButton6_Click();
        state.SetIterationTime(std::chrono::duration<double>(pauseStart - start).count());
        b.windows.onDoEvents = nullptr;
    }
}
BENCHMARK(BM_CopyGroupOf50Lines)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

}  // namespace
