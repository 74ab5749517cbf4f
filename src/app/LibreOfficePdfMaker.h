#pragma once
// The pages of a Word, PowerPoint or PDF line laid out by LibreOffice in
// headless mode: the embedded document is copied to a private folder and
// converted to PDF once per run, with a throw-away user profile of its own
// so a LibreOffice the user has open is left alone. A PDF line's file is
// used as it is.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

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
    // Stops a layout still running in the background.
    ~LibreOfficePdfMaker() override;
    LibreOfficePdfMaker(const LibreOfficePdfMaker&) = delete;
    LibreOfficePdfMaker& operator=(const LibreOfficePdfMaker&) = delete;

    // Starts laying out, in the background, every Word and PowerPoint
    // document of `file`'s lines, so that the first click on one rarely
    // waits; pagesOf waits for a document still being laid out.
    void prepare(const player::PresentationFile& file) override;

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

    // One document to lay out: its bytes taken from the Presentation and
    // its folder made beforehand, so the layout itself may run elsewhere.
    struct Job {
        std::string key, name, kind, subfolder;
        std::vector<std::uint8_t> bytes;
    };
    Job jobOf(const player::PresentationFile& file, const player::PresentationLine& line);
    Laid layOut(const Job& job);
    void keep(const std::string& key, const Laid* laid, const automation::AutomationError* failure);
    player::PrivateFolder& folder();

    core::Context& ctx_;
    std::string program_;
    std::chrono::milliseconds timeLimit_;
    std::unique_ptr<player::PrivateFolder> folder_;  // made on first use
    std::mutex mutex_;  // guards laid_, failed_ and pending_
    std::condition_variable settled_;
    std::map<std::string, Laid> laid_;  // by Presentation and object
    std::map<std::string, automation::AutomationError> failed_;
    std::set<std::string> pending_;  // laid out in the background still
    std::mutex layoutRun_;           // one LibreOffice at a time on the profile
    std::atomic<bool> stopping_{false};
    std::thread background_;
    std::atomic<int> layouts_{0};
};

// Pages of a PDF file; 0 when it cannot be read as one.
int PdfPageCount(const std::string& path);

}  // namespace app
