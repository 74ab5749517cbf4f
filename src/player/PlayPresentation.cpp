#include "player/PlayPresentation.h"

#include "player/OpenPresentation.h"
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
    WithOpenPresentation(ctx.objects, path, [&](const PresentationFile& file) {
        if (seams.opened) seams.opened(file);
        RunPresentationMenu(ctx, file, seams);
    });
}

}  // namespace player
