#include "player/PresentationMenu.h"

#include <algorithm>

#include "automation/AutomationError.h"
#include "automation/Variant.h"
#include "text/Utf.h"

namespace player {

namespace {

constexpr int kEnterKey = 13;

bool printable(const std::string& kind) { return kind == "XLS" || kind == "DOC" || kind == "PPT"; }

}  // namespace

std::string MenuEntryText(int n, const std::string& description) {
    // The "##" pattern shows nothing for 0; the number is then cut to its last two characters.
    const std::string number = "  " + (n == 0 ? std::string() : std::to_string(n));
    return number.substr(number.size() - 2) + ". " + description;
}

Us_Menu::Us_Menu(core::Context& ctx, const PresentationFile& file, MenuActions actions, long shownRow)
    : ui::Form("Us_Menu"), ctx_(ctx), file_(file), actions_(std::move(actions)), shownRow_(shownRow) {
    layOut();
    CommandButton1.onClick = [this] { commandbutton1_click(); };
    CommandButton2.onClick = [this] { CommandButton2_Click(); };
    ListBox1.onClick = [this] { ListBox1_Click(); };
    ListBox1.onKeyDown = [this](int& keyCode, int shift) { ListBox1_KeyDown(keyCode, shift); };
    ListBox1.onKeyUp = [this](int& keyCode, int shift) { ListBox1_KeyUp(keyCode, shift); };
    ListBox1.onMouseDown = [this](int button, int shift, double x, double y) { ListBox1_MouseDown(button, shift, x, y); };
    ListBox1.onMouseUp = [this](int button, int shift, double x, double y) { ListBox1_MouseUp(button, shift, x, y); };
}

void Us_Menu::layOut() {
    clientWidth = 600;
    clientHeight = 450;
    ListBox1.setGeometry(50, 78, 500, 230);
    ListBox1.setFont(ui::Font{"Courier New", 12, true});
    ListBox1.matchFirstLetter = false;  // entries begin with their numbers
    ListBox1.setTabIndex(0);
    Label1.setGeometry(18, 390, 100, 40);
    Label1.setFont(ui::Font{"Tahoma", 8.25, true});
    Label4.setGeometry(50, 24, 500, 20);
    Label4.setFont(ui::Font{"Tahoma", 16, true, false, true});
    Label4.centered = true;
    Label5.setGeometry(50, 45, 500, 20);
    Label5.setFont(ui::Font{"Tahoma", 16});
    Label5.centered = true;
    CommandButton1.setGeometry(120, 310, 120, 24);
    CommandButton1.setTabIndex(1);
    CommandButton2.setGeometry(360, 310, 120, 24);
    CommandButton2.setTabIndex(2);
}

void Us_Menu::setTexts() {
    setCaption(file_.settings().title + " - Presentation Menu");
    ListBox1.setToolTip(ctx_.tr("Click: display - Ctrl+Click: print an Excel,Word or PowerPoint line",
                                "Click: visualizza - Ctrl+Click: stampa una riga Excel,Word o PowerPoint"));
    Label1.setCaption(ctx_.tr("Alt+F4 or Esc:        return this Menu", "Alt+F4 o Esc:           torna a questo Menu"));
    Label5.setCaption(file_.settings().subtitle);
    CommandButton1.setCaption("Exit");
    CommandButton2.setCaption(ctx_.tr("Print the Presentation", "Stampa la Presentazione"));
    CommandButton2.setToolTip(ctx_.tr("Only Excel,Word and PowerPoint", "Soltanto Excel,Word e PowerPoint"));
}

void Us_Menu::UserForm_Initialize() {
    ctx_.state.LanguageCode = file_.settings().language;
    ctx_.windows.setLanguage(file_.settings().language);
    setTexts();
    try {
        std::vector<std::string> entries;
        std::size_t longest = 0;
        int remembered = -1;
        for (const PresentationLine& line : file_.lines()) {
            if (!line.listed()) continue;
            if (line.isSheet() && !file_.hasSheet(line.outputSheet)) sheetMissing(line);
            entries.push_back(MenuEntryText(static_cast<int>(entries.size()) + 1, line.description));
            longest = std::max(longest, text::characterCount(entries.back()));
            listed_.push_back(&line);
            // The line itself, not the last line of its sheet: two lines may show one sheet.
            if (line.isSheet() && line.row == shownRow_)
                remembered = static_cast<int>(entries.size()) - 1;
        }
        ListBox1.SetItems(entries);
        ListBox1.setColumnWidths(automation::formatGeneralNumber(static_cast<double>(longest) * 7.6 + 30) + " pt");
        if (remembered >= 0) {
            sw1 = 1;  // selecting the line just shown must not show it again
            ListBox1.SetListIndex(remembered);
            sw1 = 0;
        }
        Label4.setCaption(file_.groupName());
    } catch (const automation::AutomationError& error) {
        ctx_.msgBox("Error!\r" + std::to_string(error.number()) + "   " + error.description());
    }
}

// The close box does nothing: "Exit" ends the Presentation.
void Us_Menu::UserForm_QueryClose(int& cancel, ui::CloseMode mode) {
    if (mode == ui::CloseMode::CloseBox) cancel = 1;
}

void Us_Menu::commandbutton1_click() {
    exitRequested_ = true;
    Unload();
}

void Us_Menu::CommandButton2_Click() {
    try {
        if (!actions_.choosePrinter || !actions_.choosePrinter("dmy")) return;
        std::vector<const PresentationLine*> lines;
        for (const PresentationLine& line : file_.lines())
            if (line.printed()) lines.push_back(&line);
        printLines(lines);
    } catch (const automation::AutomationError& error) {
        ctx_.msgBox("Error!\r" + std::to_string(error.number()) + "   " + error.description());
    }
}

// A sheet line prints its sheet; a Word or PowerPoint line its document;
// other lines print nothing.
void Us_Menu::printLines(const std::vector<const PresentationLine*>& lines) {
    for (const PresentationLine* line : lines) {
        if (!line->inputSheet.empty()) {
            // Told and passed over, so the lines after it still print.
            if (!file_.hasSheet(line->outputSheet)) {
                sheetMissing(*line);
                continue;
            }
            actions_.printLine(*line);
        } else if (!line->objectName.empty() && (line->kind() == "DOC" || line->kind() == "PPT")) {
            actions_.printLine(*line);
        }
    }
}

void Us_Menu::sheetMissing(const PresentationLine& line) {
    ctx_.msgBox(line.description + "\r\r" + ctx_.tr("Has been deleted!!", "E' stato cancellato!!"));
}

void Us_Menu::ListBox1_Click() {
    if (sw1 != 1) GestLBox1(0);
}

void Us_Menu::ListBox1_KeyDown(int& keyCode, int) { enterDown_ = keyCode == kEnterKey; }

void Us_Menu::ListBox1_KeyUp(int& keyCode, int) {
    if (keyCode != kEnterKey || !enterDown_) return;
    enterDown_ = false;
    GestLBox1(0);
}

void Us_Menu::ListBox1_MouseDown(int button, int shift, double, double) {
    swindex = ListBox1.ListIndex();
    if (button == ui::kLeftButton && shift == ui::kCtrlMask) sw1 = 1;
}

void Us_Menu::ListBox1_MouseUp(int button, int shift, double, double) {
    if (!loaded()) return;  // the click showed a sheet and closed the menu
    const bool ctrlClick = button == ui::kLeftButton && shift == ui::kCtrlMask;
    // Whatever the mouse-down began ends here, also when Ctrl was let go first.
    sw1 = 0;
    if (!ctrlClick) {
        if (ListBox1.ListIndex() >= 0 && ListBox1.ListIndex() == swindex) GestLBox1(0);
        return;
    }
    const PresentationLine* line = GestLBox1(1);
    if (!line) return;
    try {
        if (!printable(line->kind())) {
            ctx_.msgBox(ctx_.tr("Print with the 'Print' button of the application!",
                                "Stampa con la funzione 'Stampa' dell'applicazione!"));
            return;
        }
        if (!actions_.choosePrinter || !actions_.choosePrinter(line->kind())) return;
        printLines({line});
    } catch (const automation::AutomationError& error) {
        ctx_.msgBox("Error!\r" + std::to_string(error.number()) + "   " + error.description());
    }
}

const PresentationLine* Us_Menu::GestLBox1(int swbox1) {
    const int index = ListBox1.ListIndex();
    if (index < 0 || index >= static_cast<int>(listed_.size())) return nullptr;
    const PresentationLine* line = listed_[static_cast<std::size_t>(index)];
    if (swbox1 == 1) return line;
    if (line->isSheet()) {
        if (!file_.hasSheet(line->outputSheet)) {
            sheetMissing(*line);
            return line;
        }
        sheetRequested_ = line;
        Unload();
        return line;
    }
    try {
        if (actions_.showObject) actions_.showObject(file_, *line);
    } catch (const automation::AutomationError& error) {
        ctx_.msgBox("Error!!!!\r" + std::to_string(error.number()) + "    " + error.description());
    }
    return line;
}

}  // namespace player
