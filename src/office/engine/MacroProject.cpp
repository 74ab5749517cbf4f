#include "office/engine/MacroProject.h"

#include <algorithm>

#include "automation/AutomationError.h"
#include "text/CaseFold.h"
#include "office/engine/WorkbookCore.h"

namespace office::engine {
namespace {

constexpr long kProjectProtected = 50289;

// The project storage among the file's storages; nullptr for a workbook without macros.
const cfb::Node* storageOf(const WorkbookModel& model) {
    const cfb::Node* node = model.rootStorage.child(vba::kStorageName);
    return node && node->isStorage ? node : nullptr;
}

void putStorage(WorkbookModel& model, cfb::Node storage) {
    auto& children = model.rootStorage.children;
    const auto old = std::find_if(children.begin(), children.end(), [](const cfb::Node& n) {
        return cfb::compareNames(n.name, vba::kStorageName) == 0;
    });
    if (old != children.end()) *old = std::move(storage);
    else children.push_back(std::move(storage));
    model.hasVbaProject = true;
}

bool isDocumentOfSheet(const vba::Module& m) {
    return m.kind == vba::ModuleKind::Document && m.attribute("VB_Base") != vba::kWorkbookBase;
}

std::string_view baseOf(SheetKind kind) { return kind == SheetKind::Chart ? vba::kChartBase : vba::kWorksheetBase; }

vba::Module documentModule(const std::string& name, std::string_view base) {
    vba::Module m;
    m.name = name;
    m.kind = vba::ModuleKind::Document;
    m.attributes = vba::documentAttributes(base);
    return m;
}

bool nameTaken(const vba::Project& project, const std::vector<std::string>& more, const std::string& name) {
    if (project.module(name)) return true;
    return std::any_of(more.begin(), more.end(), [&](const std::string& n) { return text::equalsIgnoringCase(n, name); });
}

// Every sheet that can have code gets a code name and a document module;
// modules of sheets no longer there go. Returns whether anything changed.
bool syncWithSheets(WorkbookModel& model, MacroProjectState& state) {
    vba::Project& project = state.project;
    bool changed = false;
    if (model.codeName.empty()) {
        // A file without the record: the workbook's module says it, else Excel's name.
        const auto workbook = std::find_if(project.modules.begin(), project.modules.end(), [](const vba::Module& m) {
            return m.kind == vba::ModuleKind::Document && m.attribute("VB_Base") == vba::kWorkbookBase;
        });
        model.codeName = workbook != project.modules.end() ? workbook->name : "ThisWorkbook";
        changed = true;
    }
    if (!project.module(model.codeName)) {
        project.modules.insert(project.modules.begin(), documentModule(model.codeName, vba::kWorkbookBase));
        state.ids.insert(state.ids.begin(), state.nextId++);
        changed = true;
    }
    std::vector<std::string> given;  // code names of the sheets seen so far
    for (SheetModel& sheet : model.sheets) {
        if (sheet.kind != SheetKind::Worksheet && sheet.kind != SheetKind::Chart) continue;
        const vba::Module* existing = sheet.codeName.empty() ? nullptr : project.module(sheet.codeName);
        const bool usable = !sheet.codeName.empty() && !text::equalsIgnoringCase(sheet.codeName, model.codeName) &&
                            std::none_of(given.begin(), given.end(),
                                         [&](const std::string& n) { return text::equalsIgnoringCase(n, sheet.codeName); }) &&
                            (!existing || isDocumentOfSheet(*existing));
        if (!usable) {
            const std::string prefix = sheet.kind == SheetKind::Chart ? "Chart" : "Sheet";
            int n = 1;
            while (nameTaken(project, given, prefix + std::to_string(n))) ++n;
            sheet.codeName = prefix + std::to_string(n);
            changed = true;
        }
        given.push_back(sheet.codeName);
        if (!project.module(sheet.codeName)) {
            state.append(documentModule(sheet.codeName, baseOf(sheet.kind)));
            changed = true;
        }
    }
    for (std::size_t i = project.modules.size(); i-- > 0;) {
        const vba::Module& m = project.modules[i];
        if (!isDocumentOfSheet(m)) continue;
        if (std::any_of(given.begin(), given.end(), [&](const std::string& n) { return text::equalsIgnoringCase(n, m.name); }))
            continue;
        project.modules.erase(project.modules.begin() + static_cast<std::ptrdiff_t>(i));
        state.ids.erase(state.ids.begin() + static_cast<std::ptrdiff_t>(i));
        changed = true;
    }
    return changed;
}

void load(WorkbookCore& core) {
    auto state = std::make_shared<MacroProjectState>();
    if (const cfb::Node* storage = storageOf(core.model)) {
        state->project = vba::readProjectStorage(*storage);
        state->lockedWhenOpened = state->project.protection.lockedForViewing();
        for (std::size_t i = 0; i < state->project.modules.size(); ++i) state->ids.push_back(state->nextId++);
    } else {
        // Written only once something is put into it: merely looking at the
        // projects gives no workbook macros.
        state->project.id = vba::newGuid();
    }
    core.macroProject = std::move(state);
}

}  // namespace

vba::Module* MacroProjectState::module(std::uint64_t id) {
    const auto it = std::find(ids.begin(), ids.end(), id);
    return it == ids.end() ? nullptr : &project.modules[static_cast<std::size_t>(it - ids.begin())];
}

std::uint64_t MacroProjectState::append(vba::Module module) {
    project.modules.push_back(std::move(module));
    ids.push_back(nextId);
    return nextId++;
}

MacroProjectState& macroProjectOf(WorkbookCore& core) {
    if (!core.macroProject) {
        try {
            load(core);
        } catch (const automation::AutomationError& e) {
            throw automation::AutomationError(e.number(), "The macro project of '" + core.name +
                                                              "' cannot be read. " + e.description());
        }
    }
    MacroProjectState& state = *core.macroProject;
    const bool fromFile = storageOf(core.model) != nullptr;
    if (!state.lockedWhenOpened && syncWithSheets(core.model, state) && fromFile) state.changed = true;
    return state;
}

void storeMacroProject(WorkbookCore& core) {
    if (!core.macroProject && !storageOf(core.model)) return;  // a workbook without macros
    MacroProjectState* state = nullptr;
    try {
        state = &macroProjectOf(core);
    } catch (const automation::AutomationError&) {
        return;  // a project we cannot read is saved as the file held it
    }
    if (!state->changed) return;
    vba::addStandardReferences(state->project);
    putStorage(core.model, vba::writeProjectStorage(state->project));
    state->changed = false;
}

void raiseProjectProtected() {
    throw automation::AutomationError(kProjectProtected, "Can't perform operation since the project is protected.");
}

}  // namespace office::engine
