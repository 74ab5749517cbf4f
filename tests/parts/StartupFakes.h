#pragma once
// What start-up tests wire around the program: the real file system on
// temporary folders, fakes for the object factory and the platform, the
// scripted window system, and seams that record their calls.
#include <stdexcept>
#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "core/Context.h"
#include "platform/LinuxFileSystem.h"
#include "ui/scripted/ScriptedWindowSystem.h"

namespace startuptest {

struct FakeObjects : automation::ObjectFactory {
    bool fileSystemFails = false;
    bool fileSystemMissing = false;
    int excelRequests = 0;

    std::shared_ptr<automation::excel::Application> CreateExcel() override {
        ++excelRequests;
        throw automation::AutomationError(automation::errnum::kCannotCreateObject,
                                          "ActiveX component can't create object");
    }
    std::shared_ptr<automation::FileSystem> CreateFileSystem() override {
        if (fileSystemFails)
            throw automation::AutomationError(automation::errnum::kCannotCreateObject,
                                              "ActiveX component can't create object");
        if (fileSystemMissing) return nullptr;
        return std::make_shared<platform::LinuxFileSystem>();
    }
};

struct FakePlatform : automation::Platform {
    std::string programFolder = "/opt/tavolex";
    bool programFolderFails = false;

    std::string ProgramFolder() override {
        if (programFolderFails) throw automation::AutomationError(automation::errnum::kPathFileAccess, "Path/File access error");
        return programFolder;
    }
    std::string ProgramFileName() override { return "Tavolex"; }
    std::string DesktopFolder() override { return "/home/anna/Desktop"; }
    void OpenWithAssociatedProgram(const std::string&) override {
        throw std::logic_error("start-up opens no file");
    }
    void SleepMilliseconds(long) override {}
};

// One start of the program, with every seam recording into `calls`.
struct StartupHarness {
    FakeObjects objects;
    FakePlatform platform;
    ui::ScriptedWindowSystem windows;
    core::Context ctx{objects, platform, windows};
    std::vector<std::string> calls;
    // What the chooser hands back; empty: the user left it by Exit.
    std::string chooserAnswer;
    // Settings as the chooser saw them when it opened.
    core::AppState stateSeenByChooser;

    StartupHarness() {
        ctx.seams.showMainWindow = [this](core::Context& c) { calls.push_back("main window " + c.state.DataFolder); };
        ctx.seams.showFolderChooser = [this](core::Context& c) {
            calls.push_back("chooser");
            stateSeenByChooser = c.state;
            c.state.ChooserResult = chooserAnswer;
        };
        ctx.seams.createDesktopShortcut = [this](core::Context&, const std::string& name, const std::string& folder) {
            calls.push_back("shortcut " + name + " -> " + folder);
        };
        ctx.seams.showLineEditor = [this](core::Context&) { calls.push_back("line editor"); };
    }

    // A step for the help window: records that it opened and with which text.
    void expectHelpWindow() {
        windows.act([this](ui::Form& form) {
            auto* text = dynamic_cast<ui::TextBox*>(form.findControl("TextBox1"));
            calls.push_back("help " + form.name() + ": " + (text ? text->text().substr(0, text->text().find('\r')) : "?"));
            form.userClose();
        });
    }
};

}  // namespace startuptest
