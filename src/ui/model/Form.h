#pragma once
// A form: a window with a caption, a client area in points and its controls.
// A concrete form declares its controls as members and its handlers as
// member functions named after control and event.
#include <functional>
#include <string>
#include <vector>

#include "ui/model/Control.h"

namespace ui {

class WindowSystem;

class FormObserver {
public:
    virtual ~FormObserver() = default;
    virtual void formCaptionChanged(Form& form) = 0;
    // The form hid or unloaded itself: a modal loop showing it must end.
    virtual void formClosed(Form& form) = 0;
};

class Form {
public:
    explicit Form(std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    double clientWidth = 300;   // points
    double clientHeight = 200;  // points
    ui::Font font;
    std::optional<Color> backColor;

    const std::vector<Control*>& controls() const { return controls_; }
    Control* findControl(const std::string& name) const;
    Control* focusedControl() const { return focused_; }

    // Load event: runs once, the first time the form is shown.
    virtual void UserForm_Initialize() {}
    // Runs before the form closes by any means; setting cancel keeps it open.
    virtual void UserForm_QueryClose(int& cancel, CloseMode mode) { (void)cancel; (void)mode; }

    bool loaded() const { return loaded_; }
    bool showing() const { return showing_; }
    // Runs the load event when the form is not loaded yet.
    void ensureLoaded();
    // Closes the form as the program asks (query-close first); ends its modal loop.
    // Returns false when query-close cancelled.
    bool Unload();
    // Hides without unloading; ends its modal loop.
    void Hide();
    // The user's close box: query-close, then unload unless cancelled.
    bool userClose();

    // The user's input reaches the form only while none of its actions runs:
    // a click or key that arrives while a command runs (during its feedback
    // pause, too) is dropped, so a command never starts inside another.
    // Backends pass every action of the user through here; false when the
    // action was dropped. Windows the command opens are forms of their own.
    bool runUserAction(const std::function<void()>& action);
    bool busy() const { return busy_ > 0; }

    // Backend hooks.
    void setObserver(FormObserver* observer) { observer_ = observer; }
    void markShowing(bool showing) { showing_ = showing; }
    void registerControl(Control* control) { controls_.push_back(control); }
    void setFocusedControl(Control* control);

private:
    std::string name_;
    std::string caption_;
    std::vector<Control*> controls_;
    Control* focused_ = nullptr;
    bool loaded_ = false;
    bool showing_ = false;
    int busy_ = 0;
    FormObserver* observer_ = nullptr;
};

}  // namespace ui
