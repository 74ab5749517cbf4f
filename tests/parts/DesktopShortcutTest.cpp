// The desktop launcher of the first run: its fields and messages against a
// recording platform, and the whole first run on the real Linux platform,
// chooser and launcher, back to start-up's reading of the argument.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "PartsFixture.h"
#include "platform/LinuxPlatform.h"
#include "startup/DesktopShortcut.h"
#include "startup/Form1.h"
#include "startup/StartArgument.h"
#include "startup/Startup.h"

namespace {

namespace fs = std::filesystem;

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_.c_str(), old_->c_str(), 1);
        else unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

class DesktopShortcutTest : public partstest::PartsTest {
protected:
    DesktopShortcutTest() { windows.autoAcknowledge = true; }
};

TEST_F(DesktopShortcutTest, TheLauncherStartsThisProgramWithTheFolderAndSaysSo) {
    platform.programFolder = "/home/anna/bin";
    platform.desktopFolder = "/home/anna/Scrivania/";
    startup::CreateDesktopShortcut(ctx, "Tavolex 1.1", "/home/anna/Präsentationen/Neu");
    ASSERT_EQ(platform.shortcuts.size(), 1u);
    const automation::Shortcut& made = platform.shortcuts[0];
    EXPECT_EQ(made.linkPath, "/home/anna/Scrivania/Tavolex 1.1.desktop");
    EXPECT_EQ(made.name, "Tavolex 1.1");
    EXPECT_EQ(made.targetPath, "/home/anna/bin/Tavolex");
    EXPECT_EQ(made.arguments, "/home/anna/Präsentationen/Neu") << "unchanged, no language suffix";
    EXPECT_EQ(made.workingDirectory, "/home/anna/bin");
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"The ShortCut:\nTavolex 1.1\n\nhas been created on DeskTop!"}));
    // Beside it, the player's entry for "Open with" on Excel 97-2003 files.
    ASSERT_EQ(platform.fileHandlers.size(), 1u);
    const automation::FileHandlerEntry& player = platform.fileHandlers[0];
    EXPECT_EQ(player.entryPath, "/tmp/applications/tavolex-player.desktop");
    EXPECT_EQ(player.name, "Tavolex Player");
    EXPECT_EQ(player.targetPath, "/home/anna/bin/Tavolex");
    EXPECT_EQ(player.arguments, std::vector<std::string>{"--play"});
    EXPECT_EQ(player.mimeTypes, std::vector<std::string>{"application/vnd.ms-excel"});

    // A "|" in the folder would be read as the start of a language code.
    startup::CreateDesktopShortcut(ctx, "Tavolex 1.1", "/data/a|b/");
    EXPECT_EQ(platform.shortcuts.back().arguments, "/data/a|b/|E");
    EXPECT_EQ(startup::ParseArgument(platform.shortcuts.back().arguments).folder, "/data/a|b/");
}

TEST_F(DesktopShortcutTest, EveryFailureIsToldAndNothingSaysCreated) {
    struct Failing : partstest::TestPlatform {
        bool programFails = false, desktopFails = false;
        std::string ProgramFolder() override {
            if (programFails) throw automation::AutomationError(75, "Path/File access error");
            return "/opt/t";
        }
        std::string DesktopFolder() override {
            if (desktopFails) throw automation::AutomationError(75, "Path/File access error");
            return "/home/anna/Desktop";
        }
    } failing;
    core::Context c(objects, failing, windows);
    failing.programFails = true;
    startup::CreateDesktopShortcut(c, "Tavolex 1.1", "/data");
    failing.programFails = false;
    failing.desktopFails = true;
    startup::CreateDesktopShortcut(c, "Tavolex 1.1", "/data");
    failing.desktopFails = false;
    failing.shortcutFails = automation::AutomationError(70, "Permission denied");
    startup::CreateDesktopShortcut(c, "Tavolex 1.1", "/data");
    EXPECT_EQ(windows.messages(),
              (std::vector<std::string>{
                  "Error opening 'App Object'.\rImpossible to create the ShortCut!",
                  "Error opening 'WScript.Shell'.\rImpossible to create the ShortCut!",
                  "Impossible to create the ShortCut!\r/home/anna/Desktop/Tavolex 1.1.desktop\r70    Permission denied"}));
    EXPECT_TRUE(failing.shortcuts.empty());
}

