// The program's path, the desktop folder and opening files, with fake
// programs standing in for xdg-open and xdg-user-dir: the real opener never
// runs in a test.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "automation/AutomationError.h"
#include "platform/ChildProcess.h"
#include "platform/LinuxPlatform.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// Sets or clears an environment variable for one test.
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

std::string Quoted(const fs::path& path) {
    std::string quoted = "'";
    for (char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

fs::path WriteScript(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, fs::perms::owner_all);
    return path;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits for a detached program's file, up to ten seconds; false if it never came.
bool WaitForFile(const fs::path& path) {
    for (int i = 0; i < 1000; ++i) {
        if (fs::exists(path)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

class LinuxPlatformTest : public ::testing::Test {
protected:
    testsupport::TempFolder temp{"tavolex-platform"};
    fs::path at(const std::string& name) const { return temp.path() / name; }

    // An opener that records its arguments and the files it holds open,
    // then stays running until the test releases it.
    fs::path FakeOpener() {
        fs::create_directory(at("fake bin"));
        std::string log = Quoted(at("calls.log"));
        return WriteScript(at("fake bin") / "open file", 
            "{ echo \"$#\"; printf '%s\\n' \"$1\"; for fd in /proc/$$/fd/*; do readlink \"$fd\"; done; } > " + log + ".tmp\n"
            "mv " + log + ".tmp " + log + "\n"
            "i=0\n"
            "while [ ! -e " + Quoted(at("release")) + " ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
            "if [ -e " + Quoted(at("release")) + " ]; then echo released; else echo timeout; fi > " + Quoted(at("finished")) + "\n");
    }
};

TEST_F(LinuxPlatformTest, ProgramFolderAndFileNameNameTheRunningProgram) {
    platform::LinuxPlatform linux("/bin/false");
    std::string folder = linux.ProgramFolder();
    // The name the test program was started by, as the C library keeps it.
    EXPECT_EQ(linux.ProgramFileName(), program_invocation_short_name);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(fs::is_regular_file(fs::path(folder) / linux.ProgramFileName()));
}

TEST_F(LinuxPlatformTest, DesktopFolderPrefersTheEnvironment) {
    const std::string anna = at("anna").string();
    fs::create_directories(at("anna") / "Scrivania");
    fs::create_directories(at("anna") / "Arbeitsfläche");
    ScopedEnv home("HOME", anna.c_str());
    platform::LinuxPlatform linux("/bin/false", "/nonexistent/xdg-user-dir");
    {
        ScopedEnv desktop("XDG_DESKTOP_DIR", (anna + "/Scrivania/").c_str());
        EXPECT_EQ(linux.DesktopFolder(), anna + "/Scrivania");
    }
    {
        ScopedEnv desktop("XDG_DESKTOP_DIR", "$HOME/Arbeitsfläche");
        EXPECT_EQ(linux.DesktopFolder(), anna + "/Arbeitsfläche");
    }
}

TEST_F(LinuxPlatformTest, DesktopFolderAsksTheUserDirsTool) {
    const std::string anna = at("anna").string();
    fs::create_directories(at("anna") / "Mein Desktop");
    ScopedEnv desktop("XDG_DESKTOP_DIR", nullptr);
    ScopedEnv home("HOME", anna.c_str());
    fs::path tool = WriteScript(at("user dir tool"),
                                "[ \"$1\" = DESKTOP ] || exit 3\nprintf '%s\\n' \"$HOME/Mein Desktop\"\n");
    EXPECT_EQ(platform::LinuxPlatform("/bin/false", tool.string()).DesktopFolder(), anna + "/Mein Desktop");
}

TEST_F(LinuxPlatformTest, DesktopFolderFallsBackToHomeDesktopThenHome) {
    const std::string anna = at("anna").string();
    fs::create_directories(at("anna") / "Desktop");
    ScopedEnv desktop("XDG_DESKTOP_DIR", "");
    ScopedEnv home("HOME", (anna + "/").c_str());
    fs::path failing = WriteScript(at("failing tool"), "echo /somewhere\nexit 1\n");
    fs::path relative = WriteScript(at("relative tool"), "echo Desktop\n");
    EXPECT_EQ(platform::LinuxPlatform("/bin/false", "/nonexistent/tool").DesktopFolder(), anna + "/Desktop");
    EXPECT_EQ(platform::LinuxPlatform("/bin/false", failing.string()).DesktopFolder(), anna + "/Desktop");
    EXPECT_EQ(platform::LinuxPlatform("/bin/false", relative.string()).DesktopFolder(), anna + "/Desktop");
    // No desktop folder at all (a desktop that shows none): the home folder.
    fs::remove(at("anna") / "Desktop");
    EXPECT_EQ(platform::LinuxPlatform("/bin/false", "/nonexistent/tool").DesktopFolder(), anna);
    ScopedEnv configured("XDG_DESKTOP_DIR", "$HOME/Gone");
    EXPECT_EQ(platform::LinuxPlatform("/bin/false", "/nonexistent/tool").DesktopFolder(), anna);
}

TEST_F(LinuxPlatformTest, OpenerGetsThePathAsOneUntouchedArgumentAndIsNotWaitedFor) {
    fs::path opener = FakeOpener();
    fs::create_directory(at("Präsentation 2026"));
    std::string document = (at("Präsentation 2026") / "Budget $(touch pwned); 'q' \"x\".xls").string();
    int heldOpen = open(at("held.lock").c_str(), O_CREAT | O_WRONLY, 0600);  // no close-on-exec
    ASSERT_GE(heldOpen, 0);

    platform::LinuxPlatform(opener.string()).OpenWithAssociatedProgram(document);
    close(heldOpen);

    ASSERT_TRUE(WaitForFile(at("calls.log")));
    // The call returned while the opener still waits for its release.
    EXPECT_FALSE(fs::exists(at("finished")));
    std::string log = ReadFile(at("calls.log"));
    EXPECT_EQ(log.substr(0, log.find('\n', 2) + 1), "1\n" + document + "\n");
    EXPECT_EQ(log.find("held.lock"), std::string::npos) << log;
    EXPECT_FALSE(fs::exists("pwned"));
    EXPECT_FALSE(fs::exists(at("Präsentation 2026") / "pwned"));

    std::ofstream(at("release")) << "go";
    ASSERT_TRUE(WaitForFile(at("finished")));
    EXPECT_EQ(ReadFile(at("finished")), "released\n");
}

TEST_F(LinuxPlatformTest, OpenerComesFromTheEnvironmentWhenNotGiven) {
    {
        ScopedEnv command("TAVOLEX_OPEN_COMMAND", "/opt/fake/opener");
        EXPECT_EQ(platform::LinuxPlatform().openCommand(), "/opt/fake/opener");
    }
    ScopedEnv command("TAVOLEX_OPEN_COMMAND", nullptr);
    EXPECT_EQ(platform::LinuxPlatform().openCommand(), "xdg-open");
}

TEST_F(LinuxPlatformTest, MissingOpenerIsSilent) {
    EXPECT_NO_THROW(platform::LinuxPlatform("/nonexistent/opener").OpenWithAssociatedProgram("/tmp/x.xls"));
}

TEST(ChildProcess, StartDetachedTellsWhetherTheProgramStartedAndLeavesNoChild) {
    EXPECT_TRUE(platform::StartDetached({"sleep", "0.2"}));
    EXPECT_FALSE(platform::StartDetached({"/nonexistent/program"}));
    EXPECT_FALSE(platform::StartDetached({}));
    // The running sleep belongs to init, not to us: nothing left to reap.
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(ChildProcess, CaptureOutputNeedsASuccessfulExit) {
    EXPECT_EQ(platform::CaptureOutput({"printf", "%s", "a  b"}), "a  b");
    EXPECT_EQ(platform::CaptureOutput({"sh", "-c", "echo partial; exit 2"}), std::nullopt);
    EXPECT_EQ(platform::CaptureOutput({"/nonexistent/program"}), std::nullopt);
}

}  // namespace

namespace {

TEST_F(LinuxPlatformTest, ApplicationsFolderFollowsXdgDataHomeWhenItIsAbsolute) {
    ScopedEnv home("HOME", "/home/anna/");
    platform::LinuxPlatform linux("/bin/true");
    {
        ScopedEnv data("XDG_DATA_HOME", "/srv/anna data/");
        EXPECT_EQ(linux.ApplicationsFolder(), "/srv/anna data/applications");
    }
    for (const char* ignored : {"", "relative/data"}) {
        ScopedEnv data("XDG_DATA_HOME", ignored);
        EXPECT_EQ(linux.ApplicationsFolder(), "/home/anna/.local/share/applications") << ignored;
    }
}

TEST_F(LinuxPlatformTest, AStartedProgramGetsItsArgumentsWholeAndAMissingOneRaises) {
    const fs::path script = WriteScript(at("record"), "printf '%s\\n' \"$@\" > \"$1.tmp\" && mv \"$1.tmp\" \"$1.args\"\n");
    const std::string file = at("Q1 $(touch pwned) 'x'.xls").string();
    platform::LinuxPlatform linux("/bin/true");
    linux.StartProgram({script.string(), file, "--play"});
    ASSERT_TRUE(WaitForFile(file + ".args"));
    EXPECT_EQ(ReadFile(file + ".args"), file + "\n--play\n");
    try {
        linux.StartProgram({at("missing").string(), "--play", file});
        ADD_FAILURE() << "a missing program started";
    } catch (const automation::AutomationError& error) {
        EXPECT_EQ(error.number(), 53);
    }
}

}  // namespace
