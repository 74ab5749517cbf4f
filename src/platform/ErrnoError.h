#pragma once
// Turns an errno value into the error the file-system object reports, with
// the number and wording a user knows from the Windows scripting objects.
#include <string>

#include "automation/AutomationError.h"

namespace platform {

// Whether the path that failed names a file or a folder: a missing file is
// "File not found" (53), a missing folder "Path not found" (76).
enum class PathKind { File, Folder };

struct ErrorText {
    long number;
    const char* description;
};

// The number and description for `err` (see the table in ErrnoError.cpp).
ErrorText ErrorTextFor(int err, PathKind kind);

// The error to raise for `err` on `path`; the path travels with the error.
automation::AutomationError ErrorFromErrno(int err, PathKind kind, const std::string& path);

}  // namespace platform
