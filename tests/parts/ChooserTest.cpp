// The chooser Form1 through the scripted window system, on real folders:
// both modes, the drive, folder and file lists' events, the create-folder
// dialogue, and the mended cases (frame close in file mode, a start folder
// that has gone, unreadable folders, a failed creation).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "PartsFixture.h"
#include "startup/Form1.h"

namespace {

namespace fs = std::filesystem;
using automation::DriveInfo;

// What a step saw of the window.
struct Seen {
    std::string currentFolder;
    std::string result;
    bool selectEnabled = false;
    std::vector<std::string> files;
    std::string dirPath;
    std::string drive;
    int lastDriveIndex = -2;
};

class ChooserTest : public partstest::PartsTest {
protected:
    ChooserTest() {
        data = folder.path();
        fs::create_directories(data / "Präsentation 2026");
        fs::create_directories(data / "reports");
        fs::create_directories(data / ".hidden");
        fs::create_directories(data / "home" / "anna");
        fs::create_directories(data / "usb");
        touch(data / "Präsentation 2026" / "Übersicht.doc");
        touch(data / "Präsentation 2026" / "notes.txt");
        touch(data / "reports" / "q1.doc");
        touch(data / "a.doc");
        touch(data / ".secret.doc");
        platform.drives = {{"/", "", DriveInfo::Kind::Root},
                           {home(), "", DriveInfo::Kind::Home},
                           {(data / "usb").string(), "USB", DriveInfo::Kind::Removable}};
        ctx.state.ChooserPattern = "";
        windows.autoAcknowledge = true;
    }

    static void touch(const fs::path& path) { std::ofstream(path) << "x"; }
    std::string home() const { return (data / "home" / "anna").string(); }
    std::string dataFolder() const { return ctx.state.DataFolder; }

    void fileMode() {
        ctx.state.ChooserMode = "FIL";
        ctx.state.ChooserCaption = "Find:";
    }
    void folderMode() {
        ctx.state.ChooserMode = "FLD";
        ctx.state.ChooserCaption = "Select a folder or create new";
    }

    static startup::Form1& form1(ui::Form& form) { return static_cast<startup::Form1&>(form); }

    void see(Seen& seen) {
        windows.act([this, &seen](ui::Form& form) {
            auto& f = form1(form);
            seen = {f.CurrentFolder, ctx.state.ChooserResult, f.Command1.enabled(),
                    f.File1.rows().empty() ? std::vector<std::string>{} : listOf(f.File1), f.Dir1.Path(),
                    f.Drive1.Drive(), f.LastDriveIndex};
        });
    }
    static std::vector<std::string> listOf(const ui::ListBox& list) {
        std::vector<std::string> items;
        for (int k = 0; k < list.ListCount(); ++k) items.push_back(list.List(k));
        return items;
    }
    void openFolder(const fs::path& path) {
        windows.act([path](ui::Form& form) {
            auto& dir = form1(form).Dir1;
            const int index = dir.indexOfPath(path.string());
            ASSERT_GE(index, 0) << path << " is not listed";
            dir.userDoubleClick(index);
        });
    }
    void clickFolder(const fs::path& path) {
        windows.act([path](ui::Form& form) {
            auto& dir = form1(form).Dir1;
            const int index = dir.indexOfPath(path.string());
            ASSERT_GE(index, 0) << path << " is not listed";
            dir.userSelect(index);
        });
    }
    void clickFile(const std::string& name) {
        windows.act([name](ui::Form& form) {
            auto& files = form1(form).File1;
            for (int k = 0; k < files.ListCount(); ++k)
                if (files.List(k) == name) return files.userSelect(k);
            FAIL() << name << " is not listed";
        });
    }
    void chooseDrive(const std::string& root) {
        windows.act([root](ui::Form& form) {
            auto& drives = form1(form).Drive1;
            drives.userSelect(drives.driveIndexOf(root));
        });
    }
    void show(const std::string& lineFile = {}) { startup::ShowChooser(ctx, lineFile); }

