#pragma once
// Starting other programs without a shell: the arguments reach the program
// exactly as given, so spaces and shell characters in paths are harmless.
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Runs `args` (program first, looked up on PATH), waits for it and returns
// what it wrote on its standard output; nothing when it could not be started
// or did not exit with 0.
std::optional<std::string> CaptureOutput(const std::vector<std::string>& args);

// Starts `args` detached from this process: its own session, standard
// streams on /dev/null, none of our other open files, and never waited for
// (it outlives us without becoming our zombie). True when the program was
// started, false when it could not be executed.
bool StartDetached(const std::vector<std::string>& args);
// The same with `standardInput` (a descriptor of ours) as the program's
// standard input instead of /dev/null.
bool StartDetached(const std::vector<std::string>& args, int standardInput);

}  // namespace platform
