#pragma once
// Runs a program of this machine to its end, within a time limit, in a
// process group of its own: a program that starts helpers of its own (as
// LibreOffice does) is ended whole when the limit passes.
#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace app {

struct ProgramRun {
    bool started = false;
    bool timedOut = false;
    bool cancelled = false;  // stopped because `cancel` was set
    int exitCode = -1;  // when it ended by itself
    std::string errorOutput;  // its standard error, cut to a few lines
};

// `cancel`, when given, is looked at every tenth of a second: set, the
// program is stopped as at the time limit.
ProgramRun RunOutsideProgram(const std::string& program, const std::vector<std::string>& arguments,
                             std::chrono::milliseconds timeLimit, const std::atomic<bool>* cancel = nullptr);

// The program's full path when `name` is found on PATH (or is a path to an
// executable file); "" otherwise.
std::string FindProgram(const std::string& name);

}  // namespace app