    fs::path data;
};

TEST_F(ChooserTest, FolderModeSelectWithoutTouchingReturnsTheStartFolder) {
    folderMode();
    Seen start;
    see(start);
    windows.click("Command1");
    show();
    EXPECT_EQ(ctx.state.ChooserResult, dataFolder());
    EXPECT_EQ(start.currentFolder, dataFolder());
    EXPECT_EQ(start.dirPath, data.string());
    EXPECT_EQ(start.drive, "/");
    EXPECT_EQ(windows.boxes.size(), 0u);
}

TEST_F(ChooserTest, FolderModeShowsOnlyTheFolderSideWithItsCaptions) {
    folderMode();
    windows.act([](ui::Form& form) {
        auto& f = form1(form);
        EXPECT_EQ(f.caption(), "Select a folder or create new");
        EXPECT_EQ(f.Command1.caption(), "Select");
        EXPECT_EQ(f.Command2.caption(), "Exit");
        EXPECT_EQ(f.Command3.caption(), "Create a new folder");
        EXPECT_TRUE(f.Command1.enabled());
        EXPECT_TRUE(f.Command3.visible());
        EXPECT_FALSE(f.File1.visible());
        // The tree from the root down, then the sub-folders; hidden ones left out.
        std::vector<std::string> paths;
        for (int k = 0; k < f.Dir1.ListCount(); ++k) paths.push_back(f.Dir1.pathAt(k));
        EXPECT_EQ(paths.back(), f.Dir1.Path() + "/usb");
        EXPECT_EQ(std::count_if(paths.begin(), paths.end(), [](const std::string& p) { return p.ends_with(".hidden"); }), 0);
        EXPECT_EQ(f.Dir1.pathAt(f.Dir1.ListIndex()), f.Dir1.Path()) << "the current folder is selected";
    });
    windows.click("Command2");
    show();
    EXPECT_EQ(ctx.state.ChooserResult, "");
}

TEST_F(ChooserTest, FolderModeAClickedFolderIsTheAnswerEvenUnopened) {
    folderMode();
    clickFolder(data / "reports");
    Seen clicked;
    see(clicked);
    windows.click("Command1");
    show();
    EXPECT_EQ(clicked.currentFolder, (data / "reports").string() + "/");
    EXPECT_EQ(clicked.dirPath, data.string()) << "a click does not open";
    EXPECT_EQ(ctx.state.ChooserResult, (data / "reports").string() + "/");
}

TEST_F(ChooserTest, FolderModeAfterADriveChangeTheAnswerIsTheNewDrivesFolder) {
    folderMode();
    chooseDrive(home());
    Seen moved;
    see(moved);
    windows.closeWindow();  // in folder mode the folder shown counts as chosen
    show();
    EXPECT_EQ(moved.dirPath, home());
    EXPECT_EQ(moved.lastDriveIndex, 1);
    EXPECT_EQ(ctx.state.ChooserResult, home() + "/");
}

TEST_F(ChooserTest, ADriveThatCannotBeOpenedGoesBackToTheLastGoodOne) {
    folderMode();
    platform.unreadable.emplace((data / "usb").string(),
                                automation::AutomationError(71, "Disk not ready"));
    openFolder(data / "reports");
    chooseDrive((data / "usb").string());
    Seen after;
    see(after);
    windows.click("Command1");
    show();
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"71  Disk not ready"}));
    EXPECT_EQ(after.drive, "/");
    EXPECT_EQ(after.lastDriveIndex, 0);
    EXPECT_EQ(after.dirPath, (data / "reports").string()) << "the folder list stays where it was";
    EXPECT_EQ(ctx.state.ChooserResult, (data / "reports").string() + "/");
}

