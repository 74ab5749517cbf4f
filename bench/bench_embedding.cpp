// Embedding ten 1 MB files (random bytes, so nothing compresses) into one
// workbook and saving it, as a build with ten document lines does; the
// counters give the file's size and the growth of the process's peak
// memory against the files' total.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "office/engine/ExcelEngine.h"

namespace {

constexpr int kFiles = 10;
constexpr std::size_t kFileSize = 1 << 20;

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_EmbedTenFilesAndSave(benchmark::State& state) {
    // The benchmark runs this function more than once; the peak is the process's.
    static const long baseline = peakKilobytes();
    const auto folder = std::filesystem::temp_directory_path() / ("tavolex-bench-embed-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::mt19937 random(42);
    std::vector<std::string> files;
    for (int i = 0; i < kFiles; ++i) {
        std::vector<char> bytes(kFileSize);
        for (char& b : bytes) b = static_cast<char>(random());
        files.push_back((folder / ("file " + std::to_string(i) + ".bin")).string());
        std::ofstream(files.back(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const std::string out = (folder / "objects.xls").string();
    static long embedded = 0;  // peak growth before the process's first save
    for (auto _ : state) {
        auto app = office::engine::createExcelApplication();
        auto book = app->GetWorkbooks().Add();
        auto sheet = book->WorksheetAt(1);
        for (const std::string& file : files) sheet->AddOLEObject(file, false, true, 0, file);
        if (embedded == 0) embedded = peakKilobytes() - baseline;
        book->SaveAs(out);
        app->Quit();
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(out)) / (1 << 20);
    state.counters["peak_before_save_MB"] = static_cast<double>(embedded) / 1024;
    state.counters["peak_growth_MB"] = static_cast<double>(peakKilobytes() - baseline) / 1024;
    state.counters["files_MB"] = kFiles * static_cast<double>(kFileSize) / (1 << 20);
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_EmbedTenFilesAndSave)->Unit(benchmark::kMillisecond);
