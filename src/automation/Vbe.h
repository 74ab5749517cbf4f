#pragma once
// Excel's macro editor as the program calls it (Application.VBE): the macro
// projects of the open workbooks, their components and the code in them.
// Every failed call raises AutomationError. Objects are handed out as shared
// pointers; they stay usable while their workbook is open.
#include <memory>
#include <string>

namespace automation::vbe {

// Constant values as the editor defines them (vbext_ComponentType,
// vbext_ProjectProtection).
enum class ComponentType : int { StdModule = 1, ClassModule = 2, MSForm = 3, Document = 100 };
enum class ProjectProtection : int { None = 0, Locked = 1 };

class CodeModule {
public:
    virtual ~CodeModule() = default;
    // Adds the text's lines (ended by CR, LF or CR LF) before the module's
    // first procedure, or at its end when it has none.
    virtual void AddFromString(const std::string& text) = 0;
    virtual long CountOfLines() const = 0;
    // `count` lines from line `startLine` (1-based), joined by CR LF.
    virtual std::string Lines(long startLine, long count) const = 0;
};

class VBComponent {
public:
    virtual ~VBComponent() = default;
    virtual std::string Name() const = 0;
    // A name of letters, digits and underscores that starts with a letter, at
    // most 31 characters, and no other component's. Renaming the component
    // of a sheet or of the workbook changes that object's code name.
    virtual void SetName(const std::string& name) = 0;
    virtual ComponentType Type() const = 0;
    virtual CodeModule& GetCodeModule() = 0;
};

class VBComponents {
public:
    virtual ~VBComponents() = default;
    virtual long Count() const = 0;
    // By 1-based position, or by name ignoring case ("THISWORKBOOK");
    // AutomationError 9 "Subscript out of range" when there is none.
    virtual std::shared_ptr<VBComponent> Item(long index) = 0;
    virtual std::shared_ptr<VBComponent> Item(const std::string& name) = 0;
    // A new standard module ("Module1", "Module2", ...), class module or
    // form ("UserForm1", ...) at the end of the project. Document components
    // come and go with the sheets: Add refuses them.
    virtual std::shared_ptr<VBComponent> Add(ComponentType type) = 0;
};

class VBProject {
public:
    virtual ~VBProject() = default;
    // The workbook's full path; AutomationError 76 for a workbook never saved.
    virtual std::string FileName() const = 0;
    virtual std::string Name() const = 0;  // "VBAProject" until named
    virtual void SetName(const std::string& name) = 0;
    // Locked once the project is locked for viewing, already before the
    // workbook is saved with the lock.
    virtual ProjectProtection Protection() const = 0;
    // AutomationError 50289 for a project that was locked for viewing when
    // its workbook was opened.
    virtual VBComponents& GetVBComponents() = 0;
};

class VBProjects {
public:
    virtual ~VBProjects() = default;
    virtual long Count() const = 0;
    virtual std::shared_ptr<VBProject> Item(long index) = 0;  // 1-based, in the order the workbooks were opened
};

class VBE {
public:
    virtual ~VBE() = default;
    virtual VBProjects& GetVBProjects() = 0;
    // The project chosen last, else the active workbook's; nullptr when no
    // workbook is open.
    virtual std::shared_ptr<VBProject> ActiveVBProject() = 0;
    virtual void SetActiveVBProject(const std::shared_ptr<VBProject>& project) = 0;
    // What the project properties' Protection page does to the active
    // project: lock it for viewing with `password` (not empty). Written with
    // the workbook's next save; once reopened, the project's components are
    // closed to everyone without the password.
    virtual void LockActiveVBProject(const std::string& password) = 0;
};

}  // namespace automation::vbe
