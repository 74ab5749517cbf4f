// Whether the user may remove the program file, and the helper that removes
// it a second after the program ended.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/ProgramRemoval.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

fs::path script(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, fs::perms::owner_all);
    return path;
}

TEST(ProgramRemoval, APackagesOrASystemFolderFileIsNotTheUsersToRemove) {
    testsupport::TempFolder temp("tavolex-removal");
    const fs::path program = temp.path() / "Tavolex";
    std::ofstream(program) << "x";
    const fs::path owned = script(temp.path() / "dpkg owns", "echo \"tavolex, tavolex-data: $2\"\n");
    const fs::path unowned = script(temp.path() / "dpkg owns nothing", "echo \"dpkg-query: no path found\" >&2\nexit 1\n");

    auto mine = platform::CheckProgramRemoval(program.string(), unowned.string());
    EXPECT_TRUE(mine.allowed);
    EXPECT_EQ(mine.package, "");
    auto packaged = platform::CheckProgramRemoval(program.string(), owned.string());
    EXPECT_FALSE(packaged.allowed);
    EXPECT_EQ(packaged.package, "tavolex");
    EXPECT_FALSE(platform::CheckProgramRemoval("/usr/local/bin/tavolex", unowned.string()).allowed);
    EXPECT_FALSE(platform::CheckProgramRemoval("/opt/tavolex/Tavolex", unowned.string()).allowed);
    EXPECT_TRUE(platform::CheckProgramRemoval(program.string(), "/nonexistent/dpkg").allowed) << "no dpkg: no package";
}

TEST(ProgramRemoval, AFileInAFolderTheUserMayNotChangeStays) {
    // Root may change every folder: the check runs as an ordinary user.
    testsupport::TempFolder temp("tavolex-removal");
    const fs::path folder = temp.path() / "shared";
    fs::create_directory(folder);
    std::ofstream(folder / "Tavolex") << "x";
    fs::permissions(temp.path(), fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    fs::permissions(folder, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        _exit(platform::CheckProgramRemoval((folder / "Tavolex").string(), "/nonexistent/dpkg").allowed ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: allowed, 2: cannot drop privileges";
}

TEST(ProgramRemoval, TheFileGoesASecondAfterTheProgramEndedAndNothingElse) {
    testsupport::TempFolder temp("tavolex-removal");
    const fs::path program = temp.path() / "Tavolex copy";
    const fs::path neighbour = temp.path() / "BasePresentation - 1.xls";
    std::ofstream(program) << "x";
    std::ofstream(neighbour) << "x";

    // The "program": starts the helper, lives on for a while, ends.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            platform::StartDeletionAfterExit(program.string(), 1000);
        } catch (...) {
            _exit(2);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        _exit(0);
    }
    const auto started = Clock::now();
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const auto ended = Clock::now();
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GE(ended - started, std::chrono::milliseconds(350));
    EXPECT_TRUE(fs::exists(program)) << "not while the program runs";
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_TRUE(fs::exists(program)) << "not before the second is over";
    for (int k = 0; k < 50 && fs::exists(program); ++k) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(fs::exists(program));
    EXPECT_LT(Clock::now() - ended, std::chrono::milliseconds(3000));
    EXPECT_TRUE(fs::exists(neighbour));
}

}  // namespace
