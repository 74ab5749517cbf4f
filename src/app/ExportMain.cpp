#include "app/ExportMain.h"

#include <QApplication>
#include <exception>
#include <iostream>

#include "app/AppObjectFactory.h"
#include "app/LinePdfMaking.h"
#include "app/SheetPdfWriting.h"
#include "core/Context.h"
#include "platform/LinuxPlatform.h"
#include "player/PresentationExport.h"
#include "store/BaseWorkbook.h"
#include "ui/console/ConsoleWindowSystem.h"

namespace app {

bool IsExportRequest(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments)
        if (argument == "--export-pdf") return !arguments.empty() && arguments.front() == "--play";
    return false;
}

int RunExport(const std::vector<std::string>& arguments) {
    if (arguments.size() != 4 || arguments[2] != "--export-pdf") {
        std::cerr << "Tavolex: Usage: Tavolex --play \"<Presentation>.xls\" --export-pdf OUT.pdf\n";
        return player::kExportNothing;
    }
    // Sheets are painted with Qt's fonts, which need an application object;
    // without a display it runs on the offscreen platform.
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!display && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char name[] = "Tavolex";
    static char* qtArgv[] = {name, nullptr};
    QApplication application(qtArgc, qtArgv);

    // Boxes a part may show go to standard error, beside the export's own report.
    ui::ConsoleWindowSystem console(std::cerr);
    platform::LinuxPlatform platform;
    AppObjectFactory objects;
    core::Context ctx(objects, platform, console);
    store::InitFixedSettings(ctx.state);
    ctx.state.FileSystem = objects.CreateFileSystem();
    try {
        auto lines = MakeLinePdfMaker(ctx);
        return player::ExportPresentationPdf(ctx, arguments[1], arguments[3], MakeSheetPdfWriter(), *lines, std::cerr);
    } catch (const std::exception& failure) {
        std::cerr << "Tavolex: " << failure.what() << "\n";
        return player::kExportNothing;
    }
}

}  // namespace app
