#include "render/GuiApplication.h"

#include <QApplication>

#include "automation/AutomationError.h"

namespace render {

void ensureGuiApplication() {
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        if (qobject_cast<QApplication*>(existing)) return;
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "Pictures cannot be drawn: the program has no widget application.");
    }
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!display && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt keeps argc by reference for the life of the application object.
    static int argc = 1;
    static char name[] = "tavolex";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // kept until the process ends: Qt objects may outlive any scope here
}

}  // namespace render
