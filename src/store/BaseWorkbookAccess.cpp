#include "core/ProgramEnd.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"

namespace store {

using automation::AutomationError;
namespace excel = automation::excel;

namespace {

// The engine's reason, with the file named and, for a file that is there
// but cannot be read as the store, what the user can do about it.
std::string explainOpenFailure(core::Context& ctx, const std::string& path, const AutomationError& error) {
    std::string text = error.description();
    if (text.find(path) == std::string::npos)
        text = ctx.tr("The base workbook '", "Il file base '") + path + ctx.tr("' cannot be opened: ", "' non si apre: ") + text;
    if (ctx.state.FileSystem && ctx.state.FileSystem->FileExists(path))
        text += ctx.tr("\rRestore a copy of it, or move it out of the data folder and start Tavolex again: it then "
                       "makes a new, empty one.",
                       "\rRipristinarne una copia, oppure spostarlo fuori dalla cartella dei dati e riavviare Tavolex: "
                       "ne crea allora uno nuovo e vuoto.");
    return text;
}

}  // namespace

void OpenBaseWorkbook(core::Context& ctx) {
    core::AppState& state = ctx.state;
    try {
        state.ExcelApp = ctx.objects.CreateExcel();
    } catch (const AutomationError&) {
        ctx.msgBox(ctx.tr("Error opening Excel!", "Errore nell'apertura di Excel!"));
        core::EndProgram();
    }

    excel::OpenOptions options;
    options.password = state.BasePassword;
    const std::string path = state.DataFolder + state.BaseFileName;
    try {
        state.ExcelApp->GetWorkbooks().Open(path, options);
    } catch (const AutomationError& error) {
        throw AutomationError(error.number(), explainOpenFailure(ctx, path, error), error.file(), error.offset());
    }
    state.BaseWorkbook = state.ExcelApp->ActiveWorkbook();

    // Asking for read/write access fails when we already hold the workbook for
    // writing: the normal case; it fails too on a store the user may only
    // read, which then serves reading commands and fails on the first save.
    // It succeeds only on a workbook that had to be opened read-only because
    // another program held it for the whole wait; then we must stop.
    bool accessRequestFailed = false;
    try {
        state.BaseWorkbook->ChangeFileAccess(excel::FileAccess::ReadWrite);
    } catch (const AutomationError&) {
        accessRequestFailed = true;
    }
    if (!accessRequestFailed) {
        CloseBaseWorkbookDiscard(ctx);
        ctx.msgBox(ctx.tr("Tavolex will be closed!\rThe base workbook is in use by another Tavolex.",
                          "Tavolex sara' chiuso!\rIl file base e' in uso da un altro Tavolex."));
        core::EndProgram();
    }

    state.DataSheet = state.BaseWorkbook->Worksheets(kDataSheet);
}

namespace {
// Quits without questions; calls on a quit instance raise, which is expected.
void quitQuietly(excel::Application& app) {
    app.SetDisplayAlerts(false);
    app.Quit();
}
}  // namespace

void CloseBaseWorkbookDiscard(core::Context& ctx) {
    core::AppState& state = ctx.state;
    if (state.ExcelApp) {
        try {
            quitQuietly(*state.ExcelApp);
        } catch (const AutomationError&) {
        }
    }
    state.DataSheet.reset();
    state.BaseWorkbook.reset();
    state.ExcelApp.reset();
}

void SaveAndCloseBaseWorkbook(core::Context& ctx) {
    core::AppState& state = ctx.state;
    state.BaseWorkbook->Save();
    quitQuietly(*state.ExcelApp);
    state.DataSheet.reset();
    state.BaseWorkbook.reset();
    state.ExcelApp.reset();
}

}  // namespace store
