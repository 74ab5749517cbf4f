#include "ui/model/Form.h"

namespace ui {

Form::Form(std::string name) : name_(std::move(name)) {}
Form::~Form() {
    // A form that goes while shown (a modeless one whose owner ends) takes
    // its window with it.
    if (showing_ && observer_) observer_->formClosed(*this);
}

void Form::setCaption(const std::string& caption) {
    caption_ = caption;
    if (observer_) observer_->formCaptionChanged(*this);
}

Control* Form::findControl(const std::string& name) const {
    for (Control* control : controls_)
        if (control->name() == name) return control;
    return nullptr;
}

void Form::ensureLoaded() {
    if (loaded_) return;
    loaded_ = true;
    UserForm_Initialize();
}

bool Form::Unload() {
    int cancel = 0;
    UserForm_QueryClose(cancel, CloseMode::Code);
    if (cancel) return false;
    loaded_ = false;
    if (showing_) {
        showing_ = false;
        if (observer_) observer_->formClosed(*this);
    }
    return true;
}

void Form::Hide() {
    if (!showing_) return;
    showing_ = false;
    if (observer_) observer_->formClosed(*this);
}

bool Form::userClose() {
    int cancel = 0;
    UserForm_QueryClose(cancel, CloseMode::CloseBox);
    if (cancel) return false;
    loaded_ = false;
    if (showing_) {
        showing_ = false;
        if (observer_) observer_->formClosed(*this);
    }
    return true;
}

bool Form::runUserAction(const std::function<void()>& action) {
    if (busy_ > 0) return false;
    struct Busy {
        int& count;
        explicit Busy(int& count) : count(count) { ++count; }
        ~Busy() { --count; }
    } busy(busy_);
    action();
    return true;
}

void Form::setFocusedControl(Control* control) {
    if (focused_ == control) return;
    Control* previous = focused_;
    focused_ = control;
    // Leaving a text box the user edited completes the edit.
    if (auto* box = dynamic_cast<TextBox*>(previous)) box->commitUserEdit();
    if (previous && previous->onExit) previous->onExit();
    if (control && control->onEnter) control->onEnter();
}

}  // namespace ui
