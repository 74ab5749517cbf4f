#pragma once
// Creation of automation objects by their class names, and binding to a
// document by its file name. A failure to create raises AutomationError (429
// when the component is missing, which is what a factory that does not
// provide Word or PowerPoint raises for them).
#include <memory>
#include <string>

#include "automation/Excel.h"
#include "automation/PowerPoint.h"
#include "automation/WindowsServices.h"
#include "automation/Word.h"

namespace automation {

class ObjectFactory {
public:
    virtual ~ObjectFactory() = default;
    // "Excel.application": a new, hidden instance.
    virtual std::shared_ptr<excel::Application> CreateExcel() = 0;
    // "Scripting.FileSystemObject".
    virtual std::shared_ptr<FileSystem> CreateFileSystem() = 0;
    // "word.application": a new, hidden instance.
    virtual std::shared_ptr<word::Application> CreateWord();
    // GetObject(fileName) on a presentation: the presentation opened in an
    // application of its own, so that its application's Presentations(1) is
    // always this file. Missing: 432; not a presentation, damaged or
    // protected by a password: PowerPoint's "could not open" error.
    virtual std::shared_ptr<powerpoint::Presentation> GetPresentation(const std::string& fileName);
};

}  // namespace automation
