#include "ui/console/ConsoleWindowSystem.h"

namespace ui {

std::string ConsoleLines(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\r') {
            lines += '\n';
            if (k + 1 < text.size() && text[k + 1] == '\n') ++k;
        } else {
            lines += text[k];
        }
    }
    return lines;
}

void ConsoleWindowSystem::showModal(Form& form) {
    form.ensureLoaded();
    if (form.loaded()) form.Unload();
}

Answer ConsoleWindowSystem::messageBox(const MessageRequest& request) {
    printLine(ConsoleLines(request.text));
    if (request.buttons == Buttons::Ok) return Answer::Ok;
    return request.defaultButton == Answer::Yes ? Answer::Yes : Answer::No;
}

std::string ConsoleWindowSystem::inputBox(const std::string& prompt, const std::string&) {
    if (answers_.empty()) {
        printLine(ConsoleLines(prompt));
        return {};
    }
    std::string answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void ConsoleWindowSystem::printLine(const std::string& line) { out_ << line << '\n' << std::flush; }

}  // namespace ui
