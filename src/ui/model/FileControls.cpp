#include "ui/model/FileControls.h"

namespace ui {

std::string folderPath(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder.empty() ? "/" : folder;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// --- DriveListBox --------------------------------------------------------

void DriveListBox::setLister(FolderLister* lister) {
    lister_ = lister;
    Refresh();
}

void DriveListBox::Refresh() {
    const std::string chosen = Drive();
    drives_ = lister_ ? lister_->drives() : std::vector<DriveItem>{};
    std::vector<std::string> captions;
    for (const DriveItem& drive : drives_) captions.push_back(drive.caption);
    // SetItems clears the selection without an event; it is put back the same way.
    SetItems(captions);
    for (std::size_t k = 0; k < drives_.size(); ++k)
        if (drives_[k].root == chosen) {
            quiet_ = true;
            SetListIndex(static_cast<int>(k));
            quiet_ = false;
        }
}

std::string DriveListBox::Drive() const {
    const int index = ListIndex();
    return index >= 0 && index < static_cast<int>(drives_.size()) ? drives_[static_cast<std::size_t>(index)].root : "";
}

int DriveListBox::driveIndexOf(const std::string& path) const {
    const std::string folder = folderPath(path);
    int best = -1;
    std::size_t bestLength = 0;
    for (std::size_t k = 0; k < drives_.size(); ++k) {
        const std::string root = folderPath(drives_[k].root);
        const bool inside = folder == root || root == "/" || folder.rfind(root + "/", 0) == 0;
        if (inside && (best < 0 || root.size() > bestLength)) {
            best = static_cast<int>(k);
            bestLength = root.size();
        }
    }
    return best;
}

// --- DirListBox ----------------------------------------------------------

void DirListBox::setPath(const std::string& folder) {
    const std::string target = folderPath(folder);
    const bool changed = target != path_;
    path_ = target;
    list();
    if (changed) fireChange();
}

void DirListBox::Refresh() { list(); }

void DirListBox::list() {
    // The tree down to the current folder: "/", then each folder on the way.
    std::vector<std::string> captions;
    paths_.clear();
    std::string indent;
    std::string walked = "/";
    paths_.push_back("/");
    captions.push_back("/");
    for (std::size_t start = 1; start < path_.size();) {
        std::size_t end = path_.find('/', start);
        if (end == std::string::npos) end = path_.size();
        const std::string name = path_.substr(start, end - start);
        indent += "  ";
        walked = joinPath(walked, name);
        paths_.push_back(walked);
        captions.push_back(indent + name);
        start = end + 1;
    }
    const int current = static_cast<int>(paths_.size()) - 1;
    error_.reset();
    std::vector<std::string> names;
    try {
        if (lister_) names = lister_->subfolders(path_);
    } catch (const ListingFailed& failed) {
        error_ = failed.error();
    }
    for (const std::string& name : names) {
        paths_.push_back(joinPath(path_, name));
        captions.push_back(indent + "  " + name);
    }
    SetItems(captions);
    quiet_ = true;
    SetListIndex(current);
    quiet_ = false;
}

std::string DirListBox::pathAt(int index) const {
    return index >= 0 && index < static_cast<int>(paths_.size()) ? paths_[static_cast<std::size_t>(index)] : "";
}

int DirListBox::indexOfPath(const std::string& path) const {
    const std::string wanted = folderPath(path);
    for (std::size_t k = 0; k < paths_.size(); ++k)
        if (paths_[k] == wanted) return static_cast<int>(k);
    return -1;
}

std::string DirListBox::selectedPath() const {
    const std::string selected = pathAt(ListIndex());
    return selected.empty() ? path_ : selected;
}

void DirListBox::userDoubleClick(int index) {
    if (index < 0 || index >= static_cast<int>(paths_.size())) return;
    const std::string target = paths_[static_cast<std::size_t>(index)];
    SetListIndex(index);
    setPath(target);
    fireDblClick();
}

// --- FileListBox ---------------------------------------------------------

void FileListBox::setPath(const std::string& folder) {
    path_ = folderPath(folder);
    list();
}

void FileListBox::setPattern(const std::string& pattern) {
    pattern_ = pattern;
    if (!path_.empty()) list();
}

void FileListBox::Refresh() { list(); }

void FileListBox::list() {
    error_.reset();
    std::vector<std::string> names;
    try {
        if (lister_) names = lister_->files(path_, pattern_);
    } catch (const ListingFailed& failed) {
        error_ = failed.error();
    }
    SetItems(names);
}

}  // namespace ui
