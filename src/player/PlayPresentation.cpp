#include "player/PlayPresentation.h"

#include "automation/AutomationError.h"
#include "player/Userform00.h"

namespace player {

void RunPresentationMenu(core::Context& ctx, const PresentationFile& file, const PlayerSeams& seams) {
    long shownRow = 0;
    // Should the menu end by an error, the backdrop goes with this object.
    Userform00 backdrop;
    for (;;) {
        const PresentationLine* sheet = nullptr;
        {
            ctx.windows.showModeless(backdrop);
            Us_Menu menu(ctx, file, seams.actions, shownRow);
            ctx.windows.showModal(menu);
            sheet = menu.sheetRequested();
        }
        // A sheet fills the screen without it; "Exit" ends the player.
        backdrop.Unload();
        if (!sheet) return;
        if (seams.showSheet) seams.showSheet(ctx, file, *sheet);
        shownRow = sheet->row;
    }
}

void PlayPresentation(core::Context& ctx, const std::string& path, const PlayerSeams& seams) {
    auto excel = ctx.objects.CreateExcel();
    struct Quit {
        automation::excel::Application& excel;
        ~Quit() {
            try {
                excel.Quit();
            } catch (const automation::AutomationError&) {
            }
        }
    } quit{*excel};
    PresentationFile file = PresentationFile::Open(*excel, path);
    struct Close {
        PresentationFile& file;
        ~Close() { file.close(); }
    } close{file};
    if (seams.opened) seams.opened(file);
    RunPresentationMenu(ctx, file, seams);
}

}  // namespace player
