#pragma once
// The window system on Qt 6 Widgets. Needs a QApplication for its whole life.
// Forms are real windows (modeless ones behind the modal ones), one widget per control, laid out at a fixed 4/3
// pixels per point; each modal form runs its own nested event loop, and an
// exception thrown by a handler unwinds out of the showModal that showed it
// (see HandlerGuard).
#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/model/WindowSystem.h"
#include "ui/qt/HandlerGuard.h"

namespace ui::qt {

class FormWindow;

class QtWindowSystem : public WindowSystem {
public:
    // Object names of the boxes, for tests and tools that look for them.
    static constexpr const char* kMessageBoxName = "TavolexMessageBox";
    static constexpr const char* kInputBoxName = "TavolexInputBox";

    // Loads the forms' fonts. Printing goes to the file TAVOLEX_PRINT_TO_PDF
    // names, when set, instead of through the print dialog.
    QtWindowSystem();
    ~QtWindowSystem() override;
    QtWindowSystem(const QtWindowSystem&) = delete;
    QtWindowSystem& operator=(const QtWindowSystem&) = delete;

    void showModal(Form& form) override;
    void showModeless(Form& form) override;
    Answer messageBox(const MessageRequest& request) override;
    std::string inputBox(const std::string& prompt, const std::string& defaultText) override;
    void doEvents() override;
    bool printForm(Form& form) override;
    void setLanguage(const std::string& languageCode) override;

    // Prints into this PDF file without asking; empty: the print dialog.
    void setPrintToPdf(const std::string& path) { printToPdf_ = path; }
    // The window showing `form`, nullptr when it is not shown.
    QWidget* windowOf(const Form& form) const;

private:
    // Texts of the stock buttons in the chosen language.
    QString yesText() const;
    QString noText() const;
    QString okText() const;
    QString cancelText() const;
    // The window new boxes and forms belong to: the form on top.
    QWidget* topWindow() const;
    // The modeless window shown last that is still up, nullptr when none.
    QWidget* modelessOnTop() const;

    HandlerGuard guard_;
    std::vector<FormWindow*> shown_;  // modal forms, innermost last
    // Modeless windows, last shown last; each deletes itself when its form closes.
    std::vector<QPointer<FormWindow>> modeless_;
    bool italian_ = false;
    std::string printToPdf_;
};

}  // namespace ui::qt
