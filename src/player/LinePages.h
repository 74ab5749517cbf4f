#pragma once
// The pages of a Word, PowerPoint or PDF line as a PDF file, for the viewer,
// the printer and the export. Laying a Word or PowerPoint document out needs
// an outside layout engine; the player sees only this interface.
#include <optional>
#include <string>

#include "player/PresentationFile.h"

namespace player {

struct LinePages {
    std::string pdfPath;  // a private file (mode 0600), removed with the maker that made it
    int first = 1;        // 1-based pages of pdfPath, inclusive
    int last = 0;
    // Told to the user once when the layout's page count differs from the
    // document's own pagination; "" otherwise.
    std::string notice;
};

class LinePdfMaker {
public:
    virtual ~LinePdfMaker() = default;
    // The pages of a Word, PowerPoint or PDF line; nothing when no layout
    // engine is installed (the caller then opens the file with the desktop's
    // program). AutomationError when the object is missing or the layout fails.
    virtual std::optional<LinePages> pagesOf(const PresentationFile& file, const PresentationLine& line) = 0;
    // A hint that `file`'s lines will be asked for: a maker may start its
    // work ahead. Nothing by default.
    virtual void prepare(const PresentationFile& /*file*/) {}
};

}  // namespace player
