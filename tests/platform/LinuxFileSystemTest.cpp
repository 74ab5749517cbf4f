// The file-system object on Linux: folder checks, existence tests, folder
// creation, parent names and deletion, with the numbers users know.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "platform/LinuxFileSystem.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using automation::AutomationError;

void WriteFile(const fs::path& path, const std::string& text = "x") { std::ofstream(path) << text; }

// Runs `call` and gives "number description", or "ok" when nothing was raised.
std::string Outcome(const std::function<void()>& call) {
    try {
        call();
        return "ok";
    } catch (const AutomationError& error) {
        return std::to_string(error.number()) + " " + error.description();
    }
}

// Runs the folder checks in a child process that has given up root's
// privileges (root reads every folder whatever its permission bits), so the
// unreadable-folder cases hold for every user. Gives one outcome per path,
// or nothing when the privileges could not be dropped.
std::optional<std::vector<std::string>> GetFolderAsOrdinaryUser(const std::vector<std::string>& paths) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return std::nullopt;
    pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        std::string report;
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
            report = "cannot drop privileges";
        } else {
            platform::LinuxFileSystem files;
            for (const std::string& path : paths) report += Outcome([&] { files.GetFolder(path); }) + "\n";
        }
        ssize_t written = write(pipeFds[1], report.data(), report.size());
        _exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    close(pipeFds[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (report == "cannot drop privileges") return std::nullopt;
    std::vector<std::string> outcomes;
    for (std::size_t start = 0, end; (end = report.find('\n', start)) != std::string::npos; start = end + 1)
        outcomes.push_back(report.substr(start, end - start));
    return outcomes;
}

class LinuxFileSystemTest : public ::testing::Test {
protected:
    testsupport::TempFolder temp{"tavolex-fs"};
    platform::LinuxFileSystem files;
    fs::path at(const std::string& name) const { return temp.path() / name; }
};

TEST_F(LinuxFileSystemTest, GetFolderAcceptsFoldersWithSpacesAndNonAsciiNames) {
    fs::create_directory(at("Präsentation 2026"));
    EXPECT_EQ(Outcome([&] { files.GetFolder(at("Präsentation 2026").string()); }), "ok");
    EXPECT_EQ(Outcome([&] { files.GetFolder(at("Präsentation 2026").string() + "/"); }), "ok");
}

TEST_F(LinuxFileSystemTest, GetFolderReportsPathNotFoundForMissingFoldersAndFiles) {
    WriteFile(at("notes.txt"));
    EXPECT_EQ(Outcome([&] { files.GetFolder(at("missing").string() + "/"); }), "76 Path not found");
    EXPECT_EQ(Outcome([&] { files.GetFolder(at("notes.txt").string() + "/"); }), "76 Path not found");
    EXPECT_EQ(Outcome([&] { files.GetFolder(at("notes.txt").string()); }), "76 Path not found");
    EXPECT_EQ(Outcome([&] { files.GetFolder(at("notes.txt/inside").string()); }), "76 Path not found");
    EXPECT_EQ(Outcome([&] { files.GetFolder(""); }), "76 Path not found");
}

TEST_F(LinuxFileSystemTest, GetFolderErrorCarriesThePath) {
    std::string missing = at("missing").string();
    try {
        files.GetFolder(missing);
        FAIL() << "no error raised";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.file(), missing);
    }
}

