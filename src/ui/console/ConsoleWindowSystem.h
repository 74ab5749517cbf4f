#pragma once
// A window system for runs without a display (the batch build): every
// message box is printed, input boxes take their answers from a list the
// caller fills, and no window ever opens.
#include <deque>
#include <ostream>
#include <string>

#include "ui/model/WindowSystem.h"

namespace ui {

class ConsoleWindowSystem : public WindowSystem {
public:
    explicit ConsoleWindowSystem(std::ostream& out) : out_(out) {}

    // The answers to the next input boxes, in order. An input box with no
    // answer left prints its prompt and gets "" (as Cancel does).
    void queueAnswer(const std::string& answer) { answers_.push_back(answer); }
    void clearAnswers() { answers_.clear(); }

    // Forms have no place here: one shown is loaded and closed at once.
    void showModal(Form& form) override;
    // Loaded and left loaded, without a window, until the program unloads it.
    void showModeless(Form& form) override { form.ensureLoaded(); }
    // Prints the text (line breaks as new lines); a question gets its default answer.
    Answer messageBox(const MessageRequest& request) override;
    std::string inputBox(const std::string& prompt, const std::string& defaultText) override;
    void doEvents() override {}
    bool printForm(Form&) override { return false; }
    void setLanguage(const std::string& code) override { language_ = code; }

    // A line of the caller's own (progress, summaries).
    void printLine(const std::string& line);

private:
    std::ostream& out_;
    std::deque<std::string> answers_;
    std::string language_;
};

// The text with each CR LF, CR or LF made one new line.
std::string ConsoleLines(const std::string& text);

}  // namespace ui
