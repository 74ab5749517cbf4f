#pragma once
// Rules Excel applies to the sheet list: valid and unique names, default names
// for new sheets, at least one visible sheet, and which sheet becomes active
// when the active one is hidden or deleted.
#include <cstddef>
#include <optional>
#include <string>

#include "office/engine/WorkbookCore.h"

namespace office::engine {

// Raises 1004 explaining what is wrong with `name` for sheet `index`
// (nullopt for a new sheet): length 1..31, none of []:*?/\, no leading or
// trailing apostrophe, unique ignoring case.
void checkSheetName(const WorkbookModel& model, const std::string& name, std::optional<std::size_t> index);

// The first free "SheetN", N from 1 up.
std::string defaultSheetName(const WorkbookModel& model);

std::size_t visibleSheetCount(const WorkbookModel& model);

// Before sheet `index` disappears from view: moves the active sheet (and the
// first visible tab) off it to the next visible sheet, or the previous one.
void moveActiveSheetAwayFrom(WorkbookModel& model, std::size_t index);

// Raises 1004 when the workbook structure is protected.
void checkStructureUnprotected(const WorkbookModel& model);

}  // namespace office::engine