TEST_F(DesktopShortcutTest, APlayerEntryThatCannotBeWrittenIsToldAndTheLauncherStillComes) {
    platform.fileHandlerFails = automation::AutomationError(70, "Permission denied");
    startup::CreateDesktopShortcut(ctx, "Tavolex 1.1", "/data");
    EXPECT_EQ(windows.messages(),
              (std::vector<std::string>{"The entry 'Tavolex Player' for opening Presentations could not be written:\r"
                                        "/tmp/applications/tavolex-player.desktop\r70    Permission denied",
                                        "The ShortCut:\nTavolex 1.1\n\nhas been created on DeskTop!"}));
    EXPECT_EQ(platform.shortcuts.size(), 1u);
}

// The first run as a user lives it: Yes, the chooser on the home drive, a
// folder with spaces, quotes, "$", "%" and non-ASCII letters, Select; twice.
TEST_F(DesktopShortcutTest, TwoFirstRunsGiveOneLauncherWhoseFolderComesBackToStartUp) {
    const fs::path home = folder.path() / "home";
    const fs::path desktop = home / "Desktop";
    const fs::path chosen = home / "Präsentation 'Q1' \"x\" $HOME %d";
    fs::create_directories(desktop);
    fs::create_directories(chosen);
    ScopedEnv homeEnv("HOME", home.c_str());
    ScopedEnv desktopEnv("XDG_DESKTOP_DIR", desktop.c_str());
    ScopedEnv session("XDG_CURRENT_DESKTOP", nullptr);
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    platform::LinuxPlatform linux("/bin/true", "/nonexistent/xdg-user-dir");
    core::Context run(objects, linux, windows);
    run.seams.showFolderChooser = [](core::Context& c) { startup::ShowChooser(c); };
    run.seams.createDesktopShortcut = startup::CreateDesktopShortcut;

    for (int time = 1; time <= 2; ++time) {
        SCOPED_TRACE(time);
        windows.boxes.clear();
        windows.answer(ui::Answer::Yes);  // make the shortcut
        windows.act([&](ui::Form& form) {
            auto& chooser = static_cast<startup::Form1&>(form);
            chooser.Drive1.userSelect(chooser.Drive1.driveIndexOf(home.string()));
            EXPECT_EQ(chooser.Dir1.Path(), home.string());
            chooser.Dir1.userSelect(chooser.Dir1.indexOfPath(chosen.string()));
        });
        windows.click("Command1");
        startup::Run(run, "");  // the help window closes when no steps are left
        EXPECT_EQ(windows.messages().back(), "The ShortCut:\nTavolex 1.1\n\nhas been created on DeskTop!");
        EXPECT_EQ(windows.formsShown.back(), "UserForm1") << "the help window ends the first run";
    }

    std::vector<fs::path> onDesktop(fs::directory_iterator(desktop), fs::directory_iterator{});
    ASSERT_EQ(onDesktop.size(), 1u);
    EXPECT_EQ(onDesktop[0].filename(), "Tavolex 1.1.desktop");
    const auto keys = testsupport::readDesktopEntry(onDesktop[0]);
    const auto argv = testsupport::parseExecLine(keys.at("Exec"));
    ASSERT_EQ(argv.size(), 2u);
    EXPECT_EQ(argv[0], linux.ProgramFolder() + "/" + linux.ProgramFileName());
    EXPECT_EQ(keys.at("Path"), linux.ProgramFolder());

    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    const startup::StartArgument back = startup::ParseArgument(startup::JoinArguments(static_cast<int>(args.size()), args.data()));
    EXPECT_EQ(back.folder, chosen.string() + "/");
    EXPECT_EQ(back.languageCode, "E");
    EXPECT_FALSE(back.firstRun);

    // The player's entry, once, in the default applications folder; no
    // default program is set for any kind of file.
    const fs::path applications = home / ".local/share/applications";
    const auto player = testsupport::readDesktopEntry(applications / "tavolex-player.desktop");
    EXPECT_EQ(testsupport::parseExecLine(player.at("Exec")),
              (std::vector<std::string>{argv[0], "--play", "%f"}));
    EXPECT_EQ(player.at("MimeType"), "application/vnd.ms-excel;");
    for (const auto& entry : fs::recursive_directory_iterator(home))
        EXPECT_NE(entry.path().filename(), "mimeapps.list") << entry.path();
}

}  // namespace
