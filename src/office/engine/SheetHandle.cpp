#include "office/engine/SheetHandle.h"

#include <algorithm>

#include "automation/AutomationError.h"
#include "office/engine/SheetRules.h"

namespace office::engine {

namespace excel = automation::excel;

std::size_t SheetHandle::index() const {
    core_->checkUsable();
    auto index = core_->indexOf(id_);
    if (!index) raise("This sheet has been deleted; its objects can no longer be used.");
    return *index;
}

SheetModel& SheetHandle::sheet() const { return core_->model.sheets[index()]; }

WorkbookCore& SheetHandle::core() const {
    core_->checkUsable();
    return *core_;
}

std::string SheetHandle::name() const { return sheet().name; }

void SheetHandle::setName(const std::string& name) {
    std::size_t i = index();
    if (core_->model.sheets[i].name == name) return;
    checkStructureUnprotected(core_->model);
    checkSheetName(core_->model, name, i);
    core_->model.sheets[i].name = name;
}

excel::SheetVisibility SheetHandle::visible() const {
    switch (sheet().visibility) {
    case SheetVisibility::Visible: return excel::SheetVisibility::Visible;
    case SheetVisibility::Hidden: return excel::SheetVisibility::Hidden;
    case SheetVisibility::VeryHidden: return excel::SheetVisibility::VeryHidden;
    }
    return excel::SheetVisibility::Visible;
}

void SheetHandle::setVisible(excel::SheetVisibility visibility) {
    std::size_t i = index();
    WorkbookModel& model = core_->model;
    SheetVisibility wanted;
    switch (visibility) {
    case excel::SheetVisibility::Visible: wanted = SheetVisibility::Visible; break;
    case excel::SheetVisibility::Hidden: wanted = SheetVisibility::Hidden; break;
    case excel::SheetVisibility::VeryHidden: wanted = SheetVisibility::VeryHidden; break;
    default:
        raise("Unable to set the Visible property of the Worksheet class: " +
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

void SheetHandle::activate() {
    const std::size_t i = index();
    if (core_->model.sheets[i].visibility != SheetVisibility::Visible)
        raise("Activate method of Worksheet class failed: sheet '" + core_->model.sheets[i].name + "' is hidden.");
    core_->model.activeSheet = static_cast<std::uint16_t>(i);
    core_->activate();
}

void SheetHandle::remove() {
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
