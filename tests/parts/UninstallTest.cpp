// Uninstall on the main window, against a real base workbook: the gesture,
// the confirmation, what goes and what stays, and a program file the user
// may not remove.
#include <filesystem>
#include <fstream>

#include "core/ProgramEnd.h"
#include "groups/MainWindow.h"
#include "groups/UserForm00.h"
#include "parts/PartsFixture.h"

namespace partstest {
namespace {

namespace fs = std::filesystem;

constexpr int kCtrlAlt = ui::kCtrlMask | ui::kAltMask;

class UninstallTest : public PartsTest {
protected:
    UninstallTest() {
        desktop = desktopFolder.path();
        platform.desktopFolder = desktop.string();
        platform.programFolder = "/home/anna/bin";
        windows.autoAcknowledge = true;
        makeBaseWorkbook();
        std::ofstream(launcher()) << "[Desktop Entry]\n";
        platform.applicationsFolder = desktop.string();
        std::ofstream(desktop / "tavolex-player.desktop") << "[Desktop Entry]\n";
        std::ofstream(folder.path() / "Budget - 1.xls") << "a Presentation";
        std::ofstream(folder.path() / "notes.txt") << "mine";
    }
    fs::path launcher() const { return desktop / "Tavolex 1.1.desktop"; }
    std::set<std::string> dataFolderFiles() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path())) names.insert(entry.path().filename().string());
        return names;
    }
    // Runs the main window; true when the program ended on the way.
    bool runMainWindow() {
        try {
            groups::RunMainWindow(ctx);
            return false;
        } catch (const core::ProgramEnded&) {
            return true;
        }
    }
    testsupport::TempFolder desktopFolder{"tavolex-desktop"};
    fs::path desktop;
};

TEST_F(UninstallTest, OnlyALeftClickWithExactlyCtrlAndAltAsks) {
    windows.mouseUp("CommandButton8", ui::kRightButton, kCtrlAlt);
    windows.click("CommandButton8");
    windows.click("CommandButton8", kCtrlAlt | ui::kShiftMask);
    windows.click("CommandButton8", ui::kCtrlMask);
    EXPECT_FALSE(runMainWindow());
    EXPECT_EQ(windows.messages(), std::vector<std::string>(4, "To uninstall you must press Ctrl+Alt+Click!"));
    EXPECT_TRUE(fs::exists(basePath()));
}

TEST_F(UninstallTest, NoChangesNothing) {
    ctx.state.LanguageCode = "I";
    windows.click("CommandButton8", kCtrlAlt);
    windows.answer(ui::Answer::No);
    const auto before = dataFolderFiles();
    EXPECT_FALSE(runMainWindow());
    ASSERT_EQ(windows.boxes.size(), 1u);
    EXPECT_EQ(windows.boxes[0].text, "Sei sicuro di voler disinstallare?");
    EXPECT_EQ(windows.boxes[0].defaultButton, ui::Answer::Yes);
    EXPECT_EQ(dataFolderFiles(), before);
    EXPECT_TRUE(fs::exists(launcher()));
    EXPECT_TRUE(platform.deletions.empty());
}

TEST_F(UninstallTest, YesRemovesLauncherBaseWorkbookAndLockThenTheProgramAfterTheEnd) {
    windows.click("CommandButton8", kCtrlAlt);
    windows.answer(ui::Answer::Yes);
    EXPECT_TRUE(dataFolderFiles().count(".BasePresentation.xls.tavolex-lock")) << "the engine's lock is there to go";
    EXPECT_TRUE(runMainWindow());
    EXPECT_EQ(windows.boxes.size(), 1u) << "nothing but the question";
    EXPECT_FALSE(fs::exists(launcher()));
    EXPECT_FALSE(fs::exists(desktop / "tavolex-player.desktop"));
    EXPECT_EQ(dataFolderFiles(), (std::set<std::string>{"Budget - 1.xls", "notes.txt"}));
    EXPECT_EQ(platform.deletions, (std::vector<std::string>{"/home/anna/bin/Tavolex after 1000 ms"}));
}

TEST_F(UninstallTest, WithoutALauncherTheBaseWorkbookStillGoes) {
    fs::remove(launcher());
    fs::remove(desktop / "tavolex-player.desktop");
    windows.click("CommandButton8", kCtrlAlt);
    windows.answer(ui::Answer::Yes);
    EXPECT_TRUE(runMainWindow());
    EXPECT_FALSE(fs::exists(basePath()));
    EXPECT_EQ(platform.deletions.size(), 1u);
}

TEST_F(UninstallTest, AProgramFileTheUserMayNotRemoveStaysWithAdvice) {
    platform.removal = {false, "tavolex"};
    windows.click("CommandButton8", kCtrlAlt);
    windows.answer(ui::Answer::Yes);
    EXPECT_TRUE(runMainWindow());
    EXPECT_TRUE(platform.deletions.empty());
    EXPECT_FALSE(fs::exists(basePath()));
    ASSERT_EQ(windows.messages().size(), 2u) << "the question, then the advice";
    EXPECT_EQ(windows.messages()[1],
              "Tavolex has been uninstalled from this data folder, but its program file stays:\r/home/anna/bin/Tavolex\r\r"
              "It belongs to the package 'tavolex': remove the package instead (for example: sudo apt remove tavolex).");

    platform.removal = {false, ""};
    windows.boxes.clear();
    makeBaseWorkbook();
    windows.click("CommandButton8", kCtrlAlt);
    windows.answer(ui::Answer::Yes);
    EXPECT_TRUE(runMainWindow());
    EXPECT_NE(windows.messages().back().find("installed for all users"), std::string::npos);
}

}  // namespace
}  // namespace partstest
