#include "startup/DesktopShortcut.h"

#include "automation/AutomationError.h"

namespace startup {

namespace {

const char* const kImpossible = "Impossible to create the ShortCut!";

}  // namespace

std::string LauncherPath(const std::string& desktopFolder, const std::string& name) {
    std::string folder = desktopFolder;
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + name + ".desktop";
}

std::string ProgramPath(core::Context& ctx) {
    const std::string folder = ctx.platform.ProgramFolder();
    return (folder.ends_with('/') ? folder : folder + "/") + ctx.platform.ProgramFileName();
}

std::string PlayerEntryPath(const std::string& applicationsFolder) {
    std::string folder = applicationsFolder;
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + "tavolex-player.desktop";
}

void CreatePlayerEntry(core::Context& ctx, const std::string& program) {
    automation::FileHandlerEntry entry;
    entry.name = "Tavolex Player";
    entry.targetPath = program;
    entry.arguments = {"--play"};
    entry.mimeTypes = {"application/vnd.ms-excel"};
    try {
        entry.entryPath = PlayerEntryPath(ctx.platform.ApplicationsFolder());
        ctx.platform.SaveFileHandler(entry);
    } catch (const automation::AutomationError& error) {
        ctx.msgBox(ctx.tr("The entry 'Tavolex Player' for opening Presentations could not be written:\r",
                          "Non e' stato possibile scrivere la voce 'Tavolex Player' per aprire le Presentazioni:\r") +
                   entry.entryPath + "\r" + std::to_string(error.number()) + "    " + error.description());
    }
}

void CreateDesktopShortcut(core::Context& ctx, const std::string& name, const std::string& folder) {
    automation::Shortcut shortcut;
    try {
        shortcut.targetPath = ProgramPath(ctx);
        shortcut.workingDirectory = ctx.platform.ProgramFolder();
    } catch (const automation::AutomationError&) {
        ctx.msgBox(std::string("Error opening 'App Object'.\r") + kImpossible);
        return;
    }
    // The player's entry goes with the launcher: the user asked for the
    // program on the desktop.
    CreatePlayerEntry(ctx, shortcut.targetPath);
    std::string desktop;
    try {
        desktop = ctx.platform.DesktopFolder();
    } catch (const automation::AutomationError&) {
        ctx.msgBox(std::string("Error opening 'WScript.Shell'.\r") + kImpossible);
        return;
    }
    shortcut.linkPath = LauncherPath(desktop, name);
    shortcut.name = name;
    shortcut.arguments = folder.find('|') == std::string::npos ? folder : folder + "|E";
    try {
        ctx.platform.SaveShortcut(shortcut);
    } catch (const automation::AutomationError& error) {
        ctx.msgBox(std::string(kImpossible) + "\r" + shortcut.linkPath + "\r" + std::to_string(error.number()) + "    " +
                   error.description());
        return;
    }
    ctx.msgBox("The ShortCut:\n" + name + "\n\nhas been created on DeskTop!");
}

}  // namespace startup
