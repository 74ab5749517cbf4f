#pragma once
// Creation of automation objects by their class names. A failure to create
// raises AutomationError (429 when the component is missing).
#include <memory>

#include "automation/Excel.h"
#include "automation/WindowsServices.h"

namespace automation {

class ObjectFactory {
public:
    virtual ~ObjectFactory() = default;
    // "Excel.application": a new, hidden instance.
    virtual std::shared_ptr<excel::Application> CreateExcel() = 0;
    // "Scripting.FileSystemObject".
    virtual std::shared_ptr<FileSystem> CreateFileSystem() = 0;
};

}  // namespace automation
