// The sheet transfer of one Excel line: a 300-row formatted sheet (the
// Report of formatted.xls with its data rows repeated: currency, percent,
// borders, fills, merged title) with its pie and line chart below the data,
// carried into a Presentation: opened read-only, copied with values only,
// each chart drawn as a picture and pasted at its cell. Arg 0 draws every
// chart as a stand-in picture (the engine's own cost), arg 1 with Qt Charts
// off-screen as the program does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "builder/SheetTransfer.h"
#include "office/XlsFile.h"
#include "office/engine/EngineWorkbook.h"
#include "render/QtPictureMaker.h"
#include "support/OnePixelPng.h"
#include "support/ScratchDataFolder.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kRows = 300;

// formatted.xls with its four region rows repeated down to row 300 and the
// charts moved below them.
void writeSource(const fs::path& path) {
    office::WorkbookModel model =
        office::readXlsFile(testsupport::sharedSample("formatted.xls").string(), "");
    office::SheetModel& sheet = model.sheets.at(0);
    const std::vector<office::RowDef> pattern(sheet.rows.all().begin() + 2, sheet.rows.all().begin() + 6);
    std::vector<office::RowDef> tail(sheet.rows.all().begin() + 6, sheet.rows.all().end());
    for (office::RowDef& row : tail)
        for (office::Cell& cell : row.cells) cell.formula.reset();  // their references would point elsewhere
    sheet.rows.all().resize(2);
    for (std::uint32_t row = 3; row <= kRows - tail.size(); ++row) {
        office::RowDef copy = pattern[(row - 3) % pattern.size()];
        for (office::Cell& cell : copy.cells)
            if (cell.value.isNumber()) cell.value = cell.value.number() + row;
        sheet.rows.all().push_back(std::move(copy));
    }
    sheet.rows.all().insert(sheet.rows.all().end(), tail.begin(), tail.end());
    const std::uint32_t shift = static_cast<std::uint32_t>(sheet.rows.all().size()) - 10;
    for (office::CellRect& merged : sheet.mergedCells)
        if (merged.firstRow > 2) merged.firstRow += shift, merged.lastRow += shift;
    for (office::DrawingObject& object : sheet.drawings) object.anchor.fromRow += shift, object.anchor.toRow += shift;
    const auto bytes = office::writeXls(model, "");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

void BM_TransferSheet(benchmark::State& state) {
    testsupport::ScratchDataFolder data{"tavolex-bench-transfer"};
    if (state.range(0) == 1)
        data.objects.pictures = std::make_shared<render::QtPictureMaker>();
    else
        data.objects.drawChart = [](const office::engine::ChartToDraw&) {
            return automation::Picture{testsupport::onePixelPng(), 1, 1};
        };
    core::Context& ctx = data.ctx;
    const fs::path source = data.path() / "formatted 300.xls";
    writeSource(source);
    ctx.state.ExcelApp = data.objects.CreateExcel();

    double charts = -1, pictures = 0, filledRows = 0;
    for (auto _ : state) {
        auto presentation = ctx.state.ExcelApp->GetWorkbooks().Add();
        presentation->WorksheetAt(1)->SetName("START");
        int status = -1;
        builder::TransferSheet(ctx, *presentation, source.string(), "Report", "Report", "bench", status);
        state.PauseTiming();
        if (status != 0) state.SkipWithError("the sheet was not carried");
        // What arrived: every chart turned into a picture, every row filled.
        auto copy = presentation->Worksheets("Report");
        charts = static_cast<double>(copy->ChartObjectCount());
        pictures = 0;
        for (const auto& sheet : dynamic_cast<office::engine::EngineWorkbook&>(*presentation).core()->model.sheets)
            for (const auto& object : sheet.drawings) pictures += object.kind == office::DrawingKind::Picture ? 1 : 0;
        filledRows = 0;
        for (long row = 1; row <= static_cast<long>(kRows) + 10; ++row)
            filledRows += copy->Cells(row, 1)->Value().isEmpty() ? 0 : 1;
        presentation->Close(false);
        state.ResumeTiming();
    }
    state.counters["filled_rows"] = filledRows;
    state.counters["charts_left"] = charts;
    state.counters["pictures"] = pictures;
    ctx.state.ExcelApp->Quit();
}
BENCHMARK(BM_TransferSheet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
