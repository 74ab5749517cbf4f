#include "app/PlayMain.h"

#include <QApplication>
#include <iostream>

#include "app/AppObjectFactory.h"
#include "app/FrozenSheet.h"
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

void wirePlayer(core::Context& ctx, player::PlayerSeams& seams, std::unique_ptr<player::ObjectOpener>& opener,
                PlayerPrinter& printer) {
    seams.actions.showObject = [&](const player::PresentationFile& file, const player::PresentationLine& line) {
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

    // Made on first use; its folder of copies goes when the player ends.
    std::unique_ptr<player::ObjectOpener> opener;
    PlayerPrinter printer(ctx, path);
    player::PlayerSeams seams;
    wirePlayer(ctx, seams, opener, printer);
    try {
        player::PlayPresentation(ctx, path, seams);
    } catch (const automation::AutomationError& error) {
        opener.reset();
        std::cerr << "Tavolex: " << error.description() << "\n";
        windows.msgBox("Error!!!!\r" + error.description());
        return kNotPlayed;
    }
    return 0;
}

}  // namespace app
