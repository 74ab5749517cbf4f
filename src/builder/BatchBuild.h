#pragma once
// The build without windows, for scripts and schedulers:
//   Tavolex --build "<data folder>" --group "<GroupName>" --version "<version>"
//           [--password-file FILE] [--language I]
// with --all in place of --group to build every group of the folder.
#include <optional>
#include <string>
#include <vector>

#include "core/Context.h"
#include "ui/console/ConsoleWindowSystem.h"

namespace builder {

// Exit statuses of a batch run.
inline constexpr int kBatchBuilt = 0;
inline constexpr int kBatchBuiltWithErrors = 1;
inline constexpr int kBatchNothingBuilt = 2;

struct BatchRequest {
    std::string dataFolder;
    std::string group;  // empty with `all`
    bool all = false;
    std::string version;
    std::optional<std::string> passwordFile;
    std::string languageCode = "E";
};

// True when the arguments (after the program's name) ask for a batch build.
bool IsBatchRequest(const std::vector<std::string>& arguments);

// The request the arguments make; `error` says what is wrong when they make none.
std::optional<BatchRequest> ParseBatchArguments(const std::vector<std::string>& arguments, std::string& error);

// How to call the batch form, for a wrong command line.
std::string BatchUsage();

// Runs the request on `ctx`, whose window system is `console`: prints every
// message the interactive build would show, one line per line carried, the
// file written, and with --all one summary line per group. Returns the exit
// status: 0 built, 1 built with some lines left out, 2 nothing built (the
// reason printed); with --all the worst of the groups.
int RunBatchBuild(core::Context& ctx, ui::ConsoleWindowSystem& console, const BatchRequest& request);

}  // namespace builder
