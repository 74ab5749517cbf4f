// Probing a 100-page Word document and a 100-slide PowerPoint presentation
// as the line editor does: open in a new Word, the Goto loop, quit; bind the
// presentation, count its slides, close it. The files are the shared samples.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "office/engine/DocumentEngines.h"

#ifndef TAVOLEX_SHARED_SAMPLES
#define TAVOLEX_SHARED_SAMPLES "../shared/samples"
#endif

namespace {

namespace word = automation::word;

std::string sample(const char* name) { return (std::filesystem::path(TAVOLEX_SHARED_SAMPLES) / name).string(); }

void BM_ProbeLongDoc(benchmark::State& state) {
    const std::string path = sample("long.doc");
    if (!std::filesystem::exists(path)) return state.SkipWithError("no long.doc");
    long pages = 0;
    for (auto _ : state) {
        auto app = office::engine::createWordApplication();
        auto document = app->GetDocuments().Open(path);
        long n = 0, p = 1, q = 0;
        while (q != p) {
            ++n;
            p = document->Goto(word::kGoToPage, word::kGoToAbsolute, n)->Start();
            q = document->Goto(word::kGoToPage, word::kGoToAbsolute, n + 1)->Start();
        }
        app->Quit(word::kDoNotSaveChanges);
        pages = n;
    }
    state.counters["pages"] = static_cast<double>(pages);
}

void BM_ProbeLongPpt(benchmark::State& state) {
    const std::string path = sample("long.ppt");
    if (!std::filesystem::exists(path)) return state.SkipWithError("no long.ppt");
    long slides = 0;
    for (auto _ : state) {
        auto presentation = office::engine::bindPresentationFile(path);
        slides = presentation->GetApplication()->Presentations(1)->GetSlides().Count();
        presentation->Close();
    }
    state.counters["slides"] = static_cast<double>(slides);
}

BENCHMARK(BM_ProbeLongDoc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProbeLongPpt)->Unit(benchmark::kMillisecond);

}  // namespace
