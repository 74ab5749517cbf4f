#include "startup/HelpWindow.h"

#include "startup/HelpText.h"

namespace startup {

UserForm1::UserForm1(core::Context& ctx) : ui::Form("UserForm1"), ctx_(ctx) {
    clientWidth = 595.5;
    clientHeight = 431.3;
    TextBox1.setGeometry(12, 6, 576, 415.5);
    ui::Font courier;
    courier.name = "Courier New";
    courier.size = 10;
    TextBox1.setFont(courier);
    // The whole text fits, so no scroll bars.
    TextBox1.multiLine = true;
    TextBox1.scrollBars = false;
    TextBox1.setLocked(true);  // a text to read and print, not to edit
    TextBox1.onMouseUp = [this](int button, int shift, double x, double y) { TextBox1_MouseUp(button, shift, x, y); };
}

void UserForm1::TextBox1_MouseUp(int button, int /*shift*/, double /*x*/, double /*y*/) {
    if (button != ui::kRightButton) return;
    bool confirmed = ctx_.windows.askYesNo(ctx_.tr("Do you confirm to print?", "Confermi la stampa?"), true);
    if (confirmed) ctx_.windows.printForm(*this);
}

void ShowHelp(core::Context& ctx) {
    UserForm1 form(ctx);
    form.TextBox1.setText(HelpText(ctx.state.LanguageCode));
    // Caret at the start, nothing selected: the text shows from its first line.
    form.TextBox1.SetSelStart(0);
    form.TextBox1.SetSelLength(0);
    form.setCaption(ctx.state.TitleText + "  Tutorial");
    ctx.windows.showModal(form);
}

}  // namespace startup
