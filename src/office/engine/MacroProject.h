#pragma once
// The macro project of one open workbook as the macro editor works on it.
// Read from the workbook's project storage (or made new) on first use, kept
// in step with the sheets (one document component per sheet and one for the
// workbook, behind their code names), and written back into the model when
// the workbook is saved, only if something in it changed.
#include <cstdint>
#include <vector>

#include "office/vba/VbaProject.h"

namespace office::engine {

struct WorkbookCore;

struct MacroProjectState {
    vba::Project project;
    std::vector<std::uint64_t> ids;  // ids[i] identifies project.modules[i] for the editor's handles
    std::uint64_t nextId = 1;
    bool lockedWhenOpened = false;   // the file's project is locked for viewing: its components are closed
    bool changed = false;            // to be written at the next save

    // The module with `id`, nullptr once it was removed.
    vba::Module* module(std::uint64_t id);
    std::uint64_t append(vba::Module module);
};

// The project of `core`, loaded on first use and brought in step with the
// sheets. A project storage that cannot be read raises AutomationError 1004.
MacroProjectState& macroProjectOf(WorkbookCore& core);

// Before a save: a project that changed, or whose sheets changed, is written
// into the model; one that did not stays as the file held it.
void storeMacroProject(WorkbookCore& core);

// AutomationError 50289, as the editor refuses a locked project.
[[noreturn]] void raiseProjectProtected();

}  // namespace office::engine
