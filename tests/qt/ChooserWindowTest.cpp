// The chooser in a real Qt window over real folders: a folder opened by a
// double-click, a file clicked and taken with Select, a drive chosen from
// the drop-down, and the folder mode's narrow window. With
// TAVOLEX_SCREENSHOT_DIR set, each window's picture is saved there.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "platform/LinuxFileSystem.h"
#include "platform/LinuxPlatform.h"
#include "qt/QtTestSupport.h"
#include "startup/Form1.h"
#include "support/TestSupport.h"
#include "ui/qt/QtWindowSystem.h"

namespace {

namespace fs = std::filesystem;
using qttest::centreOf;
using qttest::child;
using qttest::rowOf;
using qttest::screenshot;
using qttest::whenShown;

struct Objects : automation::ObjectFactory {
    std::shared_ptr<automation::excel::Application> CreateExcel() override { return nullptr; }
    std::shared_ptr<automation::FileSystem> CreateFileSystem() override {
        return std::make_shared<platform::LinuxFileSystem>();
    }
};

class ChooserWindow : public ::testing::Test {
protected:
    ChooserWindow() {
        fs::create_directories(temp.path() / "Präsentation 2026");
        fs::create_directories(temp.path() / "reports");
        std::ofstream(temp.path() / "Präsentation 2026" / "Übersicht.doc") << "x";
        std::ofstream(temp.path() / "Präsentation 2026" / "notes.txt") << "x";
        ctx.state.DataFolder = temp.withSeparator();
    }
    testsupport::TempFolder temp{"tavolex-chooser"};
    Objects objects;
    platform::LinuxPlatform linux{"/bin/true"};
    ui::qt::QtWindowSystem windows;
    core::Context ctx{objects, linux, windows};
};

TEST_F(ChooserWindow, FileModeOpensAFolderAndTakesAFile) {
    ctx.state.ChooserMode = "FIL";
    ctx.state.ChooserCaption = "Find:";
    whenShown("Form1", [&](QWidget& window) {
        QApplication::setActiveWindow(&window);
        EXPECT_EQ(window.windowTitle(), "Find:");
        auto& folders = child<QListWidget>(window, "Dir1");
        auto& files = child<QListWidget>(window, "File1");
        auto& select = child<QPushButton>(window, "Command1");
        EXPECT_FALSE(select.isEnabled());
        QTest::mouseDClick(folders.viewport(), Qt::LeftButton, {}, centreOf(folders, rowOf(folders, "Präsentation 2026")));
        ASSERT_EQ(files.count(), 2);
        QTest::mouseClick(files.viewport(), Qt::LeftButton, {}, centreOf(files, rowOf(files, "Übersicht.doc")));
        EXPECT_TRUE(select.isEnabled());
        screenshot(window, "chooser_file_mode.png");
        QTest::mouseClick(&select, Qt::LeftButton);
    });
    startup::ShowChooser(ctx);
    EXPECT_EQ(ctx.state.ChooserResult, (temp.path() / "Präsentation 2026" / "Übersicht.doc").string());
}

TEST_F(ChooserWindow, FolderModeIsNarrowAndADriveChoiceMovesTheFolderList) {
    ctx.state.ChooserMode = "FLD";
    ctx.state.ChooserCaption = "Select a folder or create new";
    whenShown("Form1", [&](QWidget& window) {
        QApplication::setActiveWindow(&window);
        EXPECT_FALSE(child<QListWidget>(window, "File1").isVisible());
        EXPECT_TRUE(child<QPushButton>(window, "Command3").isVisible());
        screenshot(window, "chooser_folder_mode.png");
        auto& drives = child<QComboBox>(window, "Drive1");
        EXPECT_EQ(drives.currentText(), "/");
        EXPECT_GE(drives.count(), 1);
        // Enter on an entry opens it, as a double-click does.
        auto& folders = child<QListWidget>(window, "Dir1");
        folders.setFocus();
        QTest::mouseClick(folders.viewport(), Qt::LeftButton, {}, centreOf(folders, rowOf(folders, "reports")));
        QTest::keyClick(&folders, Qt::Key_Return);
        EXPECT_EQ(folders.item(folders.currentRow())->text().trimmed(), "reports");
        QTest::mouseClick(&child<QPushButton>(window, "Command1"), Qt::LeftButton);
    });
    startup::ShowChooser(ctx);
    EXPECT_EQ(ctx.state.ChooserResult, (temp.path() / "reports").string() + "/");
}

}  // namespace
