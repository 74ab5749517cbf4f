#pragma once
// The player's turns: the menu, a sheet shown full screen, the menu again
// with that sheet's line selected, until "Exit".
#include <functional>
#include <string>

#include "core/Context.h"
#include "player/PresentationFile.h"
#include "player/PresentationMenu.h"

namespace player {

struct PlayerSeams {
    // Told once the Presentation is read, before the menu shows.
    std::function<void(const PresentationFile&)> opened;
    // Shows a frozen sheet; returns when the user leaves it (Esc, Alt+F4).
    std::function<void(core::Context&, const PresentationFile&, const PresentationLine&)> showSheet;
    MenuActions actions;
};

// Shows the menu of `file`, in front of the backdrop, until "Exit". Going to
// a sheet and back never nests one menu in another.
void RunPresentationMenu(core::Context& ctx, const PresentationFile& file, const PlayerSeams& seams);

// Opens the Presentation `path` read-only in an Excel of ctx.objects, runs
// its menu and closes it. AutomationError when it is no Presentation.
void PlayPresentation(core::Context& ctx, const std::string& path, const PlayerSeams& seams);

}  // namespace player
