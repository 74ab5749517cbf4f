#pragma once
// The window system as the forms use it: modal and modeless forms, message and input
// boxes, letting pending events run, and printing a form's image.
#include <string>

#include "ui/model/Form.h"

namespace ui {

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct MessageRequest {
    std::string text;          // lines separated by "\r" (or "\n" where a caller says so)
    Buttons buttons = Buttons::Ok;
    Answer defaultButton = Answer::Ok;  // for YesNo: Yes or No
    std::string title;         // empty: the program's name
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Loads the form if needed (its load event runs), shows it and returns
    // when it has been hidden or unloaded. Modal forms nest.
    virtual void showModal(Form& form) = 0;
    // Loads the form if needed and shows it without waiting: it stays up,
    // behind the modal forms shown after it and taking no input of its own,
    // until the program unloads or hides it (Form::Unload, Form::Hide) or
    // the form object goes. Nothing when it is already shown.
    virtual void showModeless(Form& form) = 0;

    virtual Answer messageBox(const MessageRequest& request) = 0;
    // A prompt, no title of its own, a default text; Cancel gives "".
    virtual std::string inputBox(const std::string& prompt, const std::string& defaultText) = 0;

    // Lets pending events (clicks, repaints) run and returns.
    virtual void doEvents() = 0;

    // Prints the form's image through the print dialog; false when the user
    // cancelled or nothing could be printed.
    virtual bool printForm(Form& form) = 0;

    // "I" gives Italian texts on the stock buttons, anything else English.
    virtual void setLanguage(const std::string& languageCode) = 0;

    // Convenience: an OK box with the program's name as its title.
    void msgBox(const std::string& text) { messageBox({text, Buttons::Ok, Answer::Ok, {}}); }
    // Yes/No question; `yesIsDefault` picks the default button.
    bool askYesNo(const std::string& text, bool yesIsDefault, const std::string& title = {}) {
        return messageBox({text, Buttons::YesNo, yesIsDefault ? Answer::Yes : Answer::No, title}) == Answer::Yes;
    }
};

}  // namespace ui
