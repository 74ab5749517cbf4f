// Create the Presentation: the selected group built into its Presentation,
// which the user then sees in the Presentation player.
#include "automation/AutomationError.h"
#include "builder/BuildPresentation.h"
#include "core/ProgramEnd.h"
#include "groups/UserForm00.h"
#include "startup/DesktopShortcut.h"

namespace groups {

void UserForm00::CommandButton5_Click() {
    if (!selectionCheck()) return;

    int BuildStatus = 0;
    // The button shows how far the build has come; the window stays painted
    // while the user's clicks on it are dropped until the command ends.
    auto showProgress = [this](const builder::BuildProgress& progress) {
        CommandButton5.setCaption(builder::ProgressCaption(progress));
        ctx_.windows.doEvents();
    };
    ctx_.state.BuildInProgress = true;
    try {
        builder::BuildPresentation(ctx_, BuildStatus, showProgress);
    } catch (...) {
        ctx_.state.BuildInProgress = false;
        throw;
    }
    ctx_.state.BuildInProgress = false;
    if (BuildStatus == 9) return;

    const auto color = CommandButton5.backColor();
    CommandButton5.setBackColor(ui::kGreen);
    CommandButton5.setCaption("OK");
    ctx_.msgBox(builder::BuildReport(ctx_, BuildStatus));
    CommandButton5.setBackColor(color);
    Unload();

    // The Presentation's menu is the player's, a program of its own that
    // stays when this one ends.
    const std::string& path = ctx_.state.PresentationPath;
    try {
        ctx_.platform.StartProgram({startup::ProgramPath(ctx_), "--play", path});
    } catch (const automation::AutomationError& error) {
        // The file is whole and stays; the user learns where to find it.
        ctx_.msgBox(ctx_.tr("The Presentation could not be opened: ", "Non e' stato possibile aprire la "
                                                                        "Presentazione: ") +
                    error.description() + "\r" + ctx_.tr("It is saved as:", "E' salvata come:") + "\r" + path);
    }
    core::EndProgram();
}

}  // namespace groups
