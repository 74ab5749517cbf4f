// The message box and the input box of QtWindowSystem. Both run in a loop of
// ours, like the forms, so an exception kept meanwhile comes out of them.
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "ui/qt/Conversions.h"
#include "ui/qt/QtWindowSystem.h"

namespace ui::qt {

Answer QtWindowSystem::messageBox(const MessageRequest& request) {
    QMessageBox box(topWindow());
    box.setObjectName(QString::fromLatin1(kMessageBoxName));
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(toQString(request.title.empty() ? std::string(kProgramName) : request.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(displayLines(request.text));
    // A question shows the question mark, anything else the information sign.
    box.setIcon(request.buttons == Buttons::YesNo ? QMessageBox::Question : QMessageBox::Information);

    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    if (request.buttons == Buttons::YesNo) {
        yes = box.addButton(yesText(), QMessageBox::YesRole);
        no = box.addButton(noText(), QMessageBox::NoRole);
        yes->setObjectName(QStringLiteral("Yes"));
        no->setObjectName(QStringLiteral("No"));
        box.setDefaultButton(request.defaultButton == Answer::No ? no : yes);
        // The close box and Esc answer No, the only way out without a yes.
        box.setEscapeButton(no);
    } else {
        ok = box.addButton(okText(), QMessageBox::AcceptRole);
        ok->setObjectName(QStringLiteral("OK"));
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }

    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    box.show();
    guard_.exec(loop, [&] { return box.isVisible(); });
    if (request.buttons == Buttons::Ok) return Answer::Ok;
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

std::string QtWindowSystem::inputBox(const std::string& prompt, const std::string& defaultText) {
    QDialog dialog(topWindow(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setObjectName(QString::fromLatin1(kInputBoxName));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setWindowTitle(QString::fromLatin1(kProgramName));

    auto* text = new QLabel(displayLines(prompt), &dialog);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setMinimumWidth(260);
    auto* edit = new QLineEdit(toQString(defaultText), &dialog);
    edit->setObjectName(QStringLiteral("Answer"));
    edit->selectAll();
    auto* buttons = new QDialogButtonBox(Qt::Vertical, &dialog);
    QPushButton* ok = buttons->addButton(okText(), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(cancelText(), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("OK"));
    cancel->setObjectName(QStringLiteral("Cancel"));
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    // The prompt top left, the buttons on its right, the answer below.
    auto* layout = new QGridLayout(&dialog);
    layout->addWidget(text, 0, 0);
    layout->addWidget(buttons, 0, 1, Qt::AlignTop);
    layout->addWidget(edit, 1, 0, 1, 2);
    layout->setRowStretch(0, 1);

    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    edit->setFocus();
    guard_.exec(loop, [&] { return dialog.isVisible(); });
    return dialog.result() == QDialog::Accepted ? toStdString(edit->text()) : std::string();
}

}  // namespace ui::qt
