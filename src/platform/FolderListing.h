#pragma once
// What the chooser's drive, folder and file lists show, on Linux: the file
// systems a user picks from, and the sub-folders and files of a folder.
#include <string>
#include <vector>

#include "automation/WindowsServices.h"

namespace platform {

// The drive list from a mount table in the form of /proc/self/mounts: the
// root, the home folder, then the media mounted under /media, /run/media
// and /mnt (pseudo file systems left out): removable media first, each
// group by name.
std::vector<automation::DriveInfo> DrivesFromMountTable(const std::string& mountTable, const std::string& home);

// The same from this process's mount table.
std::vector<automation::DriveInfo> MountedDrives(const std::string& home);

// Sub-folder and file names of `folder`, hidden ones left out, sorted for
// display; links count as what they point at. A folder that cannot be read
// raises the file-system object's error.
std::vector<std::string> SubfolderNames(const std::string& folder);
std::vector<std::string> FileNames(const std::string& folder, const std::string& pattern);

// Whether `name` matches one of the ";"-separated patterns, where "*" is any
// run of characters and "?" one character, letter case ignored.
bool MatchesPattern(const std::string& name, const std::string& patterns);

}  // namespace platform