TEST_F(ChooserTest, FileModeSelectWaitsForAFileAndJoinsFolderAndName) {
    fileMode();
    Seen start, afterFile, afterFolderClick, afterOpen, picked;
    see(start);
    clickFile("a.doc");
    see(afterFile);
    clickFolder(data / "reports");  // any move disables Select again
    see(afterFolderClick);
    openFolder(data / "Präsentation 2026");
    see(afterOpen);
    clickFile("Übersicht.doc");
    see(picked);
    windows.click("Command1");
    show();

    EXPECT_FALSE(start.selectEnabled);
    EXPECT_EQ(start.files, (std::vector<std::string>{"a.doc"})) << "hidden files left out";
    EXPECT_TRUE(afterFile.selectEnabled);
    EXPECT_EQ(afterFile.result, "a.doc");
    EXPECT_FALSE(afterFolderClick.selectEnabled);
    EXPECT_EQ(afterFolderClick.files, (std::vector<std::string>{"q1.doc"}));
    EXPECT_EQ(afterFolderClick.currentFolder, (data / "reports").string() + "/");
    EXPECT_FALSE(afterOpen.selectEnabled);
    EXPECT_EQ(afterOpen.files, (std::vector<std::string>{"notes.txt", "Übersicht.doc"}));
    EXPECT_TRUE(picked.selectEnabled);
    EXPECT_EQ(ctx.state.ChooserResult, (data / "Präsentation 2026" / "Übersicht.doc").string());
}

TEST_F(ChooserTest, FileModeAtTheRootJoinsWithOneSeparator) {
    fileMode();
    chooseDrive(home());
    chooseDrive("/");
    windows.act([](ui::Form& form) {
        auto& f = form1(form);
        EXPECT_EQ(f.CurrentFolder, "/");
        EXPECT_FALSE(f.Command1.enabled()) << "a drive change disables Select";
        // Whatever the root holds, a name there joins as "/name".
        f.File1.SetItems({"root file.doc"});
        f.File1.userSelect(0);
    });
    windows.click("Command1");
    show();
    EXPECT_EQ(ctx.state.ChooserResult, "/root file.doc");
}

TEST_F(ChooserTest, FileModeStartsInTheLinesFolderOrWhereItCan) {
    fileMode();
    Seen lines, gone, allGone;
    see(lines);
    windows.click("Command2");
    show((data / "reports" / "q1.doc").string());
    EXPECT_EQ(lines.currentFolder, (data / "reports").string() + "/");
    EXPECT_EQ(lines.files, (std::vector<std::string>{"q1.doc"}));
    EXPECT_EQ(ctx.state.ChooserResult, "") << "Exit";

    see(gone);
    windows.click("Command2");
    show((data / "removed" / "old.doc").string());
    EXPECT_EQ(gone.currentFolder, dataFolder());

    ctx.state.DataFolder = (data / "also removed").string() + "/";
    see(allGone);
    windows.click("Command2");
    show((data / "removed" / "old.doc").string());
    EXPECT_EQ(allGone.currentFolder, home() + "/");
    EXPECT_EQ(allGone.drive, home());
    EXPECT_TRUE(windows.messages().empty());
}

TEST_F(ChooserTest, FileModeAFrameCloseAndExitHandBackNothing) {
    fileMode();
    ctx.state.ChooserResult = "/stale/answer.doc";
    clickFile("a.doc");
    windows.closeWindow();
    show();
    EXPECT_EQ(ctx.state.ChooserResult, "");

    ctx.state.ChooserResult = "/stale/answer.doc";
    windows.closeWindow();
    show();
    EXPECT_EQ(ctx.state.ChooserResult, "") << "emptied when the window loads";
}

TEST_F(ChooserTest, FileModeADoubleClickedFileIsTaken) {
    fileMode();
    windows.doubleClickItem("File1", 0);
    show();
    EXPECT_EQ(ctx.state.ChooserResult, (data / "a.doc").string());
}

TEST_F(ChooserTest, AFolderThatCannotBeReadShowsEmptyWithAMessage) {
    fileMode();
    platform.unreadable.emplace((data / "reports").string(), automation::AutomationError(70, "Permission denied"));
    openFolder(data / "reports");
    Seen inside;
    see(inside);
    windows.click("Command2");
    show();
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"70  Permission denied"}));
    EXPECT_EQ(inside.dirPath, (data / "reports").string());
    EXPECT_TRUE(inside.files.empty());
    EXPECT_FALSE(inside.selectEnabled);
}

