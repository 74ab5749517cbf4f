#pragma once
// A frozen sheet of a Presentation as the view and the printer take it: read
// again from the file with the engine, read-only.
#include <optional>
#include <string>

#include "office/format/ShownSheet.h"
#include "office/model/SheetSettings.h"

namespace app {

struct FrozenSheet {
    office::ShownSheet shown;
    office::PageSetup pageSetup;
};

// The sheet `name` (any letter case) of the workbook `path`; nothing when it
// has none of that name. AutomationError when the file cannot be read.
std::optional<FrozenSheet> ReadFrozenSheet(const std::string& path, const std::string& name);

}  // namespace app
