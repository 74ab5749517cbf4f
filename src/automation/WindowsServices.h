#pragma once
// The operating-system services the program calls: the file-system object,
// the desktop, opening a file with its program, the program's own path and a
// pause. Failures raise AutomationError with the numbers in AutomationError.h.
#include <memory>
#include <string>

namespace automation {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Raises an error when the folder cannot be opened (missing, not a folder,
    // not readable).
    virtual void GetFolder(const std::string& path) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool folderexists(const std::string& path) = 0;
    virtual void Createfolder(const std::string& path) = 0;
    // The folder part of a path, without a final separator.
    virtual std::string GetParentFolderName(const std::string& path) = 0;
    // With force, read-only files are deleted too; a missing file raises an error.
    virtual void deletefile(const std::string& path, bool force) = 0;
};

class Platform {
public:
    virtual ~Platform() = default;
    // Folder holding the running program, and its file name.
    virtual std::string ProgramFolder() = 0;
    virtual std::string ProgramFileName() = 0;
    // The user's desktop folder (may not exist yet).
    virtual std::string DesktopFolder() = 0;
    // Opens a file in the program the desktop associates with it; the result
    // is not checked by the callers.
    virtual void OpenWithAssociatedProgram(const std::string& path) = 0;
    // Blocks the calling thread.
    virtual void SleepMilliseconds(long milliseconds) = 0;
};

}  // namespace automation
