#include "startup/FirstRun.h"

#include <stdexcept>

#include "automation/AutomationError.h"
#include "core/ProgramEnd.h"
#include "startup/HelpWindow.h"

namespace startup {

namespace {

// Always English: the first run has no language suffix.
const char* const kInstructions =
    "Run the program supplying as an argument the full path of the folder which will contain data.\r"
    "Ex.: c:\\Programs\\Tavolex.exe  c:\\MyFolder\r"
    "\r"
    "It is suggested to do as it follows:\r"
    "1. Create a Desktop shortcut at the program Tavolex.exe.\r"
    "2. Click right the icon and select Property.\r"
    "3. In 'Target' box, fill in with the folder full path on the right side of the program full path.\r"
    "\r"
    "(To uninstall, delete the shortcut, the program and the Excel file 'BasePresentation.xls' inside the folder,"
    " or press the button 'Uninstall').\r"
    "\r"
    "Do you want to create the shortcut automatically?";

// The chooser starts in the program's folder; should the running program's
// path be unreadable, it starts at the root instead.
std::string ProgramFolderWithSeparator(core::Context& ctx) {
    std::string folder;
    try {
        folder = ctx.platform.ProgramFolder();
    } catch (const automation::AutomationError&) {
        folder.clear();
    }
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

template <typename Seam>
const Seam& Wired(const Seam& seam, const char* name) {
    if (!seam) throw std::logic_error(std::string("start-up needs the ") + name + " seam wired");
    return seam;
}

}  // namespace

std::string ShortcutName(const std::string& title) {
    std::size_t dot = title.find('.');
    if (dot == std::string::npos) return title;
    return title.substr(0, dot + 2);
}

void FirstRunPath(core::Context& ctx) {
    core::AppState& state = ctx.state;
    if (ctx.windows.askYesNo(kInstructions, true, state.TitleText)) {
        state.ChooserMode = "FLD";
        state.ChooserPattern = "";
        state.ChooserCaption = "Select a folder or create new";
        state.ChooserResult.clear();
        state.DataFolder = ProgramFolderWithSeparator(ctx);
        Wired(ctx.seams.showFolderChooser, "folder chooser")(ctx);
        if (!state.ChooserResult.empty())
            Wired(ctx.seams.createDesktopShortcut, "desktop shortcut")(ctx, ShortcutName(state.TitleText),
                                                                      state.ChooserResult);
    }
    ShowHelp(ctx);
    core::EndProgram();
}

}  // namespace startup