TEST_F(LinuxFileSystemTest, GetFolderRefusesFoldersThatCannotBeListedOrEntered) {
    fs::permissions(temp.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
    fs::create_directory(at("closed"));
    fs::create_directory(at("list only"));
    fs::create_directory(at("open"));
    fs::permissions(at("closed"), fs::perms::none);
    fs::permissions(at("list only"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    auto outcomes = GetFolderAsOrdinaryUser({at("closed").string(), at("list only").string(), at("open").string()});
    if (!outcomes) GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(*outcomes, (std::vector<std::string>{"70 Permission denied", "70 Permission denied", "ok"}));
}

TEST_F(LinuxFileSystemTest, FileExistsOnlyForRegularFiles) {
    WriteFile(at("Präsentation 2026.xls"));
    fs::create_directory(at("folder"));
    fs::create_symlink(at("Präsentation 2026.xls"), at("link.xls"));
    fs::create_symlink(at("gone.xls"), at("dangling.xls"));
    EXPECT_TRUE(files.FileExists(at("Präsentation 2026.xls").string()));
    EXPECT_TRUE(files.FileExists(at("link.xls").string()));
    EXPECT_FALSE(files.FileExists(at("dangling.xls").string()));
    EXPECT_FALSE(files.FileExists(at("folder").string()));
    EXPECT_FALSE(files.FileExists(at("missing.xls").string()));
    EXPECT_FALSE(files.FileExists(""));
}

TEST_F(LinuxFileSystemTest, FolderExistsOnlyForFolders) {
    WriteFile(at("file"));
    fs::create_directory(at("a b"));
    EXPECT_TRUE(files.folderexists(at("a b").string()));
    EXPECT_TRUE(files.folderexists(at("a b").string() + "/"));
    EXPECT_FALSE(files.folderexists(at("file").string()));
    EXPECT_FALSE(files.folderexists(at("missing").string()));
    EXPECT_FALSE(files.folderexists(""));
}

TEST_F(LinuxFileSystemTest, CreatefolderMakesOneFolderAndRefusesWhatExists) {
    std::string created = at("Präsentation 2026").string();
    EXPECT_EQ(Outcome([&] { files.Createfolder(created); }), "ok");
    EXPECT_TRUE(fs::is_directory(created));
    EXPECT_EQ(Outcome([&] { files.Createfolder(created); }), "58 File already exists");
    WriteFile(at("taken"));
    EXPECT_EQ(Outcome([&] { files.Createfolder(at("taken").string()); }), "58 File already exists");
    EXPECT_EQ(Outcome([&] { files.Createfolder(at("no parent/child").string()); }), "76 Path not found");
    EXPECT_FALSE(fs::exists(at("no parent")));
    EXPECT_EQ(Outcome([&] { files.Createfolder(at(std::string(300, 'n')).string()); }), "52 Bad file name or number");
}

TEST_F(LinuxFileSystemTest, ParentFolderNameIsTheFolderPartWithoutFinalSeparator) {
    EXPECT_EQ(files.GetParentFolderName("/home/u/Präsentation 2026/Budget.xls"), "/home/u/Präsentation 2026");
    EXPECT_EQ(files.GetParentFolderName("/home/u/data/"), "/home/u");
    EXPECT_EQ(files.GetParentFolderName("/home//u"), "/home");
    EXPECT_EQ(files.GetParentFolderName("/data"), "/");
    EXPECT_EQ(files.GetParentFolderName("/"), "");
    EXPECT_EQ(files.GetParentFolderName("Budget.xls"), "");
    EXPECT_EQ(files.GetParentFolderName(""), "");
    EXPECT_EQ(files.GetParentFolderName("rel/Budget.xls"), "rel");
    // A backslash is part of a Linux name, not a separator.
    EXPECT_EQ(files.GetParentFolderName("c:\\data\\Budget.xls"), "");
    EXPECT_EQ(files.GetParentFolderName("/x/a\\b.xls"), "/x");
}

TEST_F(LinuxFileSystemTest, DeletefileRemovesAFileAndReportsMissingOnes) {
    WriteFile(at("Präsentation 2026.xls"));
    EXPECT_EQ(Outcome([&] { files.deletefile(at("Präsentation 2026.xls").string(), true); }), "ok");
    EXPECT_FALSE(fs::exists(at("Präsentation 2026.xls")));
    EXPECT_EQ(Outcome([&] { files.deletefile(at("Präsentation 2026.xls").string(), true); }), "53 File not found");
    EXPECT_EQ(Outcome([&] { files.deletefile(at("no folder/x.xls").string(), true); }), "76 Path not found");
    EXPECT_EQ(Outcome([&] { files.deletefile("", true); }), "53 File not found");
}

TEST_F(LinuxFileSystemTest, DeletefileNeverDeletesFoldersOrExpandsPatterns) {
    fs::create_directory(at("folder"));
    WriteFile(at("a.txt"));
    EXPECT_EQ(Outcome([&] { files.deletefile(at("folder").string(), true); }), "53 File not found");
    EXPECT_EQ(Outcome([&] { files.deletefile(at("*.txt").string(), true); }), "53 File not found");
    EXPECT_TRUE(fs::is_directory(at("folder")));
    EXPECT_TRUE(fs::exists(at("a.txt")));
}

TEST_F(LinuxFileSystemTest, ReadOnlyFileNeedsForce) {
    WriteFile(at("locked.xls"));
    fs::permissions(at("locked.xls"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(Outcome([&] { files.deletefile(at("locked.xls").string(), false); }), "70 Permission denied");
    EXPECT_TRUE(fs::exists(at("locked.xls")));
    EXPECT_EQ(Outcome([&] { files.deletefile(at("locked.xls").string(), true); }), "ok");
    EXPECT_FALSE(fs::exists(at("locked.xls")));
}

TEST_F(LinuxFileSystemTest, DeletefileRemovesALinkNotItsTarget) {
    WriteFile(at("target.xls"));
    fs::create_symlink(at("target.xls"), at("link.xls"));
    EXPECT_EQ(Outcome([&] { files.deletefile(at("link.xls").string(), false); }), "ok");
    EXPECT_TRUE(fs::exists(at("target.xls")));
    EXPECT_FALSE(fs::is_symlink(at("link.xls")));
}

}  // namespace
