// The office engine on a base workbook shaped like the program's: a visible
// empty "START", a very hidden "DATA" with a bold, underlined header and 9,999
// line rows, saved with an open password.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "automation/Excel.h"
#include "office/engine/ExcelEngine.h"

using automation::Variant;
using namespace automation::excel;
namespace fs = std::filesystem;

namespace {

constexpr long kLines = 9999;
const char* const kPassword = "xy1234";

// The folder of the base workbook, removed when the program ends.
struct BenchFolder {
    fs::path path = fs::temp_directory_path() / ("bench-engine-" + std::to_string(std::random_device{}()));
    BenchFolder() { fs::create_directories(path); }
    ~BenchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

const fs::path& baseWorkbook() {
    static const BenchFolder folder;
    static const fs::path path = [] {
        fs::path file = folder.path / "BasePresentation.xls";
        auto app = office::engine::createExcelApplication();
        auto book = app->GetWorkbooks().Add();
        auto data = book->WorksheetAt(1);
        data->SetName("DATA");
        book->AddWorksheet()->SetName("START");
        const char* header[] = {"Pos.",    "PresentationGroup", "Supp.",     "Description", "FileName", "InpSheet",
                                "OutSheet", "ObjName",          "FirstPage", "LastPage",    "Sort"};
        for (long c = 1; c <= 11; ++c) data->Cells(1, c)->SetValue(Variant(header[c - 1]));
        data->Rows(1)->GetFont().SetBold(true);
        data->Rows(1)->GetFont().SetUnderline(Underline::Single);
        for (long id = 1; id <= kLines; ++id) {
            const long row = id + 1;
            data->Cells(row, 1)->SetValue(Variant(id));
            data->Cells(row, 2)->SetValue(Variant("Group " + std::to_string(id % 200)));
            data->Cells(row, 3)->SetValue(Variant(id % 3 == 0 ? "x" : ""));
            data->Cells(row, 4)->SetValue(Variant("Quarterly figures, part " + std::to_string(id)));
            data->Cells(row, 5)->SetValue(Variant("/srv/reports/2024/region-" + std::to_string(id % 50) + "/book" +
                                                  std::to_string(id) + ".xls"));
            data->Cells(row, 6)->SetValue(Variant("Input"));
            data->Cells(row, 7)->SetValue(Variant("Output " + std::to_string(id % 7)));
            data->Cells(row, 8)->SetValue(Variant("Chart " + std::to_string(id % 11)));
            data->Cells(row, 9)->SetValue(Variant(id % 40 + 1));
            data->Cells(row, 10)->SetValue(Variant(id % 40 + 3));
            data->Cells(row, 11)->SetValue(Variant(static_cast<double>(id) / 4));
        }
        data->SetVisible(SheetVisibility::VeryHidden);
        book->SaveAs(file.string(), std::string(kPassword));
        app->Quit();
        return file;
    }();
    return path;
}

OpenOptions withPassword() { return OpenOptions{std::string(kPassword), 0, false}; }

void BM_OpenAndReadIdsAndGroups(benchmark::State& state) {
    const std::string path = baseWorkbook().string();
    auto app = office::engine::createExcelApplication();
    long rows = 0;
    for (auto _ : state) {
        auto book = app->GetWorkbooks().Open(path, withPassword());
        auto data = book->Worksheets("DATA");
        rows = 0;
        for (long row = 2;; ++row) {
            Variant id = data->Cells(row, 1)->Value();
            if (id.isEmpty()) break;
            benchmark::DoNotOptimize(data->Cells(row, 2)->Value());
            ++rows;
        }
        book->Close(false);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_OpenAndReadIdsAndGroups)->Unit(benchmark::kMillisecond);

void BM_OpenChangeOneRowAndSave(benchmark::State& state) {
    const std::string path = baseWorkbook().string();
    auto app = office::engine::createExcelApplication();
    long round = 0;
    for (auto _ : state) {
        auto book = app->GetWorkbooks().Open(path, withPassword());
        auto data = book->Worksheets("DATA");
        const long row = 2 + (round++ % kLines);
        for (long c = 1; c <= 11; ++c) data->Cells(row, c)->SetValue(Variant("changed " + std::to_string(round)));
        data->Cells(row, 1)->SetValue(Variant(row - 1));
        book->Save();
        book->Close(false);
    }
}
BENCHMARK(BM_OpenChangeOneRowAndSave)->Unit(benchmark::kMillisecond);

}  // namespace
