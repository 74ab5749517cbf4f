#pragma once
// The player's printing: the printer asked for once per print command
// (Qt's print dialog over CUPS) and kept for the run, and a sheet line
// printed on it as its page setup says. With TAVOLEX_PRINT_TO_PDF set, no
// dialog: each print job goes to that PDF file (the second to NAME-2.pdf,
// and so on), for checks without a printer.
#include <QPageLayout>
#include <QPrinter>
#include <functional>
#include <memory>
#include <string>

#include "core/Context.h"
#include "player/PresentationFile.h"

namespace app {

class PlayerPrinter {
public:
    PlayerPrinter(core::Context& ctx, std::string presentationPath);

    // Asks for the printer; false when the user cancels.
    bool choosePrinter(const std::string& kind);
    // Prints one line on the printer chosen last.
    void printLine(const player::PresentationLine& line);

    // Prints a Word or PowerPoint line's range; false when this machine
    // cannot lay the line's document out.
    using DocumentPrinting = std::function<bool(QPrinter&, const player::PresentationLine&)>;
    void setDocuments(DocumentPrinting documents) { documents_ = std::move(documents); }

private:
    void printSheet(const player::PresentationLine& line);
    void printDocument(const player::PresentationLine& line);
    void nextJobFile();

    core::Context& ctx_;
    std::string path_;
    std::unique_ptr<QPrinter> printer_;
    QPageLayout chosenLayout_;  // the paper, orientation and margins chosen in the dialog
    DocumentPrinting documents_;
    std::string toPdf_;
    int jobs_ = 0;
};

}  // namespace app
