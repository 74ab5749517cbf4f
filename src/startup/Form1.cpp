#include "startup/Form1.h"

#include "automation/AutomationError.h"
#include "core/Text.h"

namespace startup {

namespace {

// Twips, as the window was designed, in points.
constexpr double pt(double twips) { return twips / 20; }
// Folder mode shows only the drive list, the folder list and the buttons.
constexpr double kFolderModeWidth = pt(4200 - 105);

const char* const kNewFolderPrompt = "Fill in with new folder name:";
const char* const kForbiddenPrompt = "A folder name does not contains the following characters: \\/:*?\"<>|";
const char* const kExistsPrompt = "The folder already exists.";

std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string numberAndDescription(long number, const std::string& description) {
    return std::to_string(number) + "  " + description;
}

}  // namespace

Form1::Form1(core::Context& ctx, std::string lineFileName)
    : ui::Form("Form1"), ctx_(ctx), lineFileName_(std::move(lineFileName)), lister_(ctx.platform) {
    layOut();
    Drive1.onChange = [this] { Drive1_Change(); };
    Dir1.onChange = [this] { Dir1_Change(); };
    Dir1.onClick = [this] { Dir1_Click(); };
    File1.onClick = [this] { File1_Click(); };
    File1.onDblClick = [this] { File1_DblClick(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
}

void Form1::layOut() {
    clientWidth = pt(8280);
    clientHeight = pt(5970);
    Command1.setGeometry(pt(960), pt(4560), pt(1095), pt(375));
    Command2.setGeometry(pt(2160), pt(4560), pt(1095), pt(375));
    Drive1.setGeometry(pt(120), pt(720), pt(3855), pt(315));
    Dir1.setGeometry(pt(120), pt(1080), pt(3855), pt(3015));
    File1.setGeometry(pt(3960), pt(1080), pt(4215), pt(3015));
    Command3.setGeometry(pt(960), pt(5160), pt(2295), pt(375));
    int tab = 0;
    for (ui::Control* control : controls()) control->setTabIndex(tab++);
    // The captions as designed; loading sets them again.
    Command1.setCaption("Select");
    Command2.setCaption("Exit");
    Command3.setCaption("Create a new folder");
    Dir1.setToolTip("DblClick: open");
    File1.setToolTip("Click: select");
    Dir1.matchFirstLetter = false;  // the entries are indented paths
}

bool Form1::fileMode() const { return ctx_.state.ChooserMode != "FLD"; }

void Form1::UserForm_Initialize() {
    core::AppState& state = ctx_.state;
    // A window that closes before a file was taken must not hand back an
    // answer of an earlier use.
    if (fileMode()) state.ChooserResult.clear();
    try {
        state.FileSystem = ctx_.objects.CreateFileSystem();
    } catch (const automation::AutomationError&) {
        state.FileSystem.reset();
    }
    if (!state.FileSystem) {
        ctx_.msgBox(ctx_.tr("Error opening 'FileSystemObject'.", "Errore nell'apertura del 'FileSystemObject'."));
        return;
    }

    Drive1.setLister(&lister_);
    Dir1.setLister(&lister_);
    File1.setLister(&lister_);
    // The pattern first, so that the files are listed once.
    File1.setPattern("*" + state.ChooserPattern);

    const std::string start = startFolder();
    const int drive = Drive1.driveIndexOf(start);
    if (drive >= 0) {
        restoringDrive_ = true;  // the folder list moves to the start folder itself
        Drive1.SetListIndex(drive);
        restoringDrive_ = false;
        Dir1.setPath(start);
    }
    LastDriveIndex = Drive1.ListIndex();

    if (fileMode()) Command1.setEnabled(false);
    Command2.setCaption("Exit");
    if (!fileMode()) {
        Command3.setCaption("Create a new folder");
        File1.setVisible(false);
        clientWidth = kFolderModeWidth;
        setCurrentFolder(start);
        state.ChooserResult = CurrentFolder;
    } else {
        Command3.setVisible(false);
        setCurrentFolder(start);
    }
    setCaption(state.ChooserCaption);
    Command1.setCaption("Select");
}

// A frame close in file mode is an Exit: the name clicked last is no answer
// on its own. In folder mode the folder shown counts as chosen.
void Form1::UserForm_QueryClose(int&, ui::CloseMode mode) {
    if (mode == ui::CloseMode::CloseBox && fileMode()) ctx_.state.ChooserResult.clear();
}

std::string Form1::startFolder() {
    automation::FileSystem& files = *ctx_.state.FileSystem;
    std::string folder;
    if (!lineFileName_.empty()) folder = files.GetParentFolderName(lineFileName_);
    if (folder.empty()) folder = ctx_.state.DataFolder;
    folder = withSeparator(folder);
    // A line whose folder has gone starts in the data folder, and a data
    // folder that has gone too in the home folder.
    if (files.folderexists(folder)) return folder;
    if (files.folderexists(ctx_.state.DataFolder)) return withSeparator(ctx_.state.DataFolder);
    try {
        for (const automation::DriveInfo& drive : ctx_.platform.ListDrives())
            if (drive.kind == automation::DriveInfo::Kind::Home) return withSeparator(drive.root);
    } catch (const automation::AutomationError&) {
    }
    return "/";
}

void Form1::setCurrentFolder(const std::string& folder) { CurrentFolder = withSeparator(folder); }

void Form1::reportListingError(const std::string& folder, const std::optional<ui::ListingError>& error) {
    if (!error) {
        lastReport_.clear();
        return;
    }
    const std::string text = numberAndDescription(error->number, error->description);
    if (lastReport_ == folder + '\n' + text) return;
    lastReport_ = folder + '\n' + text;
    ctx_.msgBox(text);
}

void Form1::Drive1_Change() {
    if (restoringDrive_) return;
    const std::string previous = Dir1.Path();
    if (fileMode()) Command1.setEnabled(false);
    changingDrive_ = true;
    Dir1.setPath(Drive1.Drive());
    changingDrive_ = false;
    if (const auto& error = Dir1.listingError()) {
        // A drive that cannot be opened: say why and go back to the last good one.
        reportListingError(Dir1.Path(), error);
        restoringDrive_ = true;
        Drive1.SetListIndex(LastDriveIndex);
        restoringDrive_ = false;
        Dir1.setPath(previous);
        return;
    }
    LastDriveIndex = Drive1.ListIndex();
    if (!fileMode()) ctx_.state.ChooserResult = CurrentFolder;
}

void Form1::Dir1_Change() {
    setCurrentFolder(Dir1.Path());
    if (fileMode()) {
        Command1.setEnabled(false);
        File1.setPath(Dir1.Path());
    } else {
        ctx_.state.ChooserResult = CurrentFolder;
    }
    if (!changingDrive_) reportListingError(Dir1.Path(), Dir1.listingError());
}

void Form1::Dir1_Click() {
    const std::string clicked = Dir1.selectedPath();
    setCurrentFolder(clicked);
    if (fileMode()) {
        File1.setPath(clicked);
        Command1.setEnabled(false);
        reportListingError(clicked, File1.listingError());
    } else {
        ctx_.state.ChooserResult = CurrentFolder;
    }
}

void Form1::File1_Click() {
    if (File1.ListIndex() < 0) return;
    Command1.setEnabled(true);
    ctx_.state.ChooserResult = File1.FileName();
}

// A double-click takes the file, as clicking it and Select do.
void Form1::File1_DblClick() {
    File1_Click();
    if (Command1.enabled()) Command1_Click();
}

void Form1::Command1_Click() {
    if (fileMode()) ctx_.state.ChooserResult = CurrentFolder + ctx_.state.ChooserResult;
    Unload();
}

void Form1::Command2_Click() {
    ctx_.state.ChooserResult.clear();
    Unload();
}

void Form1::Command3_Click() { createFolderDialogue(); }

void Form1::createFolderDialogue() {
    core::AppState& state = ctx_.state;
    std::string prompt = kNewFolderPrompt;
    std::string typed;
    for (;;) {
        const std::string name = core::Trim(ctx_.windows.inputBox(prompt, typed));
        if (name.empty()) return;
        typed = name;
        if (core::HasForbiddenNameCharacter(name)) {
            prompt = kForbiddenPrompt;
            continue;
        }
        const std::string folder = state.ChooserResult + name;
        if (state.FileSystem->folderexists(folder)) {
            prompt = kExistsPrompt;
            continue;
        }
        if (!ctx_.windows.askYesNo("The creation of the folder:\n" + folder + "\n\nis in progress. Do you confirm?", true))
            return;
        try {
            state.FileSystem->Createfolder(folder);
        } catch (const automation::AutomationError& error) {
            // The chooser stays open for another name or another place.
            ctx_.msgBox("The folder could not be created:\n" + folder + "\n\n" +
                        numberAndDescription(error.number(), error.description()));
            return;
        }
        state.ChooserResult = folder;
        Unload();
        return;
    }
}

void ShowChooser(core::Context& ctx, const std::string& lineFileName) {
    Form1 form(ctx, lineFileName);
    ctx.windows.showModal(form);
}

}  // namespace startup
