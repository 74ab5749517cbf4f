// A Word line shown by the player: LibreOffice laying the embedded document
// out (once per run: the wait of the first click), and the first page of the
// range drawn full screen from that layout (every later click).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPdfDocument>
#include <functional>

#include "app/LibreOfficePdfMaker.h"
#include "app/OutsideProgram.h"
#include "player/OpenPresentation.h"
#include "support/ScratchDataFolder.h"

namespace {

struct Bench {
    int argc = 1;
    char name[16] = "bench";
    char* argv[2] = {name, nullptr};
    QApplication application{argc, argv};
    testsupport::ScratchDataFolder data{"tavolex-bench-docs"};
    std::string path;

    // A Presentation of one line: pages 50 to 51 of the 100-page sample.
    Bench() {
        const std::string document = data.copySample("long.doc");
        data.writeBase([&](automation::excel::Worksheet& sheet) {
            testsupport::writeRow(sheet, 2, {1.0, "Bench", "", "Long", document, "", "", "", 50.0, 51.0, 100.0});
        });
        path = data.buildPresentation("Bench", "1", "");
    }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

// Runs `measure` on the Presentation, opened for its time, with the path of
// LibreOffice; the benchmark is skipped when LibreOffice is missing.
void withLayoutEngine(benchmark::State& state,
                      const std::function<void(const player::PresentationFile&, const std::string&)>& measure) {
    const std::string soffice = app::FindProgram("soffice");
    if (soffice.empty()) return state.SkipWithError("LibreOffice is not installed");
    player::WithOpenPresentation(bench().data.objects, bench().path,
                                 [&](const player::PresentationFile& file) { measure(file, soffice); });
}

// The first click on a Word line: a new maker (its private folder and
// LibreOffice profile made afresh), the object copied and laid out.
void BM_LayOutAHundredPageWordLine(benchmark::State& state) {
    withLayoutEngine(state, [&](const player::PresentationFile& file, const std::string& soffice) {
        for (auto _ : state) {
            app::LibreOfficePdfMaker maker(bench().data.ctx, soffice);
            const auto pages = maker.pagesOf(file, file.lines().at(0));
            if (!pages || pages->last - pages->first != 1) {
                state.SkipWithError("the line's two pages were not laid out");
                break;
            }
        }
    });
}
BENCHMARK(BM_LayOutAHundredPageWordLine)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// Every later click: the layout read and the range's first page drawn as
// large as a 1280x1024 screen shows it.
void BM_FirstPageOfTheRangeDrawn(benchmark::State& state) {
    withLayoutEngine(state, [&](const player::PresentationFile& file, const std::string& soffice) {
        app::LibreOfficePdfMaker maker(bench().data.ctx, soffice);
        const auto pages = maker.pagesOf(file, file.lines().at(0));
        if (!pages) return state.SkipWithError("no layout");
        for (auto _ : state) {
            QPdfDocument document;
            document.load(QString::fromStdString(pages->pdfPath));
            const QSizeF points = document.pagePointSize(pages->first - 1);
            const QImage image = document.render(
                pages->first - 1, points.scaled(QSizeF(1280 - 48, 100000), Qt::KeepAspectRatio).toSize());
            benchmark::DoNotOptimize(image.constBits());
        }
    });
}
BENCHMARK(BM_FirstPageOfTheRangeDrawn)->Unit(benchmark::kMillisecond);

}  // namespace
