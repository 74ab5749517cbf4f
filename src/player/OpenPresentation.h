#pragma once
// The player's and the export's way into a Presentation: opened read-only in
// an Excel of its own, that Excel quit and the file closed however the work
// on it ends.
#include <functional>
#include <string>

#include "automation/ObjectFactory.h"
#include "player/PresentationFile.h"

namespace player {

// Opens `path` read-only in a new Excel of `objects`, hands it to `work`,
// then closes it and quits that Excel, also when `work` throws.
// AutomationError when it cannot be read or is no Presentation.
void WithOpenPresentation(automation::ObjectFactory& objects, const std::string& path,
                          const std::function<void(const PresentationFile&)>& work);

}  // namespace player
