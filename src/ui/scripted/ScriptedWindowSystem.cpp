#include "ui/scripted/ScriptedWindowSystem.h"

#include <algorithm>

namespace ui {

namespace {
std::string describeBox(const std::string& text) {
    return "\"" + text.substr(0, 80) + (text.size() > 80 ? "...\"" : "\"");
}
}  // namespace

Control& ScriptedWindowSystem::controlOf(Form& form, const std::string& name, bool needsEnabled) {
    Control* control = form.findControl(name);
    if (!control) throw ScriptError("form " + form.name() + " has no control " + name);
    if (!control->visible()) throw ScriptError("control " + name + " is not visible");
    if (needsEnabled && !control->enabled()) throw ScriptError("control " + name + " is disabled");
    return *control;
}

void ScriptedWindowSystem::click(const std::string& name, int shift) {
    steps_.push_back(FormStep{"click " + name, [this, name, shift](Form& form) {
        Control& control = controlOf(form, name);
        control.setFocus();
        control.fireMouseDown(kLeftButton, shift);
        control.fireMouseUp(kLeftButton, shift);
        control.fireClick();
    }});
}

void ScriptedWindowSystem::mouseUp(const std::string& name, int button, int shift) {
    steps_.push_back(FormStep{"mouse up on " + name, [this, name, button, shift](Form& form) {
        controlOf(form, name).fireMouseUp(button, shift);
    }});
}

void ScriptedWindowSystem::selectItem(const std::string& name, int index) {
    steps_.push_back(FormStep{"select entry of " + name, [this, name, index](Form& form) {
        auto* list = dynamic_cast<ListBox*>(&controlOf(form, name));
        if (!list) throw ScriptError(name + " is not a list");
        if (index < 0 || index >= list->ListCount())
            throw ScriptError(name + " has no entry " + std::to_string(index));
        list->setFocus();
        list->userSelect(index);
    }});
}

void ScriptedWindowSystem::clickItem(const std::string& name, int index, int shift) {
    steps_.push_back(FormStep{"click entry of " + name, [this, name, index, shift](Form& form) {
        auto* list = dynamic_cast<ListBox*>(&controlOf(form, name));
        if (!list) throw ScriptError(name + " is not a list");
        if (index < 0 || index >= list->ListCount())
            throw ScriptError(name + " has no entry " + std::to_string(index));
        list->setFocus();
        list->fireMouseDown(kLeftButton, shift);
        if (index != list->ListIndex() && !list->locked()) list->userSelect(index);
        if (form.showing()) list->fireMouseUp(kLeftButton, shift);
    }});
}

void ScriptedWindowSystem::doubleClickItem(const std::string& name, int index) {
    steps_.push_back(FormStep{"double-click entry of " + name, [this, name, index](Form& form) {
        auto* list = dynamic_cast<ListBox*>(&controlOf(form, name));
        if (!list) throw ScriptError(name + " is not a list");
        if (index < 0 || index >= list->ListCount())
            throw ScriptError(name + " has no entry " + std::to_string(index));
        list->setFocus();
        list->userDoubleClick(index);
    }});
}

void ScriptedWindowSystem::keyPress(const std::string& name, char key) {
    steps_.push_back(FormStep{"key on " + name, [this, name, key](Form& form) {
        Control& control = controlOf(form, name);
        control.setFocus();
        int k = control.fireKeyPress(static_cast<unsigned char>(key));
        if (k == 0) return;
        if (auto* list = dynamic_cast<ListBox*>(&control); list && list->matchFirstLetter) {
            int found = list->findFirstStartingWith(static_cast<char>(k));
            if (found >= 0) list->userSelect(found);
        } else if (auto* box = dynamic_cast<TextBox*>(&control); box && !box->locked()) {
            box->userSetText(box->text() + static_cast<char>(k));
        }
    }});
}

void ScriptedWindowSystem::keyUp(const std::string& name, int keyCode, int shift) {
    steps_.push_back(FormStep{"key up on " + name, [this, name, keyCode, shift](Form& form) {
        Control& control = controlOf(form, name);
        control.setFocus();
        control.fireKeyUp(keyCode, shift);
    }});
}

void ScriptedWindowSystem::typeText(const std::string& name, const std::string& text) {
    steps_.push_back(FormStep{"type into " + name, [this, name, text](Form& form) {
        auto* box = dynamic_cast<TextBox*>(&controlOf(form, name));
        if (!box) throw ScriptError(name + " is not a text box");
        if (box->locked()) throw ScriptError(name + " is locked");
        box->setFocus();
        box->userSetText(text);
        box->commitUserEdit();
    }});
}

void ScriptedWindowSystem::clickDuringPause(const std::string& name) {
    FormStep step{"click " + name + " during a pause", [this, name](Form& form) {
                      Control& control = controlOf(form, name);
                      control.fireMouseDown(kLeftButton, 0);
                      control.fireMouseUp(kLeftButton, 0);
                      control.fireClick();
                  }};
    step.duringPause = true;
    steps_.push_back(std::move(step));
}

void ScriptedWindowSystem::runStep(FormStep& step, Form& form) {
    if (!step.userAction) {
        step.run(form);
        return;
    }
    if (!form.runUserAction([&] { step.run(form); })) ++droppedActions;
}

void ScriptedWindowSystem::doEvents() {
    ++eventPumps;
    if (onDoEvents) onDoEvents();
    if (steps_.empty() || stack_.empty()) return;
    auto* step = std::get_if<FormStep>(&steps_.front());
    if (!step || !step->duringPause) return;
    FormStep current = std::move(*step);
    steps_.pop_front();
    runStep(current, *stack_.back());
}

void ScriptedWindowSystem::closeWindow() {
    steps_.push_back(FormStep{"close box", [](Form& form) { form.userClose(); }});
}

void ScriptedWindowSystem::act(std::function<void(Form&)> step) {
    steps_.push_back(FormStep{"test step", std::move(step), false});
}

void ScriptedWindowSystem::answer(Answer a) { steps_.push_back(BoxAnswer{false, a, {}}); }
void ScriptedWindowSystem::answerInput(const std::string& text) { steps_.push_back(BoxAnswer{true, Answer::Ok, text}); }
void ScriptedWindowSystem::cancelInput() { steps_.push_back(BoxAnswer{true, Answer::No, {}}); }

std::vector<std::string> ScriptedWindowSystem::messages() const {
    std::vector<std::string> texts;
    for (const ShownBox& box : boxes)
        if (box.kind == ShownBox::Kind::Message) texts.push_back(box.text);
    return texts;
}

void ScriptedWindowSystem::showModeless(Form& form) {
    form.ensureLoaded();
    if (!form.loaded() || form.showing()) return;
    modelessShown.push_back(form.name());
    form.setObserver(this);
    form.markShowing(true);
    modeless_.push_back(&form);
}

void ScriptedWindowSystem::formClosed(Form& form) {
    const auto up = std::find(modeless_.begin(), modeless_.end(), &form);
    if (up == modeless_.end()) return;
    modeless_.erase(up);
    form.setObserver(nullptr);
}

void ScriptedWindowSystem::showModal(Form& form) {
    form.ensureLoaded();
    if (!form.loaded()) return;  // the load event unloaded it again
    formsShown.push_back(form.name());
    form.setObserver(this);
    form.markShowing(true);
    stack_.push_back(&form);
    deepestModalNesting = std::max(deepestModalNesting, stack_.size());
    struct Pop {
        ScriptedWindowSystem& self;
        Form& form;
        ~Pop() {
            self.stack_.pop_back();
            form.markShowing(false);
            form.setObserver(nullptr);
        }
    } pop{*this, form};

    while (form.showing()) {
        if (steps_.empty()) {
            if (!form.userClose())
                throw ScriptError("form " + form.name() + " refused its close box and no steps are left");
            continue;
        }
        auto* step = std::get_if<FormStep>(&steps_.front());
        if (!step) throw ScriptError("form " + form.name() + " is waiting for the user, but the next step answers a box");
        if (step->duringPause)
            throw ScriptError("form " + form.name() + " is waiting for the user, but \"" + step->description +
                              "\" waits for a pause");
        FormStep current = std::move(*step);
        steps_.pop_front();
        runStep(current, form);
    }
}

ScriptedWindowSystem::BoxAnswer ScriptedWindowSystem::nextAnswer(const std::string& what) {
    if (steps_.empty()) throw ScriptError("no answer queued for " + what);
    auto* answer = std::get_if<BoxAnswer>(&steps_.front());
    if (!answer)
        throw ScriptError(what + " is shown, but the next step is \"" + std::get<FormStep>(steps_.front()).description + "\"");
    BoxAnswer a = *answer;
    steps_.pop_front();
    return a;
}

Answer ScriptedWindowSystem::messageBox(const MessageRequest& request) {
    ShownBox box;
    box.kind = ShownBox::Kind::Message;
    box.text = request.text;
    box.buttons = request.buttons;
    box.defaultButton = request.buttons == Buttons::Ok ? Answer::Ok : request.defaultButton;
    box.title = request.title.empty() ? kProgramName : request.title;
    boxes.push_back(box);
    if (onBox) onBox(box);
    if (request.buttons == Buttons::Ok && autoAcknowledge && (steps_.empty() || !std::holds_alternative<BoxAnswer>(steps_.front()))) {
        return Answer::Ok;
    }
    BoxAnswer a = nextAnswer("message box " + describeBox(request.text));
    if (a.input) throw ScriptError("message box " + describeBox(request.text) + " is shown, but an input answer is queued");
    bool fits = request.buttons == Buttons::Ok ? a.answer == Answer::Ok : a.answer != Answer::Ok;
    if (!fits) throw ScriptError("message box " + describeBox(request.text) + " has no such button");
    boxes.back().answer = a.answer;
    return a.answer;
}

std::string ScriptedWindowSystem::inputBox(const std::string& prompt, const std::string& defaultText) {
    ShownBox box;
    box.kind = ShownBox::Kind::Input;
    box.text = prompt;
    box.title = kProgramName;
    box.defaultText = defaultText;
    boxes.push_back(box);
    if (onBox) onBox(box);
    BoxAnswer a = nextAnswer("input box " + describeBox(prompt));
    if (!a.input) throw ScriptError("input box " + describeBox(prompt) + " is shown, but a message answer is queued");
    boxes.back().reply = a.text;
    return a.text;
}

bool ScriptedWindowSystem::printForm(Form& form) {
    if (!printSucceeds) return false;
    formsPrinted.push_back(form.name());
    return true;
}

}  // namespace ui
