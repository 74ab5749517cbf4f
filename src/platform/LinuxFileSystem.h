#pragma once
// The file-system object on Linux. Paths use "/" as the separator; a
// backslash is an ordinary character of a name here, as are "*" and "?"
// (deletefile takes one file, never a pattern).
#include <string>

#include "automation/AutomationError.h"
#include "automation/WindowsServices.h"

namespace platform {

class LinuxFileSystem : public automation::FileSystem {
public:
    // Raises 76 when the folder is missing or is a file, 70 when it cannot be
    // listed or entered, and the mapped number for any other failure.
    void GetFolder(const std::string& path) override;
    // True only for a regular file (or a link to one).
    bool FileExists(const std::string& path) override;
    bool folderexists(const std::string& path) override;
    // 58 when something of that name exists, 76 when the parent is missing.
    void Createfolder(const std::string& path) override;
    // Lexical: "/a/b/c.xls" gives "/a/b", "/a/b/" gives "/a", "/a" gives "/",
    // a bare name and "/" itself give "".
    std::string GetParentFolderName(const std::string& path) override;
    // A file whose write permission bits are all clear counts as read-only:
    // without force it raises 70 and stays. A missing file (or a folder)
    // raises 53, a missing folder on the way 76.
    void deletefile(const std::string& path, bool force) override;
};

}  // namespace platform
