#pragma once
// The drive, folder and file lists of a chooser window. They read what they
// show through a FolderLister the form hands them (the program wires the
// platform's listings; tests may give their own), anew whenever they move,
// so they never show a listing read earlier. Paths use "/"; a folder is
// written without a final "/" except the root.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/model/Control.h"

namespace ui {

struct DriveItem {
    std::string root;     // the drive's top folder
    std::string caption;  // as the list shows it
};

// Why a folder could not be listed, as a message shows it.
struct ListingError {
    long number = 0;
    std::string description;
};

class ListingFailed : public std::runtime_error {
public:
    explicit ListingFailed(ListingError error) : std::runtime_error(error.description), error_(std::move(error)) {}
    const ListingError& error() const { return error_; }

private:
    ListingError error_;
};

class FolderLister {
public:
    virtual ~FolderLister() = default;
    virtual std::vector<DriveItem> drives() = 0;
    // Names, sorted for display. A folder that cannot be read raises ListingFailed.
    virtual std::vector<std::string> subfolders(const std::string& folder) = 0;
    virtual std::vector<std::string> files(const std::string& folder, const std::string& pattern) = 0;
};

// `path` without final "/" (the root stays "/"; "" becomes "/").
std::string folderPath(const std::string& path);
// `folder` and `name` joined by one "/".
std::string joinPath(const std::string& folder, const std::string& name);

// The drives; choosing one (by the user or through SetListIndex) runs Change.
class DriveListBox : public ListBox {
public:
    DriveListBox(Form& form, std::string name) : ListBox(form, std::move(name), ControlKind::DriveListBox) {}

    // Reads the drives from `lister` (kept; it must outlive the control).
    void setLister(FolderLister* lister);
    // Reads the drives again, keeping the chosen one while it is there; no Change.
    void Refresh();
    // Root of the chosen drive, "" when none is chosen.
    std::string Drive() const;
    // The drive `path` lies on: the one with the longest root it starts with; -1 if none.
    int driveIndexOf(const std::string& path) const;

protected:
    void selectionChanged() override {
        if (!quiet_) fireChange();
    }

private:
    FolderLister* lister_ = nullptr;
    std::vector<DriveItem> drives_;
    bool quiet_ = false;  // putting the selection back after a refresh
};

// The folder tree from the root down to the current folder, then the
// current folder's sub-folders. After a move the current folder is the
// selected entry; a click selects another entry (Click), a double-click or
// Enter opens it (Change, then DblClick).
class DirListBox : public ListBox {
public:
    DirListBox(Form& form, std::string name) : ListBox(form, std::move(name), ControlKind::DirListBox) {}

    void setLister(FolderLister* lister) { lister_ = lister; }
    const std::string& Path() const { return path_; }
    // Moves to `folder` and lists it; Change runs when the path changed. A
    // folder that cannot be read is entered all the same, with no
    // sub-folders shown, and listingError() tells why (until the next move).
    void setPath(const std::string& folder);
    // Lists the current folder again; no Change.
    void Refresh();
    const std::optional<ListingError>& listingError() const { return error_; }

    // Full path of entry `index`; -1 and nothing when out of range.
    std::string pathAt(int index) const;
    int indexOfPath(const std::string& path) const;
    // The folder the selected entry names (the current folder when none).
    std::string selectedPath() const;

    void userDoubleClick(int index) override;

protected:
    void selectionChanged() override {
        if (!quiet_) fireClick();
    }

private:
    void list();
    FolderLister* lister_ = nullptr;
    std::string path_;
    std::vector<std::string> paths_;  // one per entry
    std::optional<ListingError> error_;
    bool quiet_ = false;  // selecting the current folder after a move
};

// The files of a folder that match a pattern; Click and DblClick as a list box.
class FileListBox : public ListBox {
public:
    FileListBox(Form& form, std::string name) : ListBox(form, std::move(name), ControlKind::FileListBox) {}

    void setLister(FolderLister* lister) { lister_ = lister; }
    const std::string& Path() const { return path_; }
    // Lists `folder`: nothing selected; an unreadable folder shows no files
    // and listingError() tells why.
    void setPath(const std::string& folder);
    const std::string& Pattern() const { return pattern_; }
    void setPattern(const std::string& pattern);
    void Refresh();
    const std::optional<ListingError>& listingError() const { return error_; }
    // Name of the selected file, "" when none.
    std::string FileName() const { return Value(); }

private:
    void list();
    FolderLister* lister_ = nullptr;
    std::string path_;
    std::string pattern_ = "*";
    std::optional<ListingError> error_;
};

}  // namespace ui
