#pragma once
// The Presentation Menu: the listed lines of a Presentation, "Exit" and the
// print button. A click shows a line, Ctrl+Click prints it, the print button
// prints every line not kept out of printing. The close box is refused.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Context.h"
#include "player/PresentationFile.h"
#include "ui/model/Form.h"

namespace player {

// What the menu hands to the player around it.
struct MenuActions {
    // Shows an embedded document or other file; the menu stays.
    std::function<void(const PresentationFile&, const PresentationLine&)> showObject;
    // Asks for the printer once per print command, for a line kind ("XLS",
    // "DOC", "PPT") or "dmy" for the whole Presentation; false when cancelled.
    std::function<bool(const std::string& kind)> choosePrinter;
    // Prints one line on the printer chosen last.
    std::function<void(const PresentationLine&)> printLine;
};

// The entry text of the n-th listed line: n in two characters (" 7", "12",
// "00" for the hundredth), ". " and the description.
std::string MenuEntryText(int n, const std::string& description);

class Us_Menu : public ui::Form {
public:
    // `shownRow`: the "DATA" row of the sheet line just shown, selected when
    // the menu opens without showing it again (0: none).
    Us_Menu(core::Context& ctx, const PresentationFile& file, MenuActions actions, long shownRow = 0);

    ui::ListBox ListBox1{*this, "ListBox1"};
    ui::Label Label1{*this, "Label1"};  // the hint
    ui::Label Label4{*this, "Label4"};  // the group name
    ui::Label Label5{*this, "Label5"};  // the subtitle
    ui::CommandButton CommandButton1{*this, "CommandButton1"};  // Exit
    ui::CommandButton CommandButton2{*this, "CommandButton2"};  // Print the Presentation

    void UserForm_Initialize() override;
    void UserForm_QueryClose(int& cancel, ui::CloseMode mode) override;

    void commandbutton1_click();
    void CommandButton2_Click();
    void ListBox1_Click();
    void ListBox1_KeyDown(int& keyCode, int shift);
    void ListBox1_KeyUp(int& keyCode, int shift);
    void ListBox1_MouseDown(int button, int shift, double x, double y);
    void ListBox1_MouseUp(int button, int shift, double x, double y);
    // Loads the selected entry's line; with `swbox1` 0 also shows it.
    // Nothing when no entry is selected.
    const PresentationLine* GestLBox1(int swbox1);

    // How the menu ended: "Exit" pressed, or a sheet line to be shown.
    bool exitRequested() const { return exitRequested_; }
    const PresentationLine* sheetRequested() const { return sheetRequested_; }

private:
    void layOut();
    void setTexts();
    void printLines(const std::vector<const PresentationLine*>& lines);
    void sheetMissing(const PresentationLine& line);

    core::Context& ctx_;
    const PresentationFile& file_;
    MenuActions actions_;
    long shownRow_;
    // The line of each list entry.
    std::vector<const PresentationLine*> listed_;
    int sw1 = 0;       // 1 while list clicks are to be ignored
    int swindex = -1;  // the list index at the last mouse-down
    // Enter went down on the list: the release of an Enter that closed a
    // box over the menu shows nothing.
    bool enterDown_ = false;
    bool exitRequested_ = false;
    const PresentationLine* sheetRequested_ = nullptr;
};

}  // namespace player
