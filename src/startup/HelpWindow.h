#pragma once
// UserForm1, the help window: one large text box with the help text; a
// right-button click on the text prints the window.
#include "core/Context.h"
#include "ui/model/Form.h"

namespace startup {

class UserForm1 : public ui::Form {
public:
    explicit UserForm1(core::Context& ctx);

    ui::TextBox TextBox1{*this, "TextBox1"};

    void TextBox1_MouseUp(int button, int shift, double x, double y);

private:
    core::Context& ctx_;
};

// Fills the help window for the language code and shows it modally; returns
// when it has been closed.
void ShowHelp(core::Context& ctx);

}  // namespace startup
