// What the chooser's lists get from Linux: the drives a user picks from out
// of a mount table, and the sub-folders and files of a folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "automation/AutomationError.h"
#include "platform/FolderListing.h"
#include "platform/LinuxPlatform.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using automation::DriveInfo;

std::string describe(const std::vector<DriveInfo>& drives) {
    std::string text;
    for (const DriveInfo& d : drives)
        text += d.root + "|" + d.label + "|" + std::to_string(static_cast<int>(d.kind)) + "\n";
    return text;
}

TEST(FolderListing, DrivesAreRootHomeAndMountedMediaWithoutPseudoFileSystems) {
    const std::string table =
        "overlay / overlay rw,relatime 0 0\n"
        "proc /proc proc rw 0 0\n"
        "sysfs /sys sysfs ro 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "/dev/sda2 /home ext4 rw 0 0\n"
        "/dev/sdb1 /media/anna/USB\\040STICK vfat rw 0 0\n"
        "/dev/sdc1 /run/media/anna/Camera exfat rw 0 0\n"
        "/dev/sdd1 /mnt/data ext4 rw 0 0\n"
        "/dev/loop3 /media/anna/snap squashfs ro 0 0\n"
        "/dev/sdb1 /media/anna/USB\\040STICK vfat rw 0 0\n"  // mounted twice: listed once
        "tmpfs /media tmpfs rw 0 0\n"
        "garbage\n";
    EXPECT_EQ(describe(platform::DrivesFromMountTable(table, "/home/anna/")),
              "/||0\n"
              "/home/anna||1\n"
              "/run/media/anna/Camera|Camera|2\n"
              "/media/anna/USB STICK|USB STICK|2\n"
              "/mnt/data|data|3\n");
    EXPECT_EQ(describe(platform::DrivesFromMountTable("", "")), "/||0\n") << "no home: the root alone";
}

TEST(FolderListing, ThisMachinesDrivesStartWithTheRootAndHome) {
    platform::LinuxPlatform linux;
    const auto drives = linux.ListDrives();
    ASSERT_GE(drives.size(), 1u);
    EXPECT_EQ(drives[0].root, "/");
    for (const DriveInfo& d : drives) {
        EXPECT_NE(d.root.rfind("/proc", 0), 0u) << d.root;
        EXPECT_NE(d.root.rfind("/sys", 0), 0u) << d.root;
    }
}

TEST(FolderListing, FoldersAndFilesAreListedSortedWithoutHiddenOnes) {
    testsupport::TempFolder temp("tavolex-listing");
    const fs::path at = temp.path();
    for (const char* folder : {"zeta", "Älter", "alpha", ".cache"}) fs::create_directory(at / folder);
    for (const char* file : {"b.DOC", "a.doc", "c.xls", ".hidden.doc", "readme"}) std::ofstream(at / file) << "x";
    fs::create_directory_symlink(at / "alpha", at / "link to alpha");
    fs::create_symlink(at / "a.doc", at / "link.doc");
    fs::create_symlink(at / "missing.doc", at / "broken.doc");

    EXPECT_EQ(platform::SubfolderNames(at.string()), (std::vector<std::string>{"alpha", "Älter", "link to alpha", "zeta"}));
    EXPECT_EQ(platform::FileNames(at.string(), "*"),
              (std::vector<std::string>{"a.doc", "b.DOC", "c.xls", "link.doc", "readme"}));
    EXPECT_EQ(platform::FileNames(at.string() + "/", "*.doc"), (std::vector<std::string>{"a.doc", "b.DOC", "link.doc"}));
    EXPECT_EQ(platform::FileNames(at.string(), "*.xls; ?.doc"), (std::vector<std::string>{"a.doc", "b.DOC", "c.xls"}));
}

TEST(FolderListing, AFolderThatCannotBeListedRaisesTheFileSystemError) {
    testsupport::TempFolder temp("tavolex-listing");
    try {
        platform::SubfolderNames((temp.path() / "gone").string());
        ADD_FAILURE();
    } catch (const automation::AutomationError& error) {
        EXPECT_EQ(error.number(), 76);
    }
    std::ofstream(temp.path() / "file") << "x";
    EXPECT_THROW(platform::FileNames((temp.path() / "file").string(), "*"), automation::AutomationError);
}

TEST(FolderListing, PatternsMatchAsTheChooserWritesThem) {
    const std::pair<const char*, const char*> matching[] = {
        {"report.doc", "*"}, {"report.doc", "*.DOC"}, {"Übersicht.doc", "ü*"}, {"a.b.c", "*.c"},
        {"é.doc", "?.doc"}, {"x", "*.doc;x"}, {"name", "n*e"}, {"[1].doc", "[1]*"},
    };
    for (const auto& [name, pattern] : matching) EXPECT_TRUE(platform::MatchesPattern(name, pattern)) << name << " " << pattern;
    const std::pair<const char*, const char*> different[] = {
        {"report.docx", "*.doc"}, {"ab.doc", "?.doc"}, {"x", ""}, {"x", ";"}, {"1.doc", "[1]*"},
    };
    for (const auto& [name, pattern] : different) EXPECT_FALSE(platform::MatchesPattern(name, pattern)) << name << " " << pattern;
}

}  // namespace
