#pragma once
// A window system for tests: the test plays the user by queueing steps
// (clicks, typing, answers to boxes), and reads back every box and form that
// was shown. Steps run in order: form actions inside the modal loop of the
// form on top, answers when a box is shown. A step that does not fit what
// the program shows (a click while a box waits for an answer, a control that
// does not exist or is disabled) raises ScriptError, so a test fails loudly
// instead of hanging. When no steps are left, a modal form is closed with its
// close box.
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "ui/model/WindowSystem.h"

namespace ui {

class ScriptError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

struct ShownBox {
    enum class Kind { Message, Input } kind = Kind::Message;
    std::string text;  // message text or input prompt
    Buttons buttons = Buttons::Ok;
    Answer defaultButton = Answer::Ok;
    std::string title;  // as the window shows it
    std::string defaultText;
    std::string reply;  // the input box's answer ("" for Cancel)
    Answer answer = Answer::Ok;
};

class ScriptedWindowSystem : public WindowSystem, private FormObserver {
public:
    ScriptedWindowSystem() = default;

    // --- the user's steps -------------------------------------------------
    // Mouse down, mouse up and click on a control of the form on top.
    void click(const std::string& control, int shift = 0);
    // Only the release of a mouse button (for handlers of MouseUp).
    void mouseUp(const std::string& control, int button, int shift = 0);
    // The user picks entry `index` of a list.
    void selectItem(const std::string& list, int index);
    // The user clicks entry `index` of a list, as the window reports it:
    // mouse down, the selection moves there (Click when it changed), mouse
    // up while the form is still shown.
    void clickItem(const std::string& list, int index, int shift = 0);
    // The user double-clicks entry `index` of a list.
    void doubleClickItem(const std::string& list, int index);
    // A key typed into a control (KeyPress; for a list, the first-letter jump).
    void keyPress(const std::string& control, char key);
    // A key let go on a control (KeyUp), with its key code (13 Enter).
    void keyUp(const std::string& control, int keyCode, int shift = 0);
    // The user replaces a text box's text and leaves it.
    void typeText(const std::string& control, const std::string& text);
    // The close box of the form on top.
    void closeWindow();
    // A click on a control of the form on top while the program pauses (the
    // next doEvents): it reaches the form only if no command of it runs.
    void clickDuringPause(const std::string& control);
    // Code run as a step inside the modal loop of the form on top.
    void act(std::function<void(Form&)> step);
    // Answers to the next boxes.
    void answer(Answer answer);
    void answerInput(const std::string& text);
    void cancelInput();
    // Result of the next print dialogs (default: printed).
    bool printSucceeds = true;
    // OK boxes are acknowledged without a queued step when set.
    bool autoAcknowledge = false;

    bool stepsLeft() const { return !steps_.empty(); }
    Form* topForm() const { return stack_.empty() ? nullptr : stack_.back(); }
    // The modeless forms up now, in the order they were shown.
    const std::vector<Form*>& modelessForms() const { return modeless_; }

    // --- what was shown ---------------------------------------------------
    std::vector<ShownBox> boxes;
    std::vector<std::string> formsShown;  // modal ones
    std::vector<std::string> modelessShown;
    std::vector<std::string> formsPrinted;
    std::string languageCode;
    int eventPumps = 0;
    // User actions the forms dropped because a command of theirs was running.
    int droppedActions = 0;
    // Deepest nesting of modal forms seen.
    std::size_t deepestModalNesting = 0;

    // Texts of the message boxes only, in order.
    std::vector<std::string> messages() const;

    // --- WindowSystem -----------------------------------------------------
    void showModal(Form& form) override;
    void showModeless(Form& form) override;
    Answer messageBox(const MessageRequest& request) override;
    std::string inputBox(const std::string& prompt, const std::string& defaultText) override;
    void doEvents() override;
    // Runs at every doEvents: lets a test look at the windows during a pause.
    std::function<void()> onDoEvents;
    // Runs as each box is shown, before it is answered: lets a test look at
    // the windows behind it.
    std::function<void(const ShownBox&)> onBox;
    bool printForm(Form& form) override;
    void setLanguage(const std::string& code) override { languageCode = code; }

private:
    struct FormStep {
        std::string description;
        std::function<void(Form&)> run;
        bool userAction = true;   // passes through the form's input rule
        bool duringPause = false;  // runs at the next doEvents
    };
    // Runs a step on `form`; user actions go through the form's input rule.
    void runStep(FormStep& step, Form& form);
    struct BoxAnswer {
        bool input = false;
        Answer answer = Answer::Ok;
        std::string text;
    };
    using Step = std::variant<FormStep, BoxAnswer>;

    void formCaptionChanged(Form&) override {}
    // A modeless form that hid or unloaded is no longer up.
    void formClosed(Form& form) override;
    Control& controlOf(Form& form, const std::string& name, bool needsEnabled = true);
    BoxAnswer nextAnswer(const std::string& what);

    std::deque<Step> steps_;
    std::vector<Form*> stack_;
    std::vector<Form*> modeless_;
};

}  // namespace ui
