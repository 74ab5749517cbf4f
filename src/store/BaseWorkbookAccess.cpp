#include "core/ProgramEnd.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"

namespace store {

using automation::AutomationError;
namespace excel = automation::excel;

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
    state.ExcelApp->GetWorkbooks().Open(state.DataFolder + state.BaseFileName, options);
    state.BaseWorkbook = state.ExcelApp->ActiveWorkbook();

    // Asking for read/write access fails when we already hold the workbook for
    // writing: the normal case. It succeeds only on a workbook that had to be
    // opened read-only because another program holds it; then we must stop.
    bool accessRequestFailed = false;
    try {
        state.BaseWorkbook->ChangeFileAccess(excel::FileAccess::ReadWrite);
    } catch (const AutomationError&) {
        accessRequestFailed = true;
    }
    if (!accessRequestFailed) {
        CloseBaseWorkbookDiscard(ctx);
        ctx.msgBox(ctx.tr("Tavolex will be closed!", "Tavolex sara' chiuso!"));
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
