// The desktop launcher on Linux: the Exec line hands the program back every
// folder name exactly, the file is replaced whole, and what is written is a
// Desktop Entry.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "automation/AutomationError.h"
#include "platform/DesktopLauncher.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

TEST(DesktopLauncher, EveryFolderNameComesBackFromTheExecLine) {
    const std::string folders[] = {
        "/home/anna/Präsentation 2026/",
        "/data/it's \"quoted\"",
        "/data/$HOME `date` $(rm -rf x)",
        "/data/100% %f %u %%",
        "/data/back\\slash\\\\double",
        "/data/tab\there",
        "/data/new\nline",
        " /leading space",
        "/data/semi;colon & amp | pipe > < * ? # ~ ( )",
    };
    for (const std::string& folder : folders) {
        const std::string exec = platform::ExecArgument("/opt/my programs/Tavolex") + " " + platform::ExecArgument(folder);
        EXPECT_EQ(exec.find('\n'), std::string::npos) << "one line";
        EXPECT_EQ(testsupport::parseExecLine(exec), (std::vector<std::string>{"/opt/my programs/Tavolex", folder}))
            << "Exec=" << exec;
    }
}

TEST(DesktopLauncher, TheFileIsAnApplicationLauncherWithTheShortcutsFields) {
    testsupport::TempFolder temp("tavolex-launcher");
    automation::Shortcut shortcut{(temp.path() / "Tavolex 1.1.desktop").string(), "Tavolex 1.1",
                                  "/opt/tavolex/Tavolex", "/home/anna/Präsentationen", "/opt/tavolex"};
    platform::WriteLauncher(shortcut, "/nonexistent/gio");
    const auto keys = testsupport::readDesktopEntry(shortcut.linkPath);
    EXPECT_EQ(keys.at("Type"), "Application");
    EXPECT_EQ(keys.at("Name"), "Tavolex 1.1");
    EXPECT_EQ(keys.at("Path"), "/opt/tavolex");
    EXPECT_EQ(keys.at("Terminal"), "false");
    EXPECT_EQ(testsupport::parseExecLine(keys.at("Exec")),
              (std::vector<std::string>{"/opt/tavolex/Tavolex", "/home/anna/Präsentationen"}));
    struct stat info {};
    ASSERT_EQ(stat(shortcut.linkPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755u) << "executable, as desktops ask of launchers";
}

TEST(DesktopLauncher, AnEarlierLauncherIsReplacedWholeAndNothingIsLeftBeside) {
    testsupport::TempFolder temp("tavolex-launcher");
    automation::Shortcut shortcut{(temp.path() / "Tavolex 1.1.desktop").string(), "Tavolex 1.1", "/opt/t/Tavolex",
                                  "/first", "/opt/t"};
    platform::WriteLauncher(shortcut, "/nonexistent/gio");
    shortcut.arguments = "/second";
    platform::WriteLauncher(shortcut, "/nonexistent/gio");
    EXPECT_EQ(testsupport::parseExecLine(testsupport::readDesktopEntry(shortcut.linkPath).at("Exec")).at(1), "/second");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);

    // A desktop folder that is not there: the error, and nothing written.
    shortcut.linkPath = (temp.path() / "gone" / "Tavolex 1.1.desktop").string();
    try {
        platform::WriteLauncher(shortcut, "/nonexistent/gio");
        ADD_FAILURE();
    } catch (const automation::AutomationError& error) {
        EXPECT_EQ(error.number(), 76);
    }
}

}  // namespace
