#pragma once
// Shows an embedded document or file of a Presentation where no viewer of
// our own does it yet: a private copy goes to a temporary folder only this
// user may read, and the desktop's program for its kind opens it. The folder
// goes with the opener; one left by a player that crashed goes when the next
// opener is made.
#include <string>

#include "core/Context.h"
#include "player/PresentationFile.h"
#include "player/PrivateFolder.h"

namespace player {

class ObjectOpener {
public:
    // AutomationError when the temporary folder cannot be made.
    ObjectOpener(core::Context& ctx, const PresentationFile& file);
    ObjectOpener(const ObjectOpener&) = delete;
    ObjectOpener& operator=(const ObjectOpener&) = delete;

    // Writes the line's object (mode 0600) and opens it; for a page or slide
    // range the user is told which pages belong to the line. AutomationError
    // (9) when the Presentation has no object of that name.
    void show(const PresentationLine& line);

    const std::string& folder() const { return folder_.path(); }

private:
    core::Context& ctx_;
    const PresentationFile& file_;
    PrivateFolder folder_;
};

}  // namespace player
