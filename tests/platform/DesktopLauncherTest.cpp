// The desktop launcher on Linux: the Exec line hands the program back every
// folder name exactly, the file is replaced whole, and what is written is a
// Desktop Entry.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
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

TEST(DesktopLauncher, ThePlayersEntryOffersTheProgramForItsKindsAndPassesTheValidator) {
    testsupport::TempFolder temp("tavolex-applications");
    const fs::path folder = temp.path() / "share" / "applications";  // made on the way
    automation::FileHandlerEntry entry{(folder / "tavolex-player.desktop").string(), "Tavolex Player",
                                       "/home/anna/my \"programs\"/Tavolex", {"--play"},
                                       {"application/vnd.ms-excel"}};
    for (int time = 1; time <= 2; ++time) platform::WriteFileHandler(entry, "/nonexistent/update-desktop-database");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "replaced, nothing beside";
    const auto keys = testsupport::readDesktopEntry(entry.entryPath);
    EXPECT_EQ(keys.at("Name"), "Tavolex Player");
    EXPECT_EQ(keys.at("MimeType"), "application/vnd.ms-excel;");
    EXPECT_EQ(keys.at("NoDisplay"), "true");
    EXPECT_EQ(testsupport::parseExecLine(keys.at("Exec")),
              (std::vector<std::string>{"/home/anna/my \"programs\"/Tavolex", "--play", "%f"}));
    struct stat info {};
    ASSERT_EQ(stat(entry.entryPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);

    if (std::system("command -v desktop-file-validate > /dev/null") != 0) GTEST_SKIP() << "no desktop-file-validate";
    const std::string validate = "desktop-file-validate '" + entry.entryPath + "' > '" +
                                 (temp.path() / "validate.log").string() + "' 2>&1";
    EXPECT_EQ(std::system(validate.c_str()), 0) << std::ifstream(temp.path() / "validate.log").rdbuf();
}

}  // namespace
