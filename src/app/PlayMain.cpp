#include "app/PlayMain.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <optional>
#include <iostream>

#include "app/AppObjectFactory.h"
#include "app/DocumentPrinting.h"
#include "app/DocumentView.h"
#include "app/FrozenSheet.h"
#include "app/LinePdfMaking.h"
#include "app/PlayerPrinter.h"
#include "app/SheetWindow.h"
#include "automation/AutomationError.h"
#include "core/Context.h"
#include "platform/LinuxPlatform.h"
#include "player/ObjectOpener.h"
#include "player/PlayPresentation.h"
#include "store/BaseWorkbook.h"
#include "ui/qt/QtWindowSystem.h"

namespace app {

namespace {

constexpr int kNotPlayed = 2;

// A Word, PowerPoint or PDF line in our own viewer, laid out first when it
// must be; false when this machine has no layout engine for it.
bool showInViewer(core::Context& ctx, std::unique_ptr<player::LinePdfMaker>& maker,
                  const player::PresentationFile& file, const player::PresentationLine& line) {
    const std::string kind = line.kind();
    if (kind != "DOC" && kind != "PPT" && kind != "PDF") return false;
    if (!maker) maker = MakeLinePdfMaker(ctx);
    std::optional<player::LinePages> pages;
    {
        // A first layout takes seconds.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restore {
            ~Restore() { QGuiApplication::restoreOverrideCursor(); }
        } restore;
        pages = maker->pagesOf(file, line);
    }
    if (!pages) return false;
    if (!pages->notice.empty()) ctx.msgBox(pages->notice);
    ShowDocumentFullScreen(pages->pdfPath, pages->first, pages->last, kind == "PPT",
                           file.settings().title + " - " + line.description);
    return true;
}

void wirePlayer(core::Context& ctx, player::PlayerSeams& seams, std::unique_ptr<player::ObjectOpener>& opener,
                std::unique_ptr<player::LinePdfMaker>& maker, PlayerPrinter& printer) {
    // The documents are laid out while the user reads the menu.
    seams.opened = [&](const player::PresentationFile& file) {
        if (!maker) maker = MakeLinePdfMaker(ctx);
        maker->prepare(file);
        printer.setDocuments([&ctx, &maker, &file](QPrinter& paper, const player::PresentationLine& line) {
            if (!maker) maker = MakeLinePdfMaker(ctx);
            return PrintDocumentLine(paper, *maker, file, line);
        });
    };
    seams.actions.showObject = [&](const player::PresentationFile& file, const player::PresentationLine& line) {
        if (showInViewer(ctx, maker, file, line)) return;
        if (!opener) opener = std::make_unique<player::ObjectOpener>(ctx, file);
        opener->show(line);
    };
    seams.actions.choosePrinter = [&printer](const std::string& kind) { return printer.choosePrinter(kind); };
    seams.actions.printLine = [&printer](const player::PresentationLine& line) { printer.printLine(line); };
    seams.showSheet = [](core::Context& c, const player::PresentationFile& file, const player::PresentationLine& line) {
        // The engine's model of the file carries the formats the view draws;
        // the file is read again, read-only.
        std::optional<FrozenSheet> sheet;
        try {
            sheet = ReadFrozenSheet(file.path(), line.outputSheet);
        } catch (const automation::AutomationError& error) {
            c.msgBox("Error!!!!\r" + std::to_string(error.number()) + "    " + error.description());
            return;
        }
        if (sheet) ShowSheetFullScreen(sheet->shown, file.settings().title + " - " + line.description);
        else c.msgBox(line.description + "\r\r" + c.tr("Has been deleted!!", "E' stato cancellato!!"));
    };
}

}  // namespace

bool IsPlayRequest(const std::vector<std::string>& arguments) {
    return !arguments.empty() && arguments.front() == "--play";
}

int RunPlay(int argc, char** argv) {
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavolex"));
    QApplication::setQuitOnLastWindowClosed(false);

    ui::qt::QtWindowSystem windows;
    platform::LinuxPlatform platform;
    AppObjectFactory objects;
    core::Context ctx(objects, platform, windows);
    store::InitFixedSettings(ctx.state);
    ctx.state.FileSystem = objects.CreateFileSystem();

    if (argc != 3) {
        const std::string usage = "Usage: Tavolex --play \"<Presentation>.xls\"";
        std::cerr << "Tavolex: " << usage << "\n";
        windows.msgBox(usage);
        return kNotPlayed;
    }
    const std::string path = argv[2];

    // Made on first use; their folders of copies go when the player ends.
    std::unique_ptr<player::ObjectOpener> opener;
    std::unique_ptr<player::LinePdfMaker> maker;
    PlayerPrinter printer(ctx, path);
    player::PlayerSeams seams;
    wirePlayer(ctx, seams, opener, maker, printer);
    try {
        player::PlayPresentation(ctx, path, seams);
    } catch (const automation::AutomationError& error) {
        opener.reset();
        maker.reset();
        std::cerr << "Tavolex: " << error.description() << "\n";
        windows.msgBox("Error!!!!\r" + error.description());
        return kNotPlayed;
    }
    return 0;
}

}  // namespace app
