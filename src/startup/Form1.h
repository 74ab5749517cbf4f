#pragma once
// Form1, the chooser: a drive list, a folder list and a file list. In folder
// mode ("FLD", the first run) the user picks or creates a folder; in file
// mode (the line editor) a file. The caller sets ChooserMode,
// ChooserPattern and ChooserCaption, shows it with ShowChooser and reads
// ChooserResult: the folder (ending with "/") or the file's full path, ""
// when the user left by Exit.
#include <string>

#include "core/Context.h"
#include "startup/PlatformFolderLister.h"
#include "ui/model/FileControls.h"
#include "ui/model/Form.h"

namespace startup {

class Form1 : public ui::Form {
public:
    // `lineFileName`: the current line's file (file mode), whose folder the
    // chooser starts in; empty to start in DataFolder.
    Form1(core::Context& ctx, std::string lineFileName);

    ui::CommandButton Command1{*this, "Command1"};  // Select
    ui::CommandButton Command2{*this, "Command2"};  // Exit
    ui::DriveListBox Drive1{*this, "Drive1"};
    ui::DirListBox Dir1{*this, "Dir1"};
    ui::FileListBox File1{*this, "File1"};
    ui::CommandButton Command3{*this, "Command3"};  // Create a new folder

    // The folder shown, always ending with "/".
    std::string CurrentFolder;
    // Position in the drive list of the last drive that could be opened.
    int LastDriveIndex = -1;

    void UserForm_Initialize() override;
    void UserForm_QueryClose(int& cancel, ui::CloseMode mode) override;

    void Drive1_Change();
    void Dir1_Change();
    void Dir1_Click();
    void File1_Click();
    void File1_DblClick();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

private:
    void layOut();
    bool fileMode() const;
    // The folder to start in, with the final "/".
    std::string startFolder();
    void setCurrentFolder(const std::string& folder);
    // Shows "number  description" of a listing of `folder` that failed; the
    // same failure is told once even when the folder is clicked and opened.
    void reportListingError(const std::string& folder, const std::optional<ui::ListingError>& error);
    void createFolderDialogue();

    core::Context& ctx_;
    std::string lineFileName_;
    PlatformFolderLister lister_;
    bool changingDrive_ = false;  // Drive1_Change runs: Dir1_Change reports nothing itself
    bool restoringDrive_ = false; // the drive list goes back: no Change work
    std::string lastReport_;      // folder and error told last
};

// Shows the chooser modally and returns when it has closed; the answer is in
// ctx.state.ChooserResult.
void ShowChooser(core::Context& ctx, const std::string& lineFileName = {});

}  // namespace startup
