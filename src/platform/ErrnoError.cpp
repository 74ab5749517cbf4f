#include "platform/ErrnoError.h"

#include <cerrno>

namespace platform {

namespace {
// Numbers the file-system object also reports but that no other part of the
// program raises, so they live here.
constexpr long kOutOfMemory = 7;
constexpr long kDeviceIoError = 57;
constexpr long kDiskFull = 61;
constexpr long kTooManyFiles = 67;
}  // namespace

// errno                                  number  description
// -------------------------------------  ------  ----------------------------
// ENOENT (file)                              53  File not found
// ENOENT (folder), ENOTDIR                   76  Path not found
// EACCES, EPERM, EROFS, EBUSY, ETXTBSY       70  Permission denied
// EEXIST                                     58  File already exists
// ENAMETOOLONG, EINVAL, EILSEQ               52  Bad file name or number
// ENODEV, ENXIO, ENOMEDIUM                   71  Disk not ready
// EIO                                        57  Device I/O error
// ENOSPC, EDQUOT                             61  Disk full
// EMFILE, ENFILE                             67  Too many files
// ENOMEM                                      7  Out of memory
// EISDIR, ELOOP, ENOTEMPTY, anything else    75  Path/File access error
ErrorText ErrorTextFor(int err, PathKind kind) {
    using namespace automation::errnum;
    switch (err) {
    case ENOENT:
        return kind == PathKind::File ? ErrorText{kFileNotFound, "File not found"}
                                      : ErrorText{kPathNotFound, "Path not found"};
    case ENOTDIR:
        return {kPathNotFound, "Path not found"};
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
        return {kPermissionDenied, "Permission denied"};
    case EEXIST:
        return {kFileExists, "File already exists"};
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return {kBadFileName, "Bad file name or number"};
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM:
        return {kDiskNotReady, "Disk not ready"};
    case EIO:
        return {kDeviceIoError, "Device I/O error"};
    case ENOSPC:
    case EDQUOT:
        return {kDiskFull, "Disk full"};
    case EMFILE:
    case ENFILE:
        return {kTooManyFiles, "Too many files"};
    case ENOMEM:
        return {kOutOfMemory, "Out of memory"};
    default:
        return {kPathFileAccess, "Path/File access error"};
    }
}

automation::AutomationError ErrorFromErrno(int err, PathKind kind, const std::string& path) {
    ErrorText text = ErrorTextFor(err, kind);
    return automation::AutomationError(text.number, text.description, path);
}

}  // namespace platform
