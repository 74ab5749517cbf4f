#pragma once
// A temporary folder only this user may read (0700), for private copies of a
// Presentation's embedded documents and what is made from them. It goes with
// its owner; one left by a player that crashed or was killed goes when the
// next one is made.
#include <cstdint>
#include <string>
#include <vector>

namespace player {

class PrivateFolder {
public:
    // AutomationError when the folder cannot be made.
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return path_; }
    // A new, empty folder (0700) inside: each copy gets one, so copies of
    // the same name never meet.
    std::string newSubfolder();

    // Writes a new file (0600; an existing one is an error). AutomationError
    // (75) naming the file when it cannot be written.
    static void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

private:
    std::string path_;
    int made_ = 0;
};

}  // namespace player
