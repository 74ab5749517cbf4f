#include <chrono>
#include <thread>

#include "core/ProgramEnd.h"
#include "store/BaseWorkbook.h"

namespace store {

void WaitSeconds(core::Context& ctx) {
    const double seconds = ctx.state.WaitTime;
    if (seconds <= 0) return;
    if (ctx.seams.feedbackPause) return ctx.seams.feedbackPause(ctx, seconds);
    // Elapsed time from a steady clock: a pause across midnight or a clock
    // change still lasts exactly WaitTime.
    const auto start = std::chrono::steady_clock::now();
    const auto length = std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() - start < length) {
        ctx.windows.doEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void ShowDone(core::Context& ctx, ui::CommandButton& button, const std::string& caption) {
    const auto color = button.backColor();
    button.setBackColor(ui::kGreen);
    button.setCaption("OK");
    ctx.state.WaitTime = 0.5;
    WaitSeconds(ctx);
    button.setBackColor(color);
    button.setCaption(caption);
}

std::string FileExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(dot + 1);
}

void CloseProbedDocuments(core::AppState& state) {
    // Each is closed on its own: a failure of one must not keep the other open.
    if (auto presentation = std::move(state.ProbedPresentation)) {
        try {
            presentation->Close();
        } catch (const automation::AutomationError&) {
        }
    }
    if (auto document = std::move(state.ProbedDocument)) {
        try {
            document->Close(automation::word::kDoNotSaveChanges);
        } catch (const automation::AutomationError&) {
        }
    }
}

void FatalError(core::Context& ctx, const automation::AutomationError& error) {
    ctx.msgBox("Not recoverable error!!!!\r" + std::to_string(error.number()) + "    " + error.description());
    CloseBaseWorkbookDiscard(ctx);
    CloseProbedDocuments(ctx.state);
    core::EndProgram();
}

}  // namespace store
