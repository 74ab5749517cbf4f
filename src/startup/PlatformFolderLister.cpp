#include "startup/PlatformFolderLister.h"

#include "automation/AutomationError.h"

namespace startup {

namespace {

template <typename List>
auto listed(List&& list) -> decltype(list()) {
    try {
        return list();
    } catch (const automation::AutomationError& error) {
        throw ui::ListingFailed({error.number(), error.description()});
    }
}

std::string captionOf(const automation::DriveInfo& drive) {
    using Kind = automation::DriveInfo::Kind;
    if (drive.kind == Kind::Root) return drive.root;
    const std::string name = drive.kind == Kind::Home ? "Home" : drive.label;
    return name.empty() ? drive.root : name + " (" + drive.root + ")";
}

}  // namespace

std::vector<ui::DriveItem> PlatformFolderLister::drives() {
    std::vector<ui::DriveItem> items;
    try {
        for (const automation::DriveInfo& drive : platform_.ListDrives()) items.push_back({drive.root, captionOf(drive)});
    } catch (const automation::AutomationError&) {
        items.clear();
    }
    if (items.empty()) items.push_back({"/", "/"});
    return items;
}

std::vector<std::string> PlatformFolderLister::subfolders(const std::string& folder) {
    return listed([&] { return platform_.ListSubfolders(folder); });
}

std::vector<std::string> PlatformFolderLister::files(const std::string& folder, const std::string& pattern) {
    return listed([&] { return platform_.ListFiles(folder, pattern); });
}

}  // namespace startup
