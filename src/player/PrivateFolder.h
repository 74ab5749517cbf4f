#pragma once
// A temporary folder only this user may enter (mode 0700) for the player's
// private files, removed with the object. It is named as the object opener
// names its own, so one a crashed player left goes at a later start.
#include <string>

namespace player {

class PrivateFolder {
public:
    // AutomationError when the folder cannot be made.
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace player
