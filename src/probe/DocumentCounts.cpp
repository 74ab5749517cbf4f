// Counting the slides of a presentation and the pages of a Word document
// through their applications' object models.
#include "probe/DocumentProbe.h"

namespace probe {

namespace word = automation::word;

namespace {

// Where page `n` starts: Word's go-to for that page, absolute.
long pageStart(word::Document& document, long n) {
    return document.Goto(word::kGoToPage, word::kGoToAbsolute, n)->Start();
}

// The page count is the first n whose page starts where page n + 1 does
// (a go-to past the last page lands on the last). The starts rise with the
// page until the last, so the first such n is found by doubling and then
// halving: a few dozen go-tos even for a file that records two billion
// pages, where trying each page in turn would keep the editor busy for
// minutes.
long countPages(word::Document& document) {
    auto isLast = [&](long n) { return pageStart(document, n) == pageStart(document, n + 1); };
    // A file records at most 2^31 - 1 pages: by 2^32 the go-to has reached
    // the last page, and the doubling stops there whatever it answers.
    constexpr long kBeyondAnyCount = 1L << 32;
    long below = 0;  // a page known not to be the last (0: none yet)
    long last = 1;
    for (; last < kBeyondAnyCount && !isLast(last); last *= 2) below = last;
    while (last - below > 1) {
        const long middle = below + (last - below) / 2;
        (isLast(middle) ? last : below) = middle;
    }
    return last;
}

}  // namespace

void ShowOpenFailure(core::Context& ctx, const automation::AutomationError& error, const std::string& fileName) {
    ctx.msgBox("Error!!!!\r" + std::to_string(error.number()) + "    " + error.description() + "\rFilename: " +
               fileName);
}

long CountSlides(core::Context& ctx, const std::string& fileName) {
    core::AppState& state = ctx.state;
    state.ProbedPresentation = ctx.objects.GetPresentation(fileName);
    try {
        // Presentation 1 of its application: the file itself, which opens in
        // an application of its own.
        const long count = state.ProbedPresentation->GetApplication()->Presentations(1)->GetSlides().Count();
        auto presentation = std::move(state.ProbedPresentation);
        presentation->Close();
        return count;
    } catch (const automation::AutomationError&) {
        // Nothing stays open after a probe, also when it fails.
        if (auto presentation = std::move(state.ProbedPresentation)) {
            try {
                presentation->Close();
            } catch (const automation::AutomationError&) {
            }
        }
        throw;
    }
}

automation::Variant CountPages(core::Context& ctx, const std::string& fileName, int& ProbeOpenFailed,
                               bool* pageCountIsEstimate) {
    core::AppState& state = ctx.state;
    ProbeOpenFailed = 0;
    std::shared_ptr<word::Application> wordApp;
    try {
        wordApp = ctx.objects.CreateWord();
        state.ProbedDocument = wordApp->GetDocuments().Open(fileName);
    } catch (const automation::AutomationError& error) {
        ProbeOpenFailed = 1;
        if (wordApp) {
            try {
                wordApp->Quit(word::kDoNotSaveChanges);
            } catch (const automation::AutomationError&) {
            }
        }
        state.ProbedDocument.reset();
        ShowOpenFailure(ctx, error, fileName);
        return {};
    }
    // From here errors go to the caller; the document stays in its slot for
    // FatalError to close.
    word::Document& document = *state.ProbedDocument;
    const long pages = countPages(document);
    if (pageCountIsEstimate) *pageCountIsEstimate = document.PageCountIsEstimate();
    document.GetApplication()->Quit(word::kDoNotSaveChanges);
    state.ProbedDocument.reset();
    return automation::Variant(pages);
}

}  // namespace probe
