#pragma once
// Whether the user may delete the program's own file on Linux, and the
// helper that deletes it once the program has ended.
#include <string>

#include "automation/WindowsServices.h"

namespace platform {

// Not allowed when the file lies under /usr or /opt, belongs to a package
// (`packageQuery -S path`, dpkg's search, names it), or its folder is not
// the user's to change (not writable, or sticky and the file someone
// else's).
automation::RemovalCheck CheckProgramRemoval(const std::string& path, const std::string& packageQuery = "dpkg");

// Starts "/bin/sh" detached, its standard input the read end of a pipe whose
// write end only this process holds: the end of the input is the end of
// this process. Then it waits `delayMilliseconds` and deletes `path`. The
// write end stays open (and is not handed to other programs) for the rest
// of this process's life. Raises when the helper cannot be started.
void StartDeletionAfterExit(const std::string& path, long delayMilliseconds);

}  // namespace platform
