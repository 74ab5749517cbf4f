#include "platform/LinuxPlatform.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/ChildProcess.h"
#include "platform/DesktopLauncher.h"
#include "platform/ErrnoError.h"
#include "platform/FolderListing.h"
#include "platform/ProgramRemoval.h"

namespace platform {

namespace {

std::string EnvOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string DefaultOpenCommand() {
    std::string fromEnvironment = EnvOrEmpty("TAVOLEX_OPEN_COMMAND");
    return fromEnvironment.empty() ? "xdg-open" : fromEnvironment;
}

std::filesystem::path ProgramPath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) throw ErrorFromErrno(error.value(), PathKind::File, "/proc/self/exe");
    return path;
}

std::string WithoutFinalSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string HomeFolder() {
    std::string home = EnvOrEmpty("HOME");
    if (!home.empty()) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/";
}

}  // namespace

LinuxPlatform::LinuxPlatform() : LinuxPlatform(DefaultOpenCommand()) {}

LinuxPlatform::LinuxPlatform(std::string openCommand, std::string userDirCommand)
    : openCommand_(std::move(openCommand)), userDirCommand_(std::move(userDirCommand)) {}

std::string LinuxPlatform::ProgramFolder() { return ProgramPath().parent_path().string(); }

std::string LinuxPlatform::ProgramFileName() { return ProgramPath().filename().string(); }

std::string LinuxPlatform::DesktopFolder() {
    std::string desktop = ConfiguredDesktop();
    std::error_code ignored;
    if (std::filesystem::is_directory(desktop, ignored)) return desktop;
    return WithoutFinalSeparators(HomeFolder());
}

std::string LinuxPlatform::ConfiguredDesktop() {
    std::string configured = EnvOrEmpty("XDG_DESKTOP_DIR");
    // The user-dirs file writes it as "$HOME/Desktop"; a shell that exported
    // it unexpanded leaves that form in the environment.
    if (configured.rfind("$HOME", 0) == 0) configured = HomeFolder() + configured.substr(5);
    if (!configured.empty()) return WithoutFinalSeparators(configured);

    if (std::optional<std::string> printed = CaptureOutput({userDirCommand_, "DESKTOP"})) {
        std::string folder = *printed;
        while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\r')) folder.pop_back();
        if (!folder.empty() && folder.front() == '/') return WithoutFinalSeparators(folder);
    }
    std::string home = WithoutFinalSeparators(HomeFolder());
    return (home == "/" ? "" : home) + "/Desktop";
}

void LinuxPlatform::OpenWithAssociatedProgram(const std::string& path) {
    StartDetached({openCommand_, path});
}

void LinuxPlatform::SleepMilliseconds(long milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::vector<automation::DriveInfo> LinuxPlatform::ListDrives() { return MountedDrives(HomeFolder()); }

std::vector<std::string> LinuxPlatform::ListSubfolders(const std::string& folder) { return SubfolderNames(folder); }

std::vector<std::string> LinuxPlatform::ListFiles(const std::string& folder, const std::string& pattern) {
    return FileNames(folder, pattern);
}

void LinuxPlatform::SaveShortcut(const automation::Shortcut& shortcut) { WriteLauncher(shortcut); }

automation::RemovalCheck LinuxPlatform::ProgramRemoval(const std::string& path) { return CheckProgramRemoval(path); }

void LinuxPlatform::DeleteAfterExit(const std::string& path, long delayMilliseconds) {
    StartDeletionAfterExit(path, delayMilliseconds);
}

std::string LinuxPlatform::ApplicationsFolder() {
    std::string data = EnvOrEmpty("XDG_DATA_HOME");
    // Only an absolute path counts; a relative one is to be ignored.
    if (data.empty() || data.front() != '/') {
        const std::string home = WithoutFinalSeparators(HomeFolder());
        data = (home == "/" ? "" : home) + "/.local/share";
    }
    return WithoutFinalSeparators(data) + "/applications";
}

void LinuxPlatform::SaveFileHandler(const automation::FileHandlerEntry& entry) { WriteFileHandler(entry); }

void LinuxPlatform::StartProgram(const std::vector<std::string>& arguments) {
    if (arguments.empty() || !StartDetached(arguments))
        throw ErrorFromErrno(ENOENT, PathKind::File, arguments.empty() ? std::string() : arguments.front());
}

}  // namespace platform
