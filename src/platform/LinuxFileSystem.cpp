#include "platform/LinuxFileSystem.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/ErrnoError.h"

namespace platform {

namespace {

using automation::AutomationError;
namespace errnum = automation::errnum;

AutomationError PathNotFound(const std::string& path) {
    return AutomationError(errnum::kPathNotFound, "Path not found", path);
}

// Lists the whole folder, so that a folder we may open but not read fails
// here and not in the middle of a later command.
void ReadWholeFolder(const std::string& path) {
    DIR* dir = opendir(path.c_str());
    if (!dir) throw ErrorFromErrno(errno, PathKind::Folder, path);
    int readError = 0;
    for (;;) {
        errno = 0;
        if (readdir(dir)) continue;
        readError = errno;
        break;
    }
    closedir(dir);
    if (readError) throw ErrorFromErrno(readError, PathKind::Folder, path);
}

}  // namespace

void LinuxFileSystem::GetFolder(const std::string& path) {
    if (path.empty()) throw PathNotFound(path);
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) throw ErrorFromErrno(errno, PathKind::Folder, path);
    if (!S_ISDIR(info.st_mode)) throw PathNotFound(path);
    ReadWholeFolder(path);
    // The program opens and creates files inside the folder: it needs to
    // enter it too, not only to list it.
    if (access(path.c_str(), X_OK) != 0) throw ErrorFromErrno(errno, PathKind::Folder, path);
}

bool LinuxFileSystem::FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool LinuxFileSystem::folderexists(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void LinuxFileSystem::Createfolder(const std::string& path) {
    if (path.empty()) throw PathNotFound(path);
    if (mkdir(path.c_str(), 0777) != 0) throw ErrorFromErrno(errno, PathKind::Folder, path);
}

std::string LinuxFileSystem::GetParentFolderName(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    std::size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos || trimmed == "/") return "";
    std::size_t end = slash;
    while (end > 0 && trimmed[end - 1] == '/') --end;  // "a//b" has the parent "a"
    return end == 0 ? "/" : trimmed.substr(0, end);
}

void LinuxFileSystem::deletefile(const std::string& path, bool force) {
    struct stat info {};
    if (path.empty() || lstat(path.c_str(), &info) != 0) {
        int err = path.empty() ? ENOENT : errno;
        // As on Windows: a missing folder on the way is "Path not found".
        std::string parent = GetParentFolderName(path);
        if (err == ENOENT && !parent.empty() && !folderexists(parent)) err = ENOTDIR;
        throw ErrorFromErrno(err, PathKind::File, path);
    }
    // A folder is not a file: the file-system object reports it as not found.
    if (S_ISDIR(info.st_mode)) throw ErrorFromErrno(ENOENT, PathKind::File, path);
    bool readOnly = S_ISREG(info.st_mode) && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    if (readOnly && !force)
        throw AutomationError(errnum::kPermissionDenied, "Permission denied", path);
    if (unlink(path.c_str()) != 0) throw ErrorFromErrno(errno, PathKind::File, path);
}

}  // namespace platform
