#pragma once
// The build driver: one Presentation Group turned into a Presentation
// workbook in the data folder, named "<group> - <version>.xls".
#include <functional>
#include <string>

#include "core/Context.h"

namespace builder {

// How far a build has come. Reported once when the work starts (nothing
// known yet: total 0), once when the lines to carry are counted, and once
// after each of them, carried or canceled.
struct BuildProgress {
    long done = 0;
    long total = 0;
    std::string description;  // of the line just handled; "" otherwise
    bool canceled = false;    // that line was left out
};

using ProgressReport = std::function<void(const BuildProgress&)>;

// Asks for the version and an optional password, then builds the
// Presentation of SelectedGroup and sets PresentationPath. BuildStatus comes
// back 0 (every line carried), 1 (some lines left out, each after its
// message) or 9 (the user gave no version; nothing was started). An earlier
// Presentation of the same name is replaced only once the new one is whole:
// the work goes to a hidden temporary file beside it. A fault of the
// Presentation itself ends in the not-recoverable error, leaving the earlier
// file as it was.
void BuildPresentation(core::Context& ctx, int& BuildStatus, const ProgressReport& progress = {});

// The complaint an answer to the version or password prompt gets, shown as
// the next prompt; "" when the answer (already trimmed) is accepted.
std::string VersionComplaint(const core::Context& ctx, const std::string& version);
std::string PasswordComplaint(const core::Context& ctx, const std::string& password);

// The report of a written Presentation (BuildStatus 0 or 1): the file, and
// the with-errors line when some lines were left out.
std::string BuildReport(const core::Context& ctx, int BuildStatus);

// The button caption that shows a build's progress: "Wait ..." and, once the
// lines are counted, "Wait ... 3/12".
std::string ProgressCaption(const BuildProgress& progress);

}  // namespace builder
