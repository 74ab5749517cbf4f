#pragma once
// The command-line argument: a data folder, optionally followed by "|" and a
// language code ("/home/anna/Presentations|I").
#include <string>

namespace startup {

struct StartArgument {
    // No folder given: the program explains itself and offers the shortcut.
    bool firstRun = false;
    // Trimmed, always ending with "/" (empty on the first run).
    std::string folder;
    // Trimmed and upper-cased; "E" when no "|" is given.
    std::string languageCode = "E";
};

// Only the last "|" separates the code; earlier ones stay in the folder text.
// An argument with nothing before its last "|" ("|I", " | e ") names no
// folder at all: it is taken as a start without an argument, so it runs the
// first-run path in English like an empty one.
StartArgument ParseArgument(const std::string& argument);

// argv[1..] joined with single spaces: the shell splits a folder with spaces
// into several arguments, and the program takes the whole text as one.
std::string JoinArguments(int argc, char** argv);

}  // namespace startup