TEST_F(ChooserTest, NoFileSystemObjectLeavesTheWindowUnprepared) {
    struct NoFileSystem : partstest::TestObjectFactory {
        std::shared_ptr<automation::FileSystem> CreateFileSystem() override {
            throw automation::AutomationError(429, "ActiveX component can't create object");
        }
    } objectsWithout;
    core::Context bare(objectsWithout, platform, windows);
    bare.state.ChooserMode = "FIL";
    bare.state.LanguageCode = "I";
    windows.act([](ui::Form& form) { EXPECT_EQ(form1(form).Dir1.ListCount(), 0); });
    windows.click("Command2");
    startup::ShowChooser(bare);
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Errore nell'apertura del 'FileSystemObject'."}));
}

// --- the create-folder dialogue ------------------------------------------------

TEST_F(ChooserTest, NewFolderNamesWithForbiddenCharactersAreOfferedAgain) {
    folderMode();
    windows.click("Command3");
    windows.answerInput("  bad|name ");
    windows.answerInput("what?");
    windows.answerInput("reports");
    windows.cancelInput();
    windows.click("Command2");
    show();
    ASSERT_EQ(windows.boxes.size(), 4u);
    EXPECT_EQ(windows.boxes[0].text, "Fill in with new folder name:");
    EXPECT_EQ(windows.boxes[0].defaultText, "");
    const std::string refused = "A folder name does not contains the following characters: \\/:*?\"<>|";
    EXPECT_EQ(windows.boxes[1].text, refused);
    EXPECT_EQ(windows.boxes[1].defaultText, "bad|name") << "trimmed, then offered for editing";
    EXPECT_EQ(windows.boxes[2].text, refused);
    EXPECT_EQ(windows.boxes[2].defaultText, "what?");
    EXPECT_EQ(windows.boxes[3].text, "The folder already exists.");
    EXPECT_EQ(windows.boxes[3].defaultText, "reports");
    EXPECT_FALSE(fs::exists(data / "bad|name"));
}

TEST_F(ChooserTest, NoAtTheConfirmationCreatesNothingAndYesCreatesAndCloses) {
    folderMode();
    windows.click("Command3");
    windows.answerInput("Neue Präsentation");
    windows.answer(ui::Answer::No);
    Seen stillOpen;
    see(stillOpen);
    windows.click("Command3");
    windows.answerInput(" Neue Präsentation ");
    windows.answer(ui::Answer::Yes);
    show();

    const std::string created = dataFolder() + "Neue Präsentation";
    ASSERT_EQ(windows.boxes.size(), 4u);
    EXPECT_EQ(windows.boxes[1].text, "The creation of the folder:\n" + created + "\n\nis in progress. Do you confirm?");
    EXPECT_EQ(windows.boxes[1].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(windows.boxes[1].defaultButton, ui::Answer::Yes);
    EXPECT_EQ(stillOpen.result, dataFolder()) << "No: nothing changed";
    EXPECT_TRUE(fs::is_directory(created));
    EXPECT_EQ(ctx.state.ChooserResult, created) << "without a final separator";
    EXPECT_FALSE(windows.stepsLeft()) << "the chooser closed after the creation";
}

TEST_F(ChooserTest, AFailedCreationIsReportedAndTheChooserStaysOpen) {
    folderMode();
    const std::string tooLong(300, 'x');
    windows.click("Command3");
    windows.answerInput(tooLong);
    windows.answer(ui::Answer::Yes);
    Seen after;
    see(after);
    windows.click("Command2");
    show();
    const auto messages = windows.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "The folder could not be created:\n" + dataFolder() + tooLong + "\n\n52  Bad file name or number");
    EXPECT_EQ(after.result, dataFolder());
    EXPECT_EQ(ctx.state.ChooserResult, "");
}

}  // namespace
