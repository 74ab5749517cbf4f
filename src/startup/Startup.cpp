#include "startup/Startup.h"

#include <stdexcept>

#include "core/ProgramEnd.h"
#include "startup/FirstRun.h"
#include "store/BaseWorkbook.h"

namespace startup {

namespace {

void CreateSharedFileSystem(core::Context& ctx) {
    try {
        ctx.state.FileSystem = ctx.objects.CreateFileSystem();
    } catch (const automation::AutomationError&) {
        ctx.state.FileSystem.reset();
    }
    if (!ctx.state.FileSystem) {
        ctx.msgBox(ctx.tr("Error opening 'FileSystemObject'.", "Errore nell'apertura del 'FileSystemObject'."));
        core::EndProgram();
    }
}

// The same text in both languages: the file-system object's own number and
// description, and the folder as the program understood it.
void CheckDataFolder(core::Context& ctx) {
    try {
        ctx.state.FileSystem->GetFolder(ctx.state.DataFolder);
    } catch (const automation::AutomationError& error) {
        ctx.msgBox("Error!!!!\r" + std::to_string(error.number()) + "    " + error.description() + "\r" +
                   ctx.state.DataFolder);
        core::EndProgram();
    }
}

void StartWithDataFolder(core::Context& ctx, const StartArgument& argument) {
    core::AppState& state = ctx.state;
    state.LanguageCode = argument.languageCode;
    ctx.windows.setLanguage(state.LanguageCode);
    state.DataFolder = argument.folder;

    CreateSharedFileSystem(ctx);
    CheckDataFolder(ctx);
    store::InitFixedSettings(state);
    if (!state.FileSystem->FileExists(state.DataFolder + state.BaseFileName))
        store::CreateBaseWorkbook(ctx, state.DataFolder);

    if (!ctx.seams.showMainWindow) throw std::logic_error("start-up needs the main window seam wired");
    ctx.seams.showMainWindow(ctx);
}

}  // namespace

void Run(core::Context& ctx, const std::string& argument) {
    try {
        ctx.state.LanguageCode = "E";
        ctx.state.TitleText = "Tavolex 1.1";
        StartArgument parsed = ParseArgument(argument);
        if (parsed.firstRun) {
            ctx.windows.setLanguage(ctx.state.LanguageCode);
            FirstRunPath(ctx);
        }
        StartWithDataFolder(ctx, parsed);
    } catch (const core::ProgramEnded&) {
        // The program ends here, whichever window or message ended it.
    }
}

}  // namespace startup
