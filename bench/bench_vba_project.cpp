// Writing the macro project of a Presentation (the four macro texts, the
// workbook and twelve sheets behind them, two forms), locked for viewing;
// reading it back; compressing the largest text.
#include <benchmark/benchmark.h>

#include "macros/MacroTexts.h"
#include "office/vba/Compression.h"
#include "office/vba/VbaProject.h"

namespace {

using namespace office::vba;

Module module(std::string name, ModuleKind kind, const std::string& text) {
    Module m;
    m.name = std::move(name);
    m.kind = kind;
    if (kind == ModuleKind::Form) {
        m.attributes = formAttributes();
        m.isPrivate = true;
        m.designer.caption = m.name;
    }
    addFromString(m, text);
    return m;
}

Project presentationProject() {
    Project p;
    p.name = "TavolexVBP";
    p.modules.push_back(module("ThisWorkbook", ModuleKind::Document, macros::WorkbookEventText()));
    p.modules.back().attributes = documentAttributes(kWorkbookBase);
    for (int i = 1; i <= 12; ++i) {
        p.modules.push_back(module("Sheet" + std::to_string(i), ModuleKind::Document, ""));
        p.modules.back().attributes = documentAttributes(kWorksheetBase);
    }
    p.modules.push_back(module("Module1", ModuleKind::Standard, macros::ModuleText()));
    p.modules.push_back(module("Us_Menu", ModuleKind::Form, macros::MenuFormText()));
    p.modules.push_back(module("Userform00", ModuleKind::Form, macros::BackdropText()));
    addStandardReferences(p);
    return p;
}

void BM_WritePresentationProject(benchmark::State& state) {
    const Project project = presentationProject();
    for (auto _ : state) {
        Project locked = project;
        lockForViewing(locked, "ab1234");
        office::cfb::Node storage = writeProjectStorage(locked);
        benchmark::DoNotOptimize(storage.children.data());
    }
}

void BM_ReadPresentationProject(benchmark::State& state) {
    Project project = presentationProject();
    lockForViewing(project, "ab1234");
    const office::cfb::Node storage = writeProjectStorage(project);
    for (auto _ : state) {
        Project read = readProjectStorage(storage);
        benchmark::DoNotOptimize(read.modules.data());
    }
}

void BM_CompressMenuText(benchmark::State& state) {
    const std::string& text = macros::MenuFormText();
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    std::size_t size = 0;
    for (auto _ : state) {
        auto packed = compress(bytes);
        size = packed.size();
        benchmark::DoNotOptimize(packed.data());
    }
    state.counters["text_bytes"] = static_cast<double>(text.size());
    state.counters["packed_bytes"] = static_cast<double>(size);
}

}  // namespace

BENCHMARK(BM_WritePresentationProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPresentationProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressMenuText)->Unit(benchmark::kMicrosecond);
