// Embedded documents and files handed to the desktop: private copies that
// go with the player, and the page range told.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "automation/AutomationError.h"
#include "player/ObjectOpener.h"
#include "player/PlayerFixture.h"

namespace playertest {
namespace {

namespace fs = std::filesystem;

class ObjectOpenerTest : public PlayerTest {};

unsigned modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

TEST_F(ObjectOpenerTest, CopiesTheObjectPrivatelyOpensItAndRemovesItAfterwards) {
    const std::string path = reviewPresentation();
    auto excel = objects.CreateExcel();
    auto file = player::PresentationFile::Open(*excel, path);
    const auto& lines = file.lines();  // Figures, Summary, memo, deck, left out, notes
    std::string folder;
    {
        player::ObjectOpener opener(ctx, file);
        folder = opener.folder();
        EXPECT_EQ(modeOf(folder), 0700u);
        opener.show(lines[5]);
        opener.show(lines[3]);
        opener.show(lines[2]);
        opener.show(lines[5]);  // again: a second copy, the first may still be open

        ASSERT_EQ(platform.opened.size(), 4u);
        EXPECT_EQ(fs::path(platform.opened[0]).filename(), "notes.txt");
        EXPECT_EQ(testsupport::readFileBytes(platform.opened[0]), testsupport::readFileBytes(lines[5].fileName));
        EXPECT_NE(platform.opened[0], platform.opened[3]);
        EXPECT_EQ(fs::path(platform.opened[1]).filename(), "deck.ppt");
        EXPECT_EQ(fs::path(platform.opened[2]).filename(), "memo.doc");
        for (const std::string& opened : platform.opened) {
            EXPECT_EQ(opened.rfind(folder + "/", 0), 0u) << opened;
            EXPECT_EQ(modeOf(opened), 0600u) << opened;
            // Documents come out as compound files Word and PowerPoint read.
            const auto bytes = testsupport::readFileBytes(opened);
            if (opened.ends_with(".doc") || opened.ends_with(".ppt")) {
                ASSERT_GE(bytes.size(), 512u) << opened;
                EXPECT_EQ(testsupport::hexText({bytes.data(), 8}), "d0cf11e0a1b11ae1") << opened;
            }
        }
        // Only the deck has a range; the whole memo and the notes need no word.
        EXPECT_EQ(windows.messages(), (std::vector<std::string>{"This line shows slides 2 to 3 of the presentation."}));

        player::PresentationLine unknown = lines[2];
        unknown.objectName = "Object 99";
        try {
            opener.show(unknown);
            ADD_FAILURE() << "an object that is not there was shown";
        } catch (const automation::AutomationError& error) {
            EXPECT_EQ(error.number(), automation::errnum::kSubscriptOutOfRange);
        }
        EXPECT_EQ(platform.opened.size(), 4u);
    }
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(ObjectOpenerTest, FoldersOfPlayersThatEndedWithoutCleaningUpGo) {
    const std::string path = reviewPresentation();
    auto excel = objects.CreateExcel();
    auto file = player::PresentationFile::Open(*excel, path);

    // Under a TMPDIR of the test's own: a crashed player's folder, a running
    // one's (this process), and folders that are none of ours.
    const fs::path root = folder.path() / "tmp";
    const std::string crashed = (root / "tavolex-player-2147480000-abc123").string();
    const std::string running = (root / ("tavolex-player-" + std::to_string(::getpid()) + "-def456")).string();
    const std::string foreign = (root / "tavolex-player-notes").string();
    const std::string other = (root / "something-else-1-x").string();
    for (const std::string& made : {crashed, running, foreign, other}) fs::create_directories(made);
    textFile("tmp/tavolex-player-2147480000-abc123/memo.doc", "left behind");

    const char* saved = std::getenv("TMPDIR");
    const std::string savedValue = saved ? saved : "";
    ::setenv("TMPDIR", root.c_str(), 1);
    {
        player::ObjectOpener opener(ctx, file);
        EXPECT_EQ(fs::path(opener.folder()).parent_path(), root);
        EXPECT_FALSE(fs::exists(crashed));
        EXPECT_TRUE(fs::exists(running));
        EXPECT_TRUE(fs::exists(foreign));
        EXPECT_TRUE(fs::exists(other));
    }
    if (saved) ::setenv("TMPDIR", savedValue.c_str(), 1);
    else ::unsetenv("TMPDIR");
}

}  // namespace
}  // namespace playertest
