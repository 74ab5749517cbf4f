#pragma once
// The line editor: the lines of one Presentation Group in a sorted list,
// and below it the fields of one line with the commands on lines.
#include <cstdint>
#include <string>

#include "core/Context.h"
#include "ui/model/Form.h"

namespace lines {

class Us_Menu : public ui::Form {
public:
    explicit Us_Menu(core::Context& ctx);

    ui::Label Label3{*this, "Label3"};
    ui::ListBox ListBox1{*this, "ListBox1"};
    ui::CommandButton CommandButton5{*this, "CommandButton5"};  // Insert new line
    ui::CommandButton CommandButton6{*this, "CommandButton6"};  // Duplicate line
    ui::CommandButton CommandButton2{*this, "CommandButton2"};  // Delete line
    ui::CommandButton CommandButton3{*this, "CommandButton3"};  // Exit
    ui::Frame Frame3{*this, "Frame3"};
    ui::Label Label7{*this, "Label7"};
    ui::TextBox TextBox3{*this, "TextBox3"};  // description
    ui::Label Label4{*this, "Label4"};
    ui::TextBox TextBox1{*this, "TextBox1"};  // file name
    ui::Label Label9{*this, "Label9"};
    ui::TextBox TextBox4{*this, "TextBox4"};  // sort number
    ui::Label Label8{*this, "Label8"};
    ui::ListBox ListBox3{*this, "ListBox3"};  // exclusion
    ui::CommandButton CommandButton1{*this, "CommandButton1"};  // Save
    ui::Frame Frame2{*this, "Frame2"};  // Excel
    ui::Label Label5{*this, "Label5"};
    ui::ListBox ListBox2{*this, "ListBox2"};  // sheet names
    ui::Label Label6{*this, "Label6"};
    ui::TextBox TextBox2{*this, "TextBox2"};  // output sheet
    ui::Frame Frame1{*this, "Frame1"};  // page range
    ui::Label Label10{*this, "Label10"};
    ui::TextBox TextBox5{*this, "TextBox5"};  // first page
    ui::Label Label11{*this, "Label11"};
    ui::TextBox TextBox6{*this, "TextBox6"};  // last page

    void UserForm_Initialize() override;
    void UserForm_QueryClose(int& cancel, ui::CloseMode mode) override;

    // Rebuilds ListBox1 and LineIds for SelectedGroup from the open base
    // workbook and selects the row of `lineId` (none for 0).
    void LoadGroupLines(std::int32_t lineId);

    void ListBox1_MouseUp(int button, int shift, double x, double y);
    void ListBox2_AfterUpdate();
    void ListBox2_MouseMove(int button, int shift, double x, double y);
    void Listbox3_AfterUpdate();
    void TextBox2_AfterUpdate();
    void TextBox3_AfterUpdate();
    void TextBox4_AfterUpdate();
    void TextBox5_AfterUpdate();
    void TextBox6_AfterUpdate();
    void TextBox1_KeyPress(int& keyAscii);
    void TextBox1_MouseUp(int button, int shift, double x, double y);
    void TextBox1_Change();

    // Chooses the line's file through the chooser in file mode and probes it;
    // a cancelled choice changes nothing.
    void FindFiles();

    void CommandButton1_Click();  // Save
    void CommandButton5_Click();  // Insert new line
    void CommandButton6_Click();  // Duplicate line
    void CommandButton2_Click();  // Delete line
    void CommandButton3_Click();  // Exit

    // Checks the number box `CheckedField` and fills `value` from it;
    // `flag` is its number in FieldErrors.
    void CheckNumericField(automation::Variant& value, int flag);
    // Writes, inserts or deletes the row of CurrentLine by LineEditMode,
    // reloads the list and saves; the base workbook must be open. False
    // (with the base workbook closed unchanged) when nothing was written.
    bool WriteCurrentLine();

    // Shows the exclusion code's entry in ListBox3.
    void selectExclusion(const std::string& code);

private:
    void layOut();
    void setTexts();
    void connectHandlers();
    // The save-time checks; true with the base workbook open when the line may be written.
    bool validateForSave();
    bool checkOutputSheetName();
    // A line of this group is loaded (clicked, or saved after an insert).
    bool lineLoaded() const;
    // Tells the user the line is gone and closes the base workbook unchanged.
    void reportLineGone(const std::string& id);
    // Opens the line's file with the desktop's program for it (Alt+click).
    void viewLineFile();
    void markRed(ui::Control& control) { control.setBackColor(ui::kRed); }
    void guarded(const std::function<void()>& body);

    core::Context& ctx_;
    ui::TextBox* CheckedField = nullptr;
};

// Shows the line editor for SelectedGroup and GroupEditMode; returns when it closes.
void ShowLineEditor(core::Context& ctx);

// The number at the end of `text` (0 when it does not end with a digit);
// `position` becomes the 1-based position just before those digits.
double TrailingNumber(const std::string& text, long& position);

}  // namespace lines
