#include "office/engine/EngineVbe.h"

#include <algorithm>

#include "automation/AutomationError.h"
#include "office/engine/MacroProject.h"
#include "text/CaseFold.h"

namespace office::engine {

using automation::AutomationError;
namespace errnum = automation::errnum;
namespace vbe = automation::vbe;

namespace {

// The project of a usable workbook whose components may be opened.
MacroProjectState& openProject(WorkbookCore& core) {
    core.checkUsable();
    MacroProjectState& state = macroProjectOf(core);
    if (state.lockedWhenOpened) raiseProjectProtected();
    return state;
}

vba::Module& moduleOf(WorkbookCore& core, std::uint64_t id) {
    vba::Module* m = openProject(core).module(id);
    if (!m) raise("The component has been removed from the macro project.");
    return *m;
}

std::vector<std::string> codeLines(const std::string& code) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < code.size()) {
        std::size_t end = code.find_first_of("\r\n", start);
        if (end == std::string::npos) end = code.size();
        lines.push_back(code.substr(start, end - start));
        if (end < code.size() && code[end] == '\r' && end + 1 < code.size() && code[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

void checkNewName(const vba::Project& project, const vba::Module* renamed, const std::string& name) {
    if (!vba::isValidName(name)) raise("'" + name + "' is not a valid name: use letters, digits and underscores, "
                                       "begin with a letter, at most 31 characters.");
    const vba::Module* other = project.module(name);
    if (other && other != renamed)
        throw AutomationError(errnum::kApplicationDefined, "Name conflicts with existing module, project, or object library");
}

}  // namespace

void EngineCodeModule::AddFromString(const std::string& text) {
    MacroProjectState& state = openProject(*core_);
    vba::addFromString(moduleOf(*core_, id_), text);
    state.changed = true;
}

long EngineCodeModule::CountOfLines() const { return static_cast<long>(codeLines(moduleOf(*core_, id_).code).size()); }

std::string EngineCodeModule::Lines(long startLine, long count) const {
    const std::vector<std::string> lines = codeLines(moduleOf(*core_, id_).code);
    if (startLine < 1 || count < 0 || startLine - 1 + count > static_cast<long>(lines.size()))
        throw AutomationError(errnum::kSubscriptOutOfRange, "Subscript out of range");
    std::string out;
    for (long i = startLine - 1; i < startLine - 1 + count; ++i) out += (i > startLine - 1 ? "\r\n" : "") + lines[std::size_t(i)];
    return out;
}

std::string EngineVbComponent::Name() const { return moduleOf(*core_, id_).name; }

void EngineVbComponent::SetName(const std::string& name) {
    MacroProjectState& state = openProject(*core_);
    vba::Module& m = moduleOf(*core_, id_);
    checkNewName(state.project, &m, name);
    // The component of a sheet or of the workbook is that object's code name.
    if (m.kind == vba::ModuleKind::Document) {
        WorkbookModel& model = core_->model;
        if (text::equalsIgnoringCase(model.codeName, m.name)) model.codeName = name;
        for (SheetModel& sheet : model.sheets)
            if (text::equalsIgnoringCase(sheet.codeName, m.name)) sheet.codeName = name;
    }
    m.name = name;
    state.changed = true;
}

vbe::ComponentType EngineVbComponent::Type() const {
    switch (moduleOf(*core_, id_).kind) {
    case vba::ModuleKind::Standard: return vbe::ComponentType::StdModule;
    case vba::ModuleKind::Class: return vbe::ComponentType::ClassModule;
    case vba::ModuleKind::Form: return vbe::ComponentType::MSForm;
    case vba::ModuleKind::Document: break;
    }
    return vbe::ComponentType::Document;
}

vbe::CodeModule& EngineVbComponent::GetCodeModule() {
    moduleOf(*core_, id_);
    return code_;
}

long EngineVbComponents::Count() const { return static_cast<long>(openProject(*core_).project.modules.size()); }

std::shared_ptr<vbe::VBComponent> EngineVbComponents::Item(long index) {
    MacroProjectState& state = openProject(*core_);
    if (index < 1 || index > static_cast<long>(state.ids.size()))
        throw AutomationError(errnum::kSubscriptOutOfRange, "Subscript out of range");
    return std::make_shared<EngineVbComponent>(core_, state.ids[std::size_t(index - 1)]);
}

std::shared_ptr<vbe::VBComponent> EngineVbComponents::Item(const std::string& name) {
    MacroProjectState& state = openProject(*core_);
    for (std::size_t i = 0; i < state.project.modules.size(); ++i)
        if (text::equalsIgnoringCase(state.project.modules[i].name, name))
            return std::make_shared<EngineVbComponent>(core_, state.ids[i]);
    throw AutomationError(errnum::kSubscriptOutOfRange, "Subscript out of range");
}

std::shared_ptr<vbe::VBComponent> EngineVbComponents::Add(vbe::ComponentType type) {
    MacroProjectState& state = openProject(*core_);
    vba::Module m;
    std::string prefix;
    switch (type) {
    case vbe::ComponentType::StdModule: m.kind = vba::ModuleKind::Standard; prefix = "Module"; break;
    case vbe::ComponentType::ClassModule:
        m.kind = vba::ModuleKind::Class;
        prefix = "Class";
        m.attributes = {"Attribute VB_GlobalNameSpace = False", "Attribute VB_Creatable = False",
                        "Attribute VB_PredeclaredId = False", "Attribute VB_Exposed = False"};
        break;
    case vbe::ComponentType::MSForm:
        m.kind = vba::ModuleKind::Form;
        prefix = "UserForm";
        m.attributes = vba::formAttributes();
        m.isPrivate = true;
        break;
    default: throw AutomationError(errnum::kInvalidCall, "Invalid procedure call or argument");
    }
    int n = 1;
    while (state.project.module(prefix + std::to_string(n))) ++n;
    m.name = prefix + std::to_string(n);
    m.designer.caption = m.name;  // a form keeps its first name as caption
    const std::uint64_t id = state.append(std::move(m));
    state.changed = true;
    return std::make_shared<EngineVbComponent>(core_, id);
}

std::string EngineVbProject::FileName() const {
    core_->checkUsable();
    if (core_->fullPath.empty()) throw AutomationError(errnum::kPathNotFound, "Path not found");
    return core_->fullPath;
}

std::string EngineVbProject::Name() const {
    core_->checkUsable();
    return macroProjectOf(*core_).project.name;
}

void EngineVbProject::SetName(const std::string& name) {
    MacroProjectState& state = openProject(*core_);
    checkNewName(state.project, nullptr, name);
    state.project.name = name;
    state.changed = true;
}

vbe::ProjectProtection EngineVbProject::Protection() const {
    core_->checkUsable();
    return macroProjectOf(*core_).project.protection.lockedForViewing() ? vbe::ProjectProtection::Locked
                                                                          : vbe::ProjectProtection::None;
}

vbe::VBComponents& EngineVbProject::GetVBComponents() {
    openProject(*core_);
    return components_;
}

long EngineVbe::Projects::Count() const {
    state_->checkRunning();
    return static_cast<long>(state_->openBooks.size());
}

std::shared_ptr<vbe::VBProject> EngineVbe::Projects::Item(long index) {
    state_->checkRunning();
    if (index < 1 || index > static_cast<long>(state_->openBooks.size()))
        throw AutomationError(errnum::kSubscriptOutOfRange, "Subscript out of range");
    return std::make_shared<EngineVbProject>(state_->openBooks[std::size_t(index - 1)]);
}

vbe::VBProjects& EngineVbe::GetVBProjects() {
    state_->checkRunning();
    return projects_;
}

std::shared_ptr<WorkbookCore> EngineVbe::activeCore() const {
    state_->checkRunning();
    std::shared_ptr<WorkbookCore> chosen = state_->activeVbProject.lock();
    if (chosen && !chosen->closed) return chosen;
    return state_->openBooks.empty() ? nullptr : state_->openBooks.back();
}

std::shared_ptr<vbe::VBProject> EngineVbe::ActiveVBProject() {
    std::shared_ptr<WorkbookCore> core = activeCore();
    return core ? std::make_shared<EngineVbProject>(core) : nullptr;
}

void EngineVbe::SetActiveVBProject(const std::shared_ptr<vbe::VBProject>& project) {
    state_->checkRunning();
    const auto* ours = dynamic_cast<const EngineVbProject*>(project.get());
    if (!ours || ours->core()->app != state_ || ours->core()->closed)
        throw AutomationError(errnum::kInvalidCall, "Invalid procedure call or argument");
    state_->activeVbProject = ours->core();
}

void EngineVbe::LockActiveVBProject(const std::string& password) {
    std::shared_ptr<WorkbookCore> core = activeCore();
    if (!core) raise("There is no macro project to lock: no workbook is open.");
    MacroProjectState& state = openProject(*core);
    vba::lockForViewing(state.project, password);
    state.changed = true;
}

}  // namespace office::engine
