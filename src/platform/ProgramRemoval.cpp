#include "platform/ProgramRemoval.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "automation/AutomationError.h"
#include "platform/ChildProcess.h"
#include "platform/ErrnoError.h"

namespace platform {

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// "pkg: /path" or "pkg1, pkg2: /path" -> "pkg"; "" when nothing owns it.
std::string owningPackage(const std::string& path, const std::string& packageQuery) {
    const auto output = CaptureOutput({packageQuery, "-S", path});
    if (!output) return "";
    const std::size_t colon = output->find(':');
    std::string package = output->substr(0, std::min(colon, output->find(',')));
    while (!package.empty() && (package.back() == ' ' || package.back() == '\n')) package.pop_back();
    return colon == std::string::npos ? "" : package;
}

bool folderIsTheUsers(const std::string& path) {
    const std::string folder = folderOf(path);
    if (access(folder.c_str(), W_OK | X_OK) != 0) return false;
    struct stat folderInfo {}, fileInfo {};
    if (stat(folder.c_str(), &folderInfo) != 0 || lstat(path.c_str(), &fileInfo) != 0) return false;
    // In a sticky folder (like /tmp) only the file's owner may remove it.
    const uid_t user = geteuid();
    return !(folderInfo.st_mode & S_ISVTX) || user == 0 || fileInfo.st_uid == user || folderInfo.st_uid == user;
}

}  // namespace

automation::RemovalCheck CheckProgramRemoval(const std::string& path, const std::string& packageQuery) {
    automation::RemovalCheck check;
    check.package = owningPackage(path, packageQuery);
    const bool systemFolder = path.rfind("/usr/", 0) == 0 || path.rfind("/opt/", 0) == 0;
    check.allowed = check.package.empty() && !systemFolder && folderIsTheUsers(path);
    return check;
}

void StartDeletionAfterExit(const std::string& path, long delayMilliseconds) {
    int lifeline[2];
    if (pipe2(lifeline, O_CLOEXEC) != 0) throw ErrorFromErrno(errno, PathKind::File, path);
    char delay[32];
    std::snprintf(delay, sizeof delay, "%ld.%03ld", delayMilliseconds / 1000, delayMilliseconds % 1000);
    const bool started = StartDetached(
        {"/bin/sh", "-c", "cat > /dev/null; sleep \"$2\"; rm -f -- \"$1\"", "tavolex-uninstall", path, delay},
        lifeline[0]);
    close(lifeline[0]);
    if (!started) {
        close(lifeline[1]);
        throw automation::AutomationError(automation::errnum::kPathFileAccess,
                                          "The helper that removes the program file could not be started.", path);
    }
    // lifeline[1] stays open on purpose: it closes when this process ends.
}

}  // namespace platform
