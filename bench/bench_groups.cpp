// The main window's commands on a full base workbook (9,998 lines, every row
// of the table the program reads), whole commands from opening the file to
// saving it: loading the list (CarLista with open and discard) and copying a
// group of 50 lines.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>

#include "groups/MainWindow.h"
#include "groups/UserForm00.h"
#include "store/DataLayout.h"
#include "support/ScratchDataFolder.h"

namespace {

namespace fs = std::filesystem;

// Two stores of the same lines: one filling the table to its last row, and
// one without the groups "Group 7" and "Group 8" (100 lines), which leaves
// room below its last line for a copied group of 50 lines. Lines written past
// the table's last row would be lines the program never reads.
constexpr long kLines = store::kLastLineRow - store::kFirstLineRow + 1;

struct Bench {
    testsupport::ScratchDataFolder data{"tavolex-bench-groups"};
    fs::path full = data.path() / "full.xls";
    fs::path roomy = data.path() / "roomy.xls";

    Bench() {
        data.ctx.seams.showLineEditor = [](core::Context&) {};
        writeStore(full, [](long) { return true; });
        writeStore(roomy, [](long id) { return id % 200 != 7 && id % 200 != 8; });
    }
    void writeStore(const fs::path& keep, const std::function<bool(long id)>& kept) {
        data.writeBase([&](automation::excel::Worksheet& sheet) {
            long row = store::kFirstLineRow;
            for (long id = 1; id <= kLines; ++id) {
                if (!kept(id)) continue;
                testsupport::writeRow(sheet, row++,
                                      {static_cast<double>(id), "Group " + std::to_string(id % 200), id % 7 == 0 ? "P" : "",
                                       "Description of line " + std::to_string(id),
                                       "/home/user/documents/file" + std::to_string(id) + ".doc", {}, {}, {}, 1.0, 3.0,
                                       static_cast<double>(100 + id / 200)});
            }
        });
        fs::rename(data.path() / "BasePresentation.xls", keep);
    }
    void use(const fs::path& file) {
        fs::copy_file(file, data.path() / "BasePresentation.xls", fs::copy_options::overwrite_existing);
    }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

void BM_LoadGroupList(benchmark::State& state) {
    Bench& b = bench();
    b.use(b.full);
    long listed = 0;
    for (auto _ : state) {
        groups::UserForm00 form(b.data.ctx);
        form.ensureLoaded();  // open, CarLista, discard
        listed = form.ListBox1.ListCount();
        benchmark::DoNotOptimize(listed);
    }
    state.counters["groups"] = static_cast<double>(listed);
}
BENCHMARK(BM_LoadGroupList)->Unit(benchmark::kMillisecond);

// Timed from the click to the start of the half-second "OK" feedback, which
// is a pause for the user and not work.
void BM_CopyGroupOf50Lines(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        b.use(b.roomy);
        groups::UserForm00 form(b.data.ctx);
        form.ensureLoaded();
        for (int i = 0; i < form.ListBox1.ListCount(); ++i)
            if (form.ListBox1.List(i) == "Group 17") form.ListBox1.userSelect(i);
        b.data.windows.answerInput("Copied group");
        const auto seconds = b.data.secondsToFeedback([&] { form.CommandButton6_Click(); });
        if (!seconds) {
            state.SkipWithError("the group was not copied");
            break;
        }
        state.SetIterationTime(*seconds);
    }
}
BENCHMARK(BM_CopyGroupOf50Lines)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

}  // namespace
