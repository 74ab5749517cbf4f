#pragma once
// Everything a part of the program needs: the process-wide values, the
// services it calls through their surfaces, and the entry points of windows
// that other parts provide.
#include <functional>
#include <string>

#include "automation/ObjectFactory.h"
#include "automation/WindowsServices.h"
#include "core/AppState.h"
#include "ui/model/WindowSystem.h"

namespace core {

struct Context;

// Windows and actions owned by parts that are wired by the program's entry;
// tests replace them to watch the calls.
struct Seams {
    // Shows the main window; returns when the program's windows are all closed.
    std::function<void(Context&)> showMainWindow;
    // Shows the chooser window modally; it leaves its answer in ChooserResult.
    std::function<void(Context&)> showFolderChooser;
    // Writes the desktop launcher `name` for the data folder `folder`.
    std::function<void(Context&, const std::string& name, const std::string& folder)> createDesktopShortcut;
    // Shows the line editor for SelectedGroup and GroupEditMode; returns when it closes.
    std::function<void(Context&)> showLineEditor;
};

struct Context {
    Context(automation::ObjectFactory& objects, automation::Platform& platform, ui::WindowSystem& windows)
        : objects(objects), platform(platform), windows(windows) {}

    AppState state;
    automation::ObjectFactory& objects;
    automation::Platform& platform;
    ui::WindowSystem& windows;
    Seams seams;

    // An OK box with the program's name as title.
    void msgBox(const std::string& text) { windows.msgBox(text); }
    // The English or Italian text by the language code.
    std::string tr(const std::string& english, const std::string& italian) const {
        return state.text(english, italian);
    }
};

}  // namespace core
