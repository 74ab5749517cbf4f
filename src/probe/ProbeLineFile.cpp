// ProbeLineFile: the line editor's frames arranged for the kind of the
// line's file, and filled from the file itself.
#include "core/Text.h"
#include "lines/Us_Menu.h"
#include "probe/DocumentProbe.h"
#include "store/BaseWorkbook.h"
#include "text/CaseFold.h"

namespace probe {

namespace {

// The sheet list of a workbook, in workbook order. Frame3 stays hidden while
// the file is examined and comes back only when it opened.
void probeWorkbook(core::Context& ctx, lines::Us_Menu& editor, const std::string& fileName) {
    core::AppState& state = ctx.state;
    const std::string& sheetName = state.CurrentLine.SheetName;
    editor.Frame2.setVisible(true);
    editor.Frame1.setVisible(false);
    editor.Frame2.setCaption("Excel   (Sheet Name: " + sheetName + ")");
    editor.ListBox2.setBackColor(std::nullopt);
    editor.ListBox2.Clear();

    std::shared_ptr<automation::excel::Application> excelApp;
    try {
        excelApp = ctx.objects.CreateExcel();
    } catch (const automation::AutomationError& error) {
        store::FatalError(ctx, error);
    }
    editor.Frame3.setVisible(false);
    std::vector<std::string> names;
    try {
        // Read-only: the probe only looks, and takes no lock beside the
        // user's file. Every kind of sheet counts, chart sheets too.
        automation::excel::OpenOptions options;
        options.readOnly = true;
        names = excelApp->GetWorkbooks().Open(fileName, options)->SheetNames();
    } catch (const automation::AutomationError& error) {
        excelApp->Quit();
        ShowOpenFailure(ctx, error, fileName);
        return;
    }
    excelApp->Quit();

    int match = -1;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (match < 0 && text::equalsIgnoringCase(names[i], sheetName)) match = static_cast<int>(i);
    editor.ListBox2.SetItems(names);
    editor.Frame3.setVisible(true);

    if (match < 0 && state.LineEditMode != "I") {
        editor.ListBox2.setBackColor(ui::kRed);
        ctx.msgBox(sheetName + "\r" + ctx.tr("Excel sheet not found!", "Foglio Excel non trovato!"));
        return;
    }
    // A new line whose sheet is not in the workbook selects nothing and
    // hears nothing.
    if (match >= 0) editor.ListBox2.SetListIndex(match);
}

// Frame1 takes Frame2's place, with the range labels.
void showPageRangeFrame(core::Context& ctx, lines::Us_Menu& editor) {
    editor.Frame1.setVisible(true);
    const ui::Geometry& range = editor.Frame1.geometry();
    editor.Frame1.setGeometry(editor.Frame2.geometry().left, range.top, range.width, range.height);
    editor.Frame2.setVisible(false);
    editor.Label10.setCaption(ctx.tr("From", "Da"));
    editor.Label11.setCaption(ctx.tr("To", "A"));
}

void probePresentation(core::Context& ctx, lines::Us_Menu& editor, const std::string& fileName) {
    core::AppState& state = ctx.state;
    showPageRangeFrame(ctx, editor);
    // A presentation that cannot be opened or counted is told like a
    // document that cannot: the program goes on, and the line being edited
    // is not lost.
    editor.Frame3.setVisible(false);
    try {
        state.MaxPageCount = automation::Variant(CountSlides(ctx, fileName));
    } catch (const automation::AutomationError& error) {
        state.MaxPageCount = automation::Variant();
        ShowOpenFailure(ctx, error, fileName);
        return;
    }
    editor.Frame3.setVisible(true);
    editor.Frame1.setCaption("PowerPoint - N. Slides: " + state.MaxPageCount.toText());
}

void probeDocument(core::Context& ctx, lines::Us_Menu& editor, const std::string& fileName) {
    core::AppState& state = ctx.state;
    showPageRangeFrame(ctx, editor);
    editor.Frame3.setVisible(false);
    int ProbeOpenFailed = 0;
    bool estimate = false;
    try {
        state.MaxPageCount = CountPages(ctx, fileName, ProbeOpenFailed, &estimate);
    } catch (const automation::AutomationError& error) {
        store::FatalError(ctx, error);  // the document opened but could not be counted
    }
    if (ProbeOpenFailed == 1) return;
    editor.Frame3.setVisible(true);
    editor.Frame1.setCaption("Word - N. Pages: " + state.MaxPageCount.toText() +
                             (estimate ? ctx.tr(" (estimate)", " (stima)") : std::string()));
}

}  // namespace

void ProbeLineFile(core::Context& ctx, lines::Us_Menu& editor, const std::string& fileName) {
    const std::string kind = core::UpperAscii(store::FileExtension(fileName));
    if (kind == "XLS") {
        probeWorkbook(ctx, editor, fileName);
    } else if (kind == "PPT") {
        probePresentation(ctx, editor, fileName);
    } else if (kind == "DOC") {
        probeDocument(ctx, editor, fileName);
    } else {
        editor.Frame1.setVisible(false);
        editor.Frame2.setVisible(false);
    }
}

}  // namespace probe
