#pragma once
// The operating-system services the program calls: the file-system object,
// the desktop, opening a file with its program, the program's own path and a
// pause. Failures raise AutomationError with the numbers in AutomationError.h.
#include <memory>
#include <string>
#include <vector>

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

// One entry of the drive list: a file system the user may pick.
struct DriveInfo {
    enum class Kind { Root, Home, Removable, Mounted };
    std::string root;   // its top folder, without a final separator ("/" for the root)
    std::string label;  // the volume's name for removable media, else empty
    Kind kind = Kind::Mounted;
};

// A launcher on the desktop: the fields of a Windows shortcut.
struct Shortcut {
    std::string linkPath;          // the launcher file
    std::string name;              // shown under its icon
    std::string targetPath;        // the program it starts
    std::string arguments;         // handed to the program as one argument
    std::string workingDirectory;  // where the program starts
};

// A program the desktop offers in "Open with" for some kinds of file,
// without making it their default program.
struct FileHandlerEntry {
    std::string entryPath;                // the entry file
    std::string name;                     // shown in "Open with"
    std::string targetPath;               // the program it starts
    std::vector<std::string> arguments;   // handed to the program before the file
    std::vector<std::string> mimeTypes;   // the kinds of file it opens
};

// Whether the user may delete the program file, and if not what owns it.
struct RemovalCheck {
    bool allowed = true;
    std::string package;  // the package the file belongs to, "" when none
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

    // --- the desktop launcher and the program's own removal -------------
    // Platforms that offer none raise 429 from these.
    // Writes the launcher at shortcut.linkPath: an earlier one is replaced
    // only once the new one is whole; it is made executable and trusted
    // where the desktop asks for that. Raises the file-system object's error
    // when it cannot be written.
    virtual void SaveShortcut(const Shortcut& shortcut);
    // The user's folder of application entries (may not exist yet).
    virtual std::string ApplicationsFolder();
    // Writes the entry at entry.entryPath (its folder made when missing): an
    // earlier one is replaced only once the new one is whole. Raises the
    // file-system object's error when it cannot be written.
    virtual void SaveFileHandler(const FileHandlerEntry& entry);
    // Whether the user may remove the program file `path`: not when a
    // package owns it or it is installed for all users.
    virtual RemovalCheck ProgramRemoval(const std::string& path);
    // Starts a helper, detached from this process, that waits until this
    // process has ended, then `delayMilliseconds` more, and deletes `path`.
    // Raises when the helper cannot be started.
    virtual void DeleteAfterExit(const std::string& path, long delayMilliseconds);
    // Starts `arguments` (the program's path first) as a process of its
    // own that outlives this one. Raises when it cannot be started.
    virtual void StartProgram(const std::vector<std::string>& arguments);

    // --- listings for the chooser's drive, folder and file lists ---------
    // Platforms that list nothing raise 429 from these.
    // The file systems a user picks from: the root first, then the home
    // folder, then removable and other mounted media; never pseudo file
    // systems. Read anew at every call.
    virtual std::vector<DriveInfo> ListDrives();
    // Names of the sub-folders of `folder`, in the order the user reads
    // them; hidden ones (".name") left out. Raises the file-system object's
    // error when the folder cannot be read.
    virtual std::vector<std::string> ListSubfolders(const std::string& folder);
    // Names of the files of `folder` matching `pattern`: "*" and "?" as
    // wildcards, letter case ignored, several patterns separated by ";".
    // Hidden files are left out. Errors as ListSubfolders.
    virtual std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern);
};

}  // namespace automation
