#pragma once
// The main window: the list of Presentation Groups and the commands on them.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Context.h"
#include "ui/model/Form.h"

namespace groups {

class UserForm00 : public ui::Form {
public:
    explicit UserForm00(core::Context& ctx);

    ui::ListBox ListBox1{*this, "ListBox1"};
    ui::CommandButton CommandButton1{*this, "CommandButton1"};  // New
    ui::CommandButton CommandButton2{*this, "CommandButton2"};  // Update
    ui::CommandButton CommandButton3{*this, "CommandButton3"};  // Delete
    ui::CommandButton CommandButton6{*this, "CommandButton6"};  // Copy
    ui::CommandButton CommandButton5{*this, "CommandButton5"};  // Create the Presentation
    ui::CommandButton CommandButton7{*this, "CommandButton7"};  // Help
    ui::CommandButton CommandButton4{*this, "CommandButton4"};  // Exit
    ui::Label Label1{*this, "Label1"};
    ui::CommandButton CommandButton8{*this, "CommandButton8"};  // Uninstall

    void UserForm_Initialize() override;
    void UserForm_QueryClose(int& cancel, ui::CloseMode mode) override;

    // Fills the list from DataSheet; the base workbook must be open.
    void CarLista();

    void ListBox1_Click();
    void CommandButton1_Click();
    void CommandButton2_Click();
    void CommandButton3_Click();
    void CommandButton4_Click();
    // Create the Presentation: builds the selected group, reports the file,
    // opens it for the user and ends the program.
    void CommandButton5_Click();
    void CommandButton6_Click();
    void CommandButton7_Click();
    void CommandButton8_MouseUp(int button, int shift, double x, double y);
    // Removes the launcher, the base workbook and the program file; ends the program.
    [[noreturn]] void Uninstall();

    // True when New or Update closed the window to hand over to the line editor.
    bool lineEditorRequested() const { return lineEditorRequested_; }

private:
    void layOut();
    void setTexts();
    // The check Update, Delete and Copy share: false when the command must stop.
    bool selectionCheck();
    // Asks for a new GroupName until it is valid; nothing when the user gives
    // an empty answer or cancels.
    std::optional<std::string> askGroupName(const std::string& defaultText);
    // True (after telling the user) when `name` is already in the list.
    bool reportDuplicate(const std::string& name);
    // Rows of DATA (from row 2 to the end of the table) whose trimmed group
    // name equals `group` ignoring case; the base workbook must be open.
    std::vector<long> rowsOfGroup(const std::string& group);
    // The list rebuilt from the open workbook, which is then closed
    // unchanged, and `message` shown: the workbook did not match the list.
    void reloadAfter(const std::string& message);
    void reportGroupGone();
    // Green "OK" on the button for half a second, then `caption`.
    void handOverToLineEditor(const std::string& mode);
    // Runs a command body, ending in the fatal-error path on an automation error.
    void guarded(const std::function<void()>& body);

    core::Context& ctx_;
    bool lineEditorRequested_ = false;
};

}  // namespace groups
