#include "office/engine/EngineWorksheet.h"

#include "automation/AutomationError.h"
#include "office/engine/EngineRange.h"
#include "office/engine/SheetRules.h"

namespace office::engine {

using automation::excel::Range;
namespace excel = automation::excel;

std::size_t EngineWorksheet::index() const {
    core_->checkUsable();
    auto index = core_->indexOf(id_);
    if (!index) raise("This worksheet has been deleted; its objects can no longer be used.");
    return *index;
}

SheetModel& EngineWorksheet::sheet() const { return core_->model.sheets[index()]; }

WorkbookCore& EngineWorksheet::core() const {
    core_->checkUsable();
    return *core_;
}

std::shared_ptr<Range> EngineWorksheet::rangeAt(const RangeBounds& bounds) {
    return std::make_shared<EngineRange>(shared_from_this(), bounds);
}

std::string EngineWorksheet::Name() const { return sheet().name; }

void EngineWorksheet::SetName(const std::string& name) {
    std::size_t i = index();
    if (core_->model.sheets[i].name == name) return;
    checkStructureUnprotected(core_->model);
    checkSheetName(core_->model, name, i);
    core_->model.sheets[i].name = name;
}

excel::SheetVisibility EngineWorksheet::Visible() const {
    switch (sheet().visibility) {
    case SheetVisibility::Visible: return excel::SheetVisibility::Visible;
    case SheetVisibility::Hidden: return excel::SheetVisibility::Hidden;
    case SheetVisibility::VeryHidden: return excel::SheetVisibility::VeryHidden;
    }
    return excel::SheetVisibility::Visible;
}

void EngineWorksheet::SetVisible(excel::SheetVisibility visibility) {
    std::size_t i = index();
    WorkbookModel& model = core_->model;
    SheetVisibility wanted;
    switch (visibility) {
    case excel::SheetVisibility::Visible: wanted = SheetVisibility::Visible; break;
    case excel::SheetVisibility::Hidden: wanted = SheetVisibility::Hidden; break;
    case excel::SheetVisibility::VeryHidden: wanted = SheetVisibility::VeryHidden; break;
    default:
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "Unable to set the Visible property of the Worksheet class: " +
                                              std::to_string(static_cast<int>(visibility)) + " is no visibility.");
    }
    SheetModel& sheet = model.sheets[i];
    if (sheet.visibility == wanted) return;
    checkStructureUnprotected(model);
    if (wanted != SheetVisibility::Visible) {
        if (sheet.visibility == SheetVisibility::Visible && visibleSheetCount(model) <= 1)
            raise("Sheet '" + sheet.name + "' cannot be hidden: a workbook must keep at least one visible sheet.");
        moveActiveSheetAwayFrom(model, i);
    }
    sheet.visibility = wanted;
}

std::shared_ptr<Range> EngineWorksheet::Cells(long row, long column) {
    index();
    if (row < 1 || row > static_cast<long>(kMaxRows) || column < 1 || column > static_cast<long>(kMaxColumns))
        raise("Cells(" + std::to_string(row) + ", " + std::to_string(column) +
              ") lies off the sheet: rows run from 1 to 65536, columns from 1 to 256.");
    return rangeAt(cellBounds(static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(column)));
}

std::shared_ptr<Range> EngineWorksheet::GetRange(const std::string& address) {
    index();
    auto bounds = parseAddress(address);
    if (!bounds) raise("'" + address + "' is not a valid range address on this sheet.");
    return rangeAt(*bounds);
}

std::shared_ptr<Range> EngineWorksheet::Rows(long row) {
    index();
    if (row < 1 || row > static_cast<long>(kMaxRows))
        raise("Row " + std::to_string(row) + " lies off the sheet: rows run from 1 to 65536.");
    auto r = static_cast<std::uint32_t>(row);
    return rangeAt({r, 1, r, kMaxColumns});
}

std::shared_ptr<Range> EngineWorksheet::Columns(const std::string& address) {
    index();
    auto bounds = parseAddress(address, /*allowLoneColumn=*/true);
    if (!bounds || !bounds->wholeColumns()) raise("'" + address + "' is not a valid column address such as \"A:A\".");
    return rangeAt(*bounds);
}

void EngineWorksheet::Delete() {
    std::size_t i = index();
    WorkbookModel& model = core_->model;
    checkStructureUnprotected(model);
    if (model.sheets[i].visibility == SheetVisibility::Visible && visibleSheetCount(model) <= 1)
        raise("Sheet '" + model.sheets[i].name + "' cannot be deleted: a workbook must keep at least one visible sheet.");
    moveActiveSheetAwayFrom(model, i);
    core_->eraseSheet(i);
    if (model.activeSheet > i) --model.activeSheet;
    if (model.firstVisibleTab > i) --model.firstVisibleTab;
}

}  // namespace office::engine
