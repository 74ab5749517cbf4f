// The player's start on a Presentation of 100 lines: opening the file
// read-only, reading its settings, lines and objects, and loading its menu
// (the list filled), the work before the menu appears.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>

#include "builder/BuildPresentation.h"
#include "office/XlsFile.h"
#include "office/format/ShownSheet.h"
#include "core/Context.h"
#include "platform/LinuxPlatform.h"
#include "player/PresentationFile.h"
#include "player/PresentationMenu.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"
#include "support/EngineObjects.h"
#include "ui/scripted/ScriptedWindowSystem.h"

namespace {

namespace fs = std::filesystem;

struct Bench {
    testsupport::EngineObjects objects;
    platform::LinuxPlatform platform;
    ui::ScriptedWindowSystem windows;
    core::Context ctx{objects, platform, windows};
    fs::path folder = fs::temp_directory_path() / ("tavolex-bench-player-" + std::to_string(::getpid()));
    std::string path;

    // One line built from the budget sample, then 100 lines of it in DATA.
    Bench() {
        fs::create_directories(folder);
        windows.autoAcknowledge = true;
        ctx.state.DataFolder = folder.string() + "/";
        ctx.state.FileSystem = objects.CreateFileSystem();
        store::InitFixedSettings(ctx.state);
        const std::string budget = (folder / "budget.xls").string();
        fs::copy_file(fs::path(TAVOLEX_SHARED_SAMPLES) / "budget.xls", budget);
        store::CreateBaseWorkbook(ctx, ctx.state.DataFolder);
        store::OpenBaseWorkbook(ctx);
        auto& data = *ctx.state.DataSheet;
        const automation::Variant row[] = {1.0, "Bench", "", "Summary", budget, "Summary", "Totals", "", {}, {}, 100.0};
        for (long column = 1; column <= 11; ++column) data.Cells(2, column)->SetValue(row[column - 1]);
        store::SaveAndCloseBaseWorkbook(ctx);
        ctx.state.SelectedGroup = "Bench";
        windows.answerInput("1");
        windows.answerInput("pw");
        int status = -1;
        builder::BuildPresentation(ctx, status, {});
        path = ctx.state.PresentationPath;

        auto excel = objects.CreateExcel();
        auto book = excel->GetWorkbooks().Open(path);
        book->Unprotect("pw");
        auto sheet = book->Worksheets(store::kDataSheet);
        sheet->Unprotect(ctx.state.BasePassword);
        for (long k = 1; k <= 100; ++k) {
            sheet->Cells(k + 1, 1)->SetValue(static_cast<double>(k));
            sheet->Cells(k + 1, 2)->SetValue("Bench");
            sheet->Cells(k + 1, 3)->SetValue(k % 10 == 0 ? "V" : "");
            sheet->Cells(k + 1, 4)->SetValue("Description of line " + std::to_string(k));
            sheet->Cells(k + 1, 5)->SetValue(budget);
            sheet->Cells(k + 1, 6)->SetValue("Summary");
            sheet->Cells(k + 1, 7)->SetValue("Totals");
        }
        book->Save();
        excel->Quit();
    }
    ~Bench() { fs::remove_all(folder); }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

void BM_OpenPresentationAndLoadMenu(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        auto excel = b.objects.CreateExcel();
        player::PresentationFile file = player::PresentationFile::Open(*excel, b.path);
        player::Us_Menu menu(b.ctx, file, {});
        menu.ensureLoaded();
        if (menu.ListBox1.ListCount() != 90) {  // every tenth line is a "V" line
            state.SkipWithError("the menu does not list the 90 shown lines");
            break;
        }
        file.close();
        excel->Quit();
    }
}
BENCHMARK(BM_OpenPresentationAndLoadMenu)->Unit(benchmark::kMillisecond);

// What the sheet view is given for a sheet of 300 formatted rows: the
// formatted sample's amount rows repeated, every text as its format shows it.
void BM_ShowSheetOf300FormattedRows(benchmark::State& state) {
    office::WorkbookModel model =
        office::readXlsFile((fs::path(TAVOLEX_SHARED_SAMPLES) / "formatted.xls").string(), "");
    office::SheetModel* report = nullptr;
    for (auto& sheet : model.sheets)
        if (sheet.name == "Report") report = &sheet;
    if (!report || report->rows.size() < 7) {
        state.SkipWithError("the formatted sample has no Report sheet");
        return;
    }
    const std::vector<office::RowDef> amounts(report->rows.begin() + 2, report->rows.begin() + 7);
    while (report->rows.size() < 300) report->rows.push_back(amounts[report->rows.size() % amounts.size()]);
    for (auto _ : state) {
        const office::ShownSheet shown = office::ShowSheet(model, *report);
        benchmark::DoNotOptimize(shown.cells.size());
    }
}
BENCHMARK(BM_ShowSheetOf300FormattedRows)->Unit(benchmark::kMillisecond);

}  // namespace
