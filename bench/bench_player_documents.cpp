// A Word line shown by the player: LibreOffice laying the embedded document
// out (once per run: the wait of the first click), and the first page of the
// range drawn full screen from that layout (every later click).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QPdfDocument>
#include <filesystem>

#include "app/LibreOfficePdfMaker.h"
#include "app/OutsideProgram.h"
#include "builder/BuildPresentation.h"
#include "core/Context.h"
#include "platform/LinuxPlatform.h"
#include "player/PresentationFile.h"
#include "store/BaseWorkbook.h"
#include "support/EngineObjects.h"
#include "ui/scripted/ScriptedWindowSystem.h"

namespace {

namespace fs = std::filesystem;

struct Bench {
    int argc = 1;
    char name[16] = "bench";
    char* argv[2] = {name, nullptr};
    QApplication application{argc, argv};
    testsupport::EngineObjects objects;
    platform::LinuxPlatform platform;
    ui::ScriptedWindowSystem windows;
    core::Context ctx{objects, platform, windows};
    fs::path folder = fs::temp_directory_path() / ("tavolex-bench-docs-" + std::to_string(::getpid()));
    std::string path;

    // A Presentation of one line: pages 2 to 3 of the 100-page sample.
    Bench() {
        fs::create_directories(folder);
        windows.autoAcknowledge = true;
        ctx.state.DataFolder = folder.string() + "/";
        ctx.state.FileSystem = objects.CreateFileSystem();
        store::InitFixedSettings(ctx.state);
        const std::string document = (folder / "long.doc").string();
        fs::copy_file(fs::path(TAVOLEX_SHARED_SAMPLES) / "long.doc", document);
        store::CreateBaseWorkbook(ctx, ctx.state.DataFolder);
        store::OpenBaseWorkbook(ctx);
        auto& data = *ctx.state.DataSheet;
        const automation::Variant row[] = {1.0, "Bench", "", "Long", document, "", "", "", 50.0, 51.0, 100.0};
        for (long column = 1; column <= 11; ++column) data.Cells(2, column)->SetValue(row[column - 1]);
        store::SaveAndCloseBaseWorkbook(ctx);
        ctx.state.SelectedGroup = "Bench";
        windows.answerInput("1");
        windows.answerInput("");
        int status = -1;
        builder::BuildPresentation(ctx, status, {});
        path = ctx.state.PresentationPath;
    }
    ~Bench() { fs::remove_all(folder); }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

// The first click on a Word line: a new maker (its private folder and
// LibreOffice profile made afresh), the object copied and laid out.
void BM_LayOutAHundredPageWordLine(benchmark::State& state) {
    Bench& b = bench();
    const std::string soffice = app::FindProgram("soffice");
    if (soffice.empty()) {
        state.SkipWithError("LibreOffice is not installed");
        return;
    }
    auto excel = b.objects.CreateExcel();
    const player::PresentationFile file = player::PresentationFile::Open(*excel, b.path);
    for (auto _ : state) {
        app::LibreOfficePdfMaker maker(b.ctx, soffice);
        const auto pages = maker.pagesOf(file, file.lines().at(0));
        if (!pages || pages->last - pages->first != 1) {
            state.SkipWithError("the line's two pages were not laid out");
            break;
        }
    }
}
BENCHMARK(BM_LayOutAHundredPageWordLine)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// Every later click: the layout read and the range's first page drawn as
// large as a 1280x1024 screen shows it.
void BM_FirstPageOfTheRangeDrawn(benchmark::State& state) {
    Bench& b = bench();
    const std::string soffice = app::FindProgram("soffice");
    if (soffice.empty()) {
        state.SkipWithError("LibreOffice is not installed");
        return;
    }
    auto excel = b.objects.CreateExcel();
    const player::PresentationFile file = player::PresentationFile::Open(*excel, b.path);
    app::LibreOfficePdfMaker maker(b.ctx, soffice);
    const auto pages = maker.pagesOf(file, file.lines().at(0));
    if (!pages) {
        state.SkipWithError("no layout");
        return;
    }
    for (auto _ : state) {
        QPdfDocument document;
        document.load(QString::fromStdString(pages->pdfPath));
        const QSizeF points = document.pagePointSize(pages->first - 1);
        const QImage image =
            document.render(pages->first - 1, points.scaled(QSizeF(1280 - 48, 100000), Qt::KeepAspectRatio).toSize());
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FirstPageOfTheRangeDrawn)->Unit(benchmark::kMillisecond);

}  // namespace
