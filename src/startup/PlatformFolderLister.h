#pragma once
// The chooser's lists read the platform's listings through this: drive
// captions as the list shows them, and the platform's errors as the
// window's listing errors.
#include "automation/WindowsServices.h"
#include "ui/model/FileControls.h"

namespace startup {

class PlatformFolderLister : public ui::FolderLister {
public:
    explicit PlatformFolderLister(automation::Platform& platform) : platform_(platform) {}

    // "/", "Home (/home/anna)", "USB STICK (/media/anna/USB STICK)". A drive
    // list that cannot be read shows the root alone.
    std::vector<ui::DriveItem> drives() override;
    std::vector<std::string> subfolders(const std::string& folder) override;
    std::vector<std::string> files(const std::string& folder, const std::string& pattern) override;

private:
    automation::Platform& platform_;
};

}  // namespace startup
