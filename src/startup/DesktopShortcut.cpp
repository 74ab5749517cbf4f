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

void CreateDesktopShortcut(core::Context& ctx, const std::string& name, const std::string& folder) {
    automation::Shortcut shortcut;
    try {
        const std::string programFolder = ctx.platform.ProgramFolder();
        shortcut.targetPath = (programFolder.ends_with('/') ? programFolder : programFolder + "/") +
                              ctx.platform.ProgramFileName();
        shortcut.workingDirectory = programFolder;
    } catch (const automation::AutomationError&) {
        ctx.msgBox(std::string("Error opening 'App Object'.\r") + kImpossible);
        return;
    }
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
