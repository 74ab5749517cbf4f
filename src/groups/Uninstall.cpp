#include "groups/Uninstall.h"

#include <functional>

#include "automation/AutomationError.h"
#include "core/ProgramEnd.h"
#include "startup/DesktopShortcut.h"
#include "startup/FirstRun.h"

namespace groups {

namespace {

// The program has ended for a second when the helper deletes its file.
constexpr long kDeletionDelayMs = 1000;

void ignoringErrors(const std::function<void()>& step) {
    try {
        step();
    } catch (const automation::AutomationError&) {
    }
}

void deleteLauncherAndBaseWorkbook(core::Context& ctx) {
    automation::FileSystem* files = ctx.state.FileSystem.get();
    if (!files) return;
    ignoringErrors([&] {
        const std::string name = startup::ShortcutName(ctx.state.TitleText);
        files->deletefile(startup::LauncherPath(ctx.platform.DesktopFolder(), name), true);
    });
    ignoringErrors([&] { files->deletefile(startup::PlayerEntryPath(ctx.platform.ApplicationsFolder()), true); });
    const std::string base = ctx.state.DataFolder + ctx.state.BaseFileName;
    ignoringErrors([&] { files->deletefile(base, true); });
    ignoringErrors([&] {
        auto excel = ctx.objects.CreateExcel();
        for (const std::string& companion : excel->CompanionFiles(base))
            ignoringErrors([&] { files->deletefile(companion, true); });
        excel->Quit();
    });
}

std::string packageAdvice(core::Context& ctx, const std::string& program, const std::string& package) {
    const std::string stays = ctx.tr("Tavolex has been uninstalled from this data folder, but its program file stays:\r",
                                     "Tavolex e' stato disinstallato da questa cartella dati, ma il file del programma resta:\r") +
                              program + "\r\r";
    if (!package.empty())
        return stays + ctx.tr("It belongs to the package '" + package + "': remove the package instead (for example: sudo apt remove " + package + ").",
                              "Appartiene al pacchetto '" + package + "': rimuovi invece il pacchetto (per esempio: sudo apt remove " + package + ").");
    return stays + ctx.tr("It is installed for all users of this computer: ask its administrator to remove it.",
                          "E' installato per tutti gli utenti di questo computer: chiedi all'amministratore di rimuoverlo.");
}

// Hands the program file to the helper that deletes it after the end, or
// tells the user why it stays.
void removeProgramFileAfterTheEnd(core::Context& ctx) {
    std::string program;
    try {
        program = startup::ProgramPath(ctx);
    } catch (const automation::AutomationError&) {
        return;  // the program's own path is unknown: nothing to delete
    }
    try {
        const automation::RemovalCheck check = ctx.platform.ProgramRemoval(program);
        if (!check.allowed) {
            ctx.msgBox(packageAdvice(ctx, program, check.package));
            return;
        }
        ctx.platform.DeleteAfterExit(program, kDeletionDelayMs);
    } catch (const automation::AutomationError& error) {
        ctx.msgBox(ctx.tr("The program file could not be removed:\r", "Non e' stato possibile rimuovere il file del programma:\r") +
                   program + "\r" + std::to_string(error.number()) + "    " + error.description());
    }
}

}  // namespace

void UninstallButtonMouseUp(core::Context& ctx, ui::Form& mainWindow, int button, int shift) {
    if (button != ui::kLeftButton || shift != (ui::kCtrlMask | ui::kAltMask)) {
        ctx.msgBox(ctx.tr("To uninstall you must press Ctrl+Alt+Click!", "Per disinstallare premi Ctrl+Alt+Click!"));
        return;
    }
    if (!ctx.windows.askYesNo(ctx.tr("Are you sure you want to uninstall?", "Sei sicuro di voler disinstallare?"), true))
        return;
    Uninstall(ctx, mainWindow);
}

void Uninstall(core::Context& ctx, ui::Form& mainWindow) {
    deleteLauncherAndBaseWorkbook(ctx);
    removeProgramFileAfterTheEnd(ctx);
    mainWindow.Unload();
    core::EndProgram();
}

}  // namespace groups
