// The program's entry: wires the office engine, the Linux services and the Qt
// windows to the parts, and runs start-up until the program ends.
#include <QApplication>
#include <cstdio>
#include <exception>

#include "app/AppObjectFactory.h"
#include "app/BatchMain.h"
#include "app/ExportMain.h"
#include "app/PlayMain.h"
#include "builder/BatchBuild.h"
#include "core/Context.h"
#include "core/ProgramEnd.h"
#include "groups/MainWindow.h"
#include "lines/Us_Menu.h"
#include "platform/LinuxPlatform.h"
#include "office/io/FreshMemory.h"
#include "platform/ProcessMemory.h"
#include "startup/Form1.h"
#include "startup/DesktopShortcut.h"
#include "startup/StartArgument.h"
#include "startup/Startup.h"
#include "ui/qt/QtWindowSystem.h"

namespace {

void wireSeams(core::Context& ctx) {
    ctx.seams.showMainWindow = groups::RunMainWindow;
    ctx.seams.showFolderChooser = [](core::Context& c) { startup::ShowChooser(c); };
    ctx.seams.createDesktopShortcut = startup::CreateDesktopShortcut;
    ctx.seams.showLineEditor = lines::ShowLineEditor;
}

}  // namespace

int main(int argc, char** argv) {
    platform::KeepFreedMemoryForReuse();
    office::io::setHeapPreparer([](std::size_t bytes) { platform::PrefaultHeap(bytes); });
    // The batch build needs no display: it runs before any window system exists.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (builder::IsBatchRequest(arguments)) return app::RunBatch(arguments);
    if (app::IsExportRequest(arguments)) return app::RunExport(arguments);
    if (app::IsPlayRequest(arguments)) return app::RunPlay(argc, argv);

    // Taken before Qt sees the command line: Qt would remove options of its
    // own ("-style ...") from it, and the argument is a folder, kept whole.
    // The shell has split the argument at spaces and removed its quotes: the
    // pieces are joined again, so a folder with spaces arrives whole.
    const std::string argument = startup::JoinArguments(argc, argv);
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavolex"));
    QApplication::setQuitOnLastWindowClosed(false);  // the parts decide when the program ends

    ui::qt::QtWindowSystem windows;
    platform::LinuxPlatform platform;
    app::AppObjectFactory objects;
    core::Context ctx(objects, platform, windows);
    wireSeams(ctx);

    try {
        startup::Run(ctx, argument);
    } catch (const core::ProgramEnded&) {
        // Start-up ends on this itself; nothing more to do if it came through.
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Tavolex: %s\n", error.what());
        return 1;
    }
    return 0;
}
