#pragma once
// The pages of a Word, PowerPoint or PDF line laid out by LibreOffice in
// headless mode: the embedded document is copied to a private folder and
// converted to PDF once per run, with a throw-away user profile of its own
// so a LibreOffice the user has open is left alone. A PDF line's file is
// used as it is.
#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "automation/AutomationError.h"
#include "core/Context.h"
#include "player/LinePages.h"
#include "player/PrivateFolder.h"

namespace app {

class LibreOfficePdfMaker : public player::LinePdfMaker {
public:
    // `program`: LibreOffice's soffice, "" when it is not installed (Word
    // and PowerPoint lines then get nothing).
    LibreOfficePdfMaker(core::Context& ctx, std::string program,
                        std::chrono::milliseconds timeLimit = std::chrono::minutes(2));

    // The range is the line's pages in the document's own pagination (as
    // the engine counts them), clamped to the pages of the layout; a first
    // page of 0 means the whole document. `notice` is set on the first call
    // for a document whose layout has another page count, "" afterwards.
    std::optional<player::LinePages> pagesOf(const player::PresentationFile& file,
                                             const player::PresentationLine& line) override;

    // Runs of the layout engine so far (each document is laid out once).
    int layouts() const { return layouts_; }

private:
    struct Laid {
        std::string pdfPath;
        int pages = 0;       // of the layout
        long ownPages = 0;   // of the document's own pagination; 0 when unknown
        bool told = false;
    };

    Laid layOut(const player::PresentationFile& file, const player::PresentationLine& line);
    player::PrivateFolder& folder();

    core::Context& ctx_;
    std::string program_;
    std::chrono::milliseconds timeLimit_;
    std::unique_ptr<player::PrivateFolder> folder_;  // made on first use
    std::map<std::string, Laid> laid_;               // by Presentation and object
    std::map<std::string, automation::AutomationError> failed_;
    int layouts_ = 0;
};

// Pages of a PDF file; 0 when it cannot be read as one.
int PdfPageCount(const std::string& path);

}  // namespace app
