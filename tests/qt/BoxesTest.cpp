// Message and input boxes: title, line breaks, buttons in the chosen
// language, the default button and the answers.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "qt/QtTestSupport.h"
#include "ui/qt/QtWindowSystem.h"

namespace {

using qttest::child;
using qttest::whenShown;
using ui::qt::QtWindowSystem;

QStringList buttonTexts(QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* button : box.buttons()) texts << button->text();
    texts.sort();
    return texts;
}

TEST(MessageBox, OkBoxHasTheProgramsTitleAndOneLinePerBreak) {
    QtWindowSystem windows;
    QString title, text;
    QStringList buttons;
    whenShown(QtWindowSystem::kMessageBoxName, [&](QWidget& window) {
        auto& box = static_cast<QMessageBox&>(window);
        title = box.windowTitle();
        text = box.text();
        buttons = buttonTexts(box);
        QTest::keyClick(&box, Qt::Key_Return);
    });
    windows.msgBox("The Excel file ==> /tmp/x/BasePresentation.xls\n has been created!\rOne\r\nTwo");
    EXPECT_EQ(title, "Tavolex");
    EXPECT_EQ(text, "The Excel file ==> /tmp/x/BasePresentation.xls\n has been created!\nOne\nTwo");
    EXPECT_EQ(buttons, QStringList{"OK"});
}

TEST(MessageBox, EnterPressesTheRequestedDefaultButton) {
    QtWindowSystem windows;
    for (const ui::Answer wanted : {ui::Answer::No, ui::Answer::Yes}) {
        QString defaultName;
        whenShown(QtWindowSystem::kMessageBoxName, [&](QWidget& window) {
            auto& box = static_cast<QMessageBox&>(window);
            defaultName = box.defaultButton() ? box.defaultButton()->objectName() : QString();
            QTest::keyClick(&box, Qt::Key_Return);
        });
        const ui::Answer answer = windows.messageBox({"Sure?", ui::Buttons::YesNo, wanted, "Tavolex 1.1"});
        EXPECT_EQ(answer, wanted);
        EXPECT_EQ(defaultName, wanted == ui::Answer::Yes ? "Yes" : "No");
    }
}

TEST(MessageBox, QuestionsAndInformationShowTheirIcon) {
    QtWindowSystem windows;
    for (const ui::Buttons buttons : {ui::Buttons::YesNo, ui::Buttons::Ok}) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool drawn = false;
        whenShown(QtWindowSystem::kMessageBoxName, [&](QWidget& window) {
            auto& box = static_cast<QMessageBox&>(window);
            icon = box.icon();
            drawn = !box.iconPixmap().isNull();
            QTest::keyClick(&box, Qt::Key_Return);
        });
        windows.messageBox({"Text", buttons, ui::Answer::Yes, {}});
        EXPECT_EQ(icon, buttons == ui::Buttons::YesNo ? QMessageBox::Question : QMessageBox::Information);
        EXPECT_TRUE(drawn) << "no picture for the icon: a blank gap";
    }
}

TEST(MessageBox, ButtonsSpeakItalianAfterSetLanguage) {
    QtWindowSystem windows;
    windows.setLanguage("I");
    QStringList buttons;
    QString title;
    whenShown(QtWindowSystem::kMessageBoxName, [&](QWidget& window) {
        auto& box = static_cast<QMessageBox&>(window);
        buttons = buttonTexts(box);
        title = box.windowTitle();
        QTest::mouseClick(&child<QPushButton>(box, "Yes"), Qt::LeftButton);
    });
    EXPECT_TRUE(windows.askYesNo("Continuare?", false, "Tavolex 1.1"));
    EXPECT_EQ(buttons, (QStringList{"No", "Sì"}));
    EXPECT_EQ(title, "Tavolex 1.1");

    // Back to English for any other code.
    windows.setLanguage("E");
    whenShown(QtWindowSystem::kMessageBoxName, [&](QWidget& window) {
        auto& box = static_cast<QMessageBox&>(window);
        buttons = buttonTexts(box);
        box.close();  // the close box answers No
    });
    EXPECT_FALSE(windows.askYesNo("Continue?", true));
    EXPECT_EQ(buttons, (QStringList{"No", "Yes"}));
}

TEST(InputBox, OkGivesTheTypedTextCancelAndCloseGiveNothing) {
    QtWindowSystem windows;
    QString title, prompt, shownDefault;
    whenShown(QtWindowSystem::kInputBoxName, [&](QWidget& box) {
        title = box.windowTitle();
        prompt = box.findChild<QLabel*>()->text();
        auto& edit = child<QLineEdit>(box, "Answer");
        shownDefault = edit.text();
        edit.setFocus();
        QTest::keyClicks(&edit, "2.0");  // replaces the selected default
        QTest::mouseClick(&child<QPushButton>(box, "OK"), Qt::LeftButton);
    });
    EXPECT_EQ(windows.inputBox("Version of\rthe Presentation", "1.0"), "2.0");
    EXPECT_EQ(title, "Tavolex");
    EXPECT_EQ(prompt, "Version of\nthe Presentation");
    EXPECT_EQ(shownDefault, "1.0");

    whenShown(QtWindowSystem::kInputBoxName,
              [](QWidget& box) { QTest::mouseClick(&child<QPushButton>(box, "Cancel"), Qt::LeftButton); });
    EXPECT_EQ(windows.inputBox("Version?", "1.0"), "");
    whenShown(QtWindowSystem::kInputBoxName, [](QWidget& box) { box.close(); });
    EXPECT_EQ(windows.inputBox("Version?", "1.0"), "");
}

TEST(InputBox, CancelIsAnnullaInItalian) {
    QtWindowSystem windows;
    windows.setLanguage("I");
    QString cancelText;
    whenShown(QtWindowSystem::kInputBoxName, [&](QWidget& box) {
        cancelText = child<QPushButton>(box, "Cancel").text();
        QTest::keyClick(&child<QLineEdit>(box, "Answer"), Qt::Key_Return);
    });
    EXPECT_EQ(windows.inputBox("Versione?", "1"), "1");
    EXPECT_EQ(cancelText, "Annulla");
}

}  // namespace
