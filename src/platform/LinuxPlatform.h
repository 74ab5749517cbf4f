#pragma once
// The program's own path, the desktop folder, opening a file in the desktop's
// associated program, and a pause, on a Linux desktop.
#include <string>

#include "automation/WindowsServices.h"

namespace platform {

class LinuxPlatform : public automation::Platform {
public:
    // The opener is $TAVOLEX_OPEN_COMMAND when set (tests and scripted runs
    // point it at a harmless program), otherwise "xdg-open".
    LinuxPlatform();
    // `openCommand` and `userDirCommand` are single programs (a name looked
    // up on PATH or a path), run as `openCommand FILE` and
    // `userDirCommand DESKTOP`.
    explicit LinuxPlatform(std::string openCommand, std::string userDirCommand = "xdg-user-dir");

    // From /proc/self/exe: the folder without a final "/", and the file name
    // as it is on disk (Linux programs carry no extension). A failure raises
    // the mapped file error.
    std::string ProgramFolder() override;
    std::string ProgramFileName() override;
    // $XDG_DESKTOP_DIR when set, else what `xdg-user-dir DESKTOP` prints,
    // else $HOME/Desktop; the home folder when that folder does not exist
    // (no desktop configured); never with a final "/".
    std::string DesktopFolder() override;
    // Starts the opener detached and returns at once; like the Windows shell
    // call it reports nothing when the file cannot be opened.
    void OpenWithAssociatedProgram(const std::string& path) override;
    void SleepMilliseconds(long milliseconds) override;

    // From /proc/self/mounts and $HOME (see FolderListing.h).
    std::vector<automation::DriveInfo> ListDrives() override;
    std::vector<std::string> ListSubfolders(const std::string& folder) override;
    std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) override;

    // A Desktop Entry launcher (see DesktopLauncher.h).
    void SaveShortcut(const automation::Shortcut& shortcut) override;
    // dpkg's ownership and the folder's permissions (see ProgramRemoval.h).
    automation::RemovalCheck ProgramRemoval(const std::string& path) override;
    void DeleteAfterExit(const std::string& path, long delayMilliseconds) override;
    // $XDG_DATA_HOME/applications, by default ~/.local/share/applications.
    std::string ApplicationsFolder() override;
    // An entry of that folder (see DesktopLauncher.h).
    void SaveFileHandler(const automation::FileHandlerEntry& entry) override;
    // Detached: its own session, never waited for.
    void StartProgram(const std::vector<std::string>& arguments) override;

    const std::string& openCommand() const { return openCommand_; }

private:
    // The desktop folder as configured, whether it exists or not.
    std::string ConfiguredDesktop();
    std::string openCommand_;
    std::string userDirCommand_;
};

}  // namespace platform
