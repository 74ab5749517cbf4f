#pragma once
// A program context on a temporary data folder, wired to the real office
// engine, the real file system and the scripted window system, plus ways to
// fill the DATA sheet of its base workbook and read it back.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "core/Context.h"
#include "office/engine/WorkbookCore.h"
#include "support/TestSupport.h"
#include "ui/scripted/ScriptedWindowSystem.h"

namespace partstest {

// Creates Excel instances from the engine (or fails to, when told) and file
// system objects from the platform layer.
class TestObjectFactory : public automation::ObjectFactory {
public:
    std::shared_ptr<automation::excel::Application> CreateExcel() override;
    std::shared_ptr<automation::FileSystem> CreateFileSystem() override;
    // Word and PowerPoint of the engine; a test may hand out its own Word.
    std::shared_ptr<automation::word::Application> CreateWord() override;
    std::shared_ptr<automation::powerpoint::Presentation> GetPresentation(const std::string& fileName) override;
    std::function<std::shared_ptr<automation::word::Application>()> makeWord;
    // Whether every Excel and Word instance handed out has been quit and
    // every presentation closed.
    bool everythingClosed() const;
    bool excelMissing = false;
    // Short, so that tests of a busy store do not wait the program's seconds.
    std::chrono::milliseconds lockWait{300};
    int excelInstancesCreated = 0;
    // How the instances draw chart pictures; none draws them when empty.
    office::engine::ChartDrawer drawChart;
    // Every instance handed out, kept alive so tests can check it was quit.
    std::vector<std::shared_ptr<automation::excel::Application>> instances;
    std::vector<std::shared_ptr<automation::word::Application>> wordInstances;
    std::vector<std::shared_ptr<automation::powerpoint::Presentation>> presentations;
};

// Platform services that never touch the desktop. Folders are listed from
// the real file system, except those a test declares unreadable; the drive
// list is the test's.
class TestPlatform : public automation::Platform {
public:
    std::string ProgramFolder() override { return programFolder; }
    std::string ProgramFileName() override { return "Tavolex"; }
    std::string DesktopFolder() override { return desktopFolder; }
    void OpenWithAssociatedProgram(const std::string& path) override {
        if (openFails) throw *openFails;
        opened.push_back(path);
    }
    void SleepMilliseconds(long) override {}
    std::vector<automation::DriveInfo> ListDrives() override { return drives; }
    void SaveShortcut(const automation::Shortcut& shortcut) override {
        if (shortcutFails) throw *shortcutFails;
        shortcuts.push_back(shortcut);
    }
    std::string ApplicationsFolder() override { return applicationsFolder; }
    void SaveFileHandler(const automation::FileHandlerEntry& entry) override {
        if (fileHandlerFails) throw *fileHandlerFails;
        fileHandlers.push_back(entry);
    }
    void StartProgram(const std::vector<std::string>& arguments) override {
        if (startFails) throw *startFails;
        started.push_back(arguments);
    }
    automation::RemovalCheck ProgramRemoval(const std::string&) override { return removal; }
    void DeleteAfterExit(const std::string& path, long delayMilliseconds) override {
        deletions.push_back(path + " after " + std::to_string(delayMilliseconds) + " ms");
    }
    std::vector<std::string> ListSubfolders(const std::string& folder) override;
    std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) override;

    std::string programFolder = "/opt/tavolex";
    std::string desktopFolder = "/tmp/desktop";
    std::vector<std::string> opened;
    std::optional<automation::AutomationError> openFails;  // what opening a file raises instead
    std::vector<automation::DriveInfo> drives{{"/", "", automation::DriveInfo::Kind::Root}};
    // Folders (without final "/") whose listing fails with this error.
    std::map<std::string, automation::AutomationError> unreadable;
    // Folders listed, in order.
    std::vector<std::string> listed;
    // Launchers written, and the error writing one raises instead.
    std::vector<automation::Shortcut> shortcuts;
    std::optional<automation::AutomationError> shortcutFails;
    automation::RemovalCheck removal;
    // Entries among the user's applications written, and the error writing one raises instead.
    std::string applicationsFolder = "/tmp/applications";
    std::vector<automation::FileHandlerEntry> fileHandlers;
    std::optional<automation::AutomationError> fileHandlerFails;
    // Programs started, and the error starting one raises instead.
    std::vector<std::vector<std::string>> started;
    std::optional<automation::AutomationError> startFails;
    // Deletions handed to the helper: "path after N ms".
    std::vector<std::string> deletions;
};

// One line row of the DATA sheet, columns A to K as written.
struct Row {
    automation::Variant id = {};
    std::string group = {};
    std::string exclusion = {};
    std::string description = {};
    std::string fileName = {};
    std::string inputSheet = {};
    std::string outputSheet = {};
    std::string objectName = {};
    automation::Variant firstPage = {};
    automation::Variant lastPage = {};
    automation::Variant sort = {};
};

class PartsTest : public ::testing::Test {
protected:
    PartsTest();

    // A base workbook made by the program's own creation step, with `rows`
    // written below the header row.
    void makeBaseWorkbook(const std::vector<Row>& rows = {});
    // All rows of DATA from row 2 up to the first empty id, columns A to K as text.
    std::vector<std::vector<std::string>> readDataRows();
    std::string basePath() const;

    testsupport::TempFolder folder{"tavolex-parts"};
    TestObjectFactory objects;
    TestPlatform platform;
    ui::ScriptedWindowSystem windows;
    core::Context ctx{objects, platform, windows};
};

}  // namespace partstest
