// The line editor in a real Qt window over a real base workbook: a click in
// the file box opens the chooser, which lists a folder; the file taken with
// Select is probed at once and its page count shows. With
// TAVOLEX_SCREENSHOT_DIR set, both windows' pictures are saved there.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "lines/Us_Menu.h"
#include "office/engine/DocumentEngines.h"
#include "office/engine/ExcelEngine.h"
#include "platform/LinuxFileSystem.h"
#include "platform/LinuxPlatform.h"
#include "qt/QtTestSupport.h"
#include "store/BaseWorkbook.h"
#include "support/TestSupport.h"
#include "ui/qt/QtWindowSystem.h"
#include "ui/scripted/ScriptedWindowSystem.h"

namespace {

namespace fs = std::filesystem;
using qttest::child;
using qttest::whenShown;

struct Objects : automation::ObjectFactory {
    std::shared_ptr<automation::excel::Application> CreateExcel() override {
        return office::engine::createExcelApplication();
    }
    std::shared_ptr<automation::FileSystem> CreateFileSystem() override {
        return std::make_shared<platform::LinuxFileSystem>();
    }
    std::shared_ptr<automation::word::Application> CreateWord() override {
        return office::engine::createWordApplication();
    }
    std::shared_ptr<automation::powerpoint::Presentation> GetPresentation(const std::string& fileName) override {
        return office::engine::bindPresentationFile(fileName);
    }
};

void screenshot(QWidget& window, const char* name) {
    const QByteArray folder = qgetenv("TAVOLEX_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    QTest::qWait(100);  // let it paint
    EXPECT_TRUE(window.grab().save(QString::fromLocal8Bit(folder) + "/" + name));
}

int rowOf(QListWidget& list, const QString& text) {
    for (int row = 0; row < list.count(); ++row)
        if (list.item(row)->text().trimmed() == text) return row;
    ADD_FAILURE() << text.toStdString() << " is not listed";
    return 0;
}

QPoint centreOf(QListWidget& list, int row) { return list.visualItemRect(list.item(row)).center(); }

TEST(LineEditorWindow, TheFileBoxOpensTheChooserAndTheChosenDocumentIsProbed) {
    testsupport::TempFolder temp("tavolex-editor");
    fs::create_directories(temp.path() / "Dokumente 2026");
    fs::copy_file(testsupport::testData("report.doc"), temp.path() / "Dokumente 2026" / "Bericht.doc");
    Objects objects;
    platform::LinuxPlatform linux{"/bin/true"};
    {
        // The base workbook, made where no window shows its message.
        ui::ScriptedWindowSystem quiet;
        quiet.autoAcknowledge = true;
        core::Context maker(objects, linux, quiet);
        store::InitFixedSettings(maker.state);
        store::CreateBaseWorkbook(maker, temp.withSeparator());
    }
    ui::qt::QtWindowSystem windows;
    core::Context ctx(objects, linux, windows);
    ctx.state.DataFolder = temp.withSeparator();
    ctx.state.FileSystem = objects.CreateFileSystem();
    store::InitFixedSettings(ctx.state);
    ctx.state.SelectedGroup = "Reports";
    ctx.state.GroupEditMode = "I";

    std::string chooserCaption, rangeCaption;
    bool fieldsShown = false;
    whenShown("Us_Menu", [&](QWidget& editor) {
        QApplication::setActiveWindow(&editor);
        QTest::mouseClick(&child<QPushButton>(editor, "CommandButton5"), Qt::LeftButton);  // Insert new line
        whenShown("Form1", [&](QWidget& chooser) {
            QApplication::setActiveWindow(&chooser);
            chooserCaption = chooser.windowTitle().toStdString();
            auto& folders = child<QListWidget>(chooser, "Dir1");
            auto& files = child<QListWidget>(chooser, "File1");
            QTest::mouseDClick(folders.viewport(), Qt::LeftButton, {},
                               centreOf(folders, rowOf(folders, "Dokumente 2026")));
            QTest::mouseClick(files.viewport(), Qt::LeftButton, {}, centreOf(files, rowOf(files, "Bericht.doc")));
            screenshot(chooser, "line_editor_chooser.png");
            QTest::mouseClick(&child<QPushButton>(chooser, "Command1"), Qt::LeftButton);  // Select
        });
        // The chooser's modal loop runs inside this click.
        QTest::mouseClick(&child<QLineEdit>(editor, "TextBox1"), Qt::LeftButton);
        rangeCaption = child<QGroupBox>(editor, "Frame1").title().toStdString();
        fieldsShown = child<QGroupBox>(editor, "Frame3").isVisible() && child<QGroupBox>(editor, "Frame1").isVisible() &&
                      !child<QGroupBox>(editor, "Frame2").isVisible();
        screenshot(editor, "line_editor_probe.png");
        editor.close();
    });
    lines::ShowLineEditor(ctx);
    EXPECT_EQ(chooserCaption, "Find:");
    EXPECT_EQ(ctx.state.CurrentLine.FileName, (temp.path() / "Dokumente 2026" / "Bericht.doc").string());
    EXPECT_EQ(rangeCaption, "Word - N. Pages: 5");
    EXPECT_TRUE(fieldsShown);
}

}  // namespace
