#pragma once
// A data folder of its own for benchmarks and tools: the program's context
// over the engine's objects, the Linux platform and scripted windows that
// acknowledge every box, its fixed settings made. The folder goes with the
// object.
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

#include "automation/Excel.h"
#include "core/Context.h"
#include "platform/LinuxPlatform.h"
#include "support/EngineObjects.h"
#include "support/TestSupport.h"
#include "ui/scripted/ScriptedWindowSystem.h"

namespace testsupport {

class ScratchDataFolder {
    TempFolder folder_;  // first made, last removed: after everything that holds its files

public:
    explicit ScratchDataFolder(const std::string& hint);

    const std::filesystem::path& path() const { return folder_.path(); }
    // A shared sample copied into the folder; its path there.
    std::string copySample(const std::string& name) const;
    // A new base workbook in the folder, its DATA sheet written by `fill`,
    // saved and closed.
    void writeBase(const std::function<void(automation::excel::Worksheet& data)>& fill);
    // Builds the Presentation of `group`, answering its prompts with
    // `version` and `password`; its path, or a runtime_error when the build
    // leaves a line out or fails.
    std::string buildPresentation(const std::string& group, const std::string& version, const std::string& password);
    // Seconds from the start of `click` to the start of its half-second "OK"
    // feedback, which is a pause for the user and not work; nothing when no
    // feedback came (the command was refused).
    std::optional<double> secondsToFeedback(const std::function<void()>& click);

    EngineObjects objects;
    platform::LinuxPlatform platform;
    ui::ScriptedWindowSystem windows;
    core::Context ctx{objects, platform, windows};
};

// `cells` into `row` of `sheet`, from column A on.
void writeRow(automation::excel::Worksheet& sheet, long row, std::initializer_list<automation::Variant> cells);

}  // namespace testsupport
