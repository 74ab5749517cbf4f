#include "office/engine/EngineWorksheet.h"

#include <algorithm>

#include "automation/AutomationError.h"
#include "office/biff/PictureStore.h"
#include "office/engine/EngineChartObject.h"
#include "office/engine/EngineOleObject.h"
#include "office/engine/EngineRange.h"
#include "office/engine/EngineSheets.h"
#include "office/engine/PasswordHash.h"
#include "office/engine/SheetCopy.h"
#include "office/engine/SheetGeometry.h"
#include "office/engine/SheetRules.h"
#include "text/CaseFold.h"

namespace office::engine {

using automation::excel::Range;
namespace excel = automation::excel;

void checkSheetUnprotected(const SheetModel& sheet, bool objects) {
    if (objects ? sheet.protection.objects : sheet.protection.contents)
        raise("The cell or chart you are trying to change is on a protected sheet. To change it, unprotect the "
              "sheet first (you might need a password).");
}

std::shared_ptr<Range> EngineWorksheet::rangeAt(const RangeBounds& bounds) {
    return std::make_shared<EngineRange>(shared_from_this(), bounds);
}

std::shared_ptr<Range> EngineWorksheet::Cells(long row, long column) {
    handle_.index();
    if (row < 1 || row > static_cast<long>(kMaxRows) || column < 1 || column > static_cast<long>(kMaxColumns))
        raise("Cells(" + std::to_string(row) + ", " + std::to_string(column) +
              ") lies off the sheet: rows run from 1 to 65536, columns from 1 to 256.");
    return rangeAt(cellBounds(static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(column)));
}

std::shared_ptr<Range> EngineWorksheet::GetRange(const std::string& address) {
    handle_.index();
    auto bounds = parseAddress(address);
    if (!bounds) raise("'" + address + "' is not a valid range address on this sheet.");
    return rangeAt(*bounds);
}

std::shared_ptr<Range> EngineWorksheet::Rows(long row) {
    handle_.index();
    if (row < 1 || row > static_cast<long>(kMaxRows))
        raise("Row " + std::to_string(row) + " lies off the sheet: rows run from 1 to 65536.");
    auto r = static_cast<std::uint32_t>(row);
    return rangeAt({r, 1, r, kMaxColumns});
}

std::shared_ptr<Range> EngineWorksheet::Columns(const std::string& address) {
    handle_.index();
    auto bounds = parseAddress(address, /*allowLoneColumn=*/true);
    if (!bounds || !bounds->wholeColumns()) raise("'" + address + "' is not a valid column address such as \"A:A\".");
    return rangeAt(*bounds);
}

std::shared_ptr<Range> EngineWorksheet::AllCells() {
    handle_.index();
    return rangeAt({1, 1, kMaxRows, kMaxColumns});
}

void EngineWorksheet::Copy(excel::Sheet& after) {
    const SheetHandle* target = handleOf(after);
    if (!target) raise("Copy method of Worksheet class failed: the place to copy to is no sheet of this Excel.");
    WorkbookCore& from = handle_.core();
    WorkbookCore& to = target->core();
    if (from.app != to.app) raise("Copy method of Worksheet class failed: the target belongs to another Excel.");
    checkStructureUnprotected(to.model);
    const std::size_t at = target->index() + 1;
    SheetModel copy = copyOfSheet(from.model, handle_.sheet(), to.model);
    copy.name = nameForCopy(to.model, copy.name);
    const bool shown = copy.visibility == SheetVisibility::Visible;
    to.insertSheet(at, std::move(copy));
    WorkbookModel& model = to.model;
    if (model.activeSheet >= at) ++model.activeSheet;
    if (model.firstVisibleTab >= at) ++model.firstVisibleTab;
    if (shown) model.activeSheet = static_cast<std::uint16_t>(at);
    to.activate();
}

void EngineWorksheet::Paste(Range& destination) {
    auto* target = dynamic_cast<EngineRange*>(&destination);
    if (!target || &target->worksheet().core() != &core() || target->worksheet().handle().id() != handle_.id())
        raise("Paste method of Worksheet class failed: the destination is not on this sheet.");
    ApplicationState& app = *core().app;
    if (std::holds_alternative<CopiedCells>(app.clipboard)) {
        target->pasteCells(excel::PasteType::All);
        return;
    }
    const auto* copied = std::get_if<CopiedPicture>(&app.clipboard);
    if (!copied) raise("Paste method of Worksheet class failed: there is nothing to paste.");
    SheetModel& sheet = handle_.sheet();
    checkSheetUnprotected(sheet, true);
    WorkbookModel& model = core().model;
    const StoredPicture stored = biff::pngPicture(copied->picture.png);
    auto same = std::find(model.pictures.begin(), model.pictures.end(), stored);
    if (same == model.pictures.end()) same = model.pictures.insert(model.pictures.end(), stored);
    DrawingObject picture;
    picture.kind = DrawingKind::Picture;
    picture.picture = static_cast<std::uint32_t>(same - model.pictures.begin() + 1);
    picture.anchor = anchorAt(sheet, static_cast<std::uint32_t>(target->Row()),
                              static_cast<std::uint32_t>(target->Column()), copied->widthPt, copied->heightPt);
    std::uint16_t highest = 0;
    for (const DrawingObject& object : sheet.drawings) highest = std::max(highest, object.objectId);
    picture.objectId = static_cast<std::uint16_t>(highest + 1);
    picture.name = "Picture " + std::to_string(picture.objectId);
    sheet.drawings.push_back(std::move(picture));
}

long EngineWorksheet::ChartObjectCount() {
    const SheetModel& sheet = handle_.sheet();
    return static_cast<long>(std::count_if(sheet.drawings.begin(), sheet.drawings.end(),
                                           [](const DrawingObject& o) { return o.kind == DrawingKind::Chart; }));
}

std::shared_ptr<excel::ChartObject> EngineWorksheet::ChartObjects(long index) {
    const SheetModel& sheet = handle_.sheet();
    long seen = 0;
    for (const DrawingObject& object : sheet.drawings)
        if (object.kind == DrawingKind::Chart && ++seen == index)
            return std::make_shared<EngineChartObject>(shared_from_this(), object.objectId);
    throw automation::AutomationError(automation::errnum::kSubscriptOutOfRange, "Subscript out of range");
}

std::shared_ptr<excel::OLEObject> EngineWorksheet::AddOLEObject(const std::string& fileName, bool link,
                                                                bool displayAsIcon, long,
                                                                const std::string& iconLabel) {
    const std::uint16_t id = embedFile(*this, fileName, link, displayAsIcon, iconLabel);
    return std::make_shared<EngineOleObject>(shared_from_this(), id);
}

long EngineWorksheet::OLEObjectCount() {
    const SheetModel& sheet = handle_.sheet();
    return static_cast<long>(std::count_if(sheet.drawings.begin(), sheet.drawings.end(),
                                           [](const DrawingObject& o) { return o.kind == DrawingKind::OleObject; }));
}

std::shared_ptr<excel::OLEObject> EngineWorksheet::OLEObjects(long index) {
    const SheetModel& sheet = handle_.sheet();
    long seen = 0;
    for (const DrawingObject& object : sheet.drawings)
        if (object.kind == DrawingKind::OleObject && ++seen == index)
            return std::make_shared<EngineOleObject>(shared_from_this(), object.objectId);
    throw automation::AutomationError(automation::errnum::kSubscriptOutOfRange, "Subscript out of range");
}

std::shared_ptr<excel::OLEObject> EngineWorksheet::OLEObjects(const std::string& name) {
    const SheetModel& sheet = handle_.sheet();
    for (const DrawingObject& object : sheet.drawings)
        if (object.kind == DrawingKind::OleObject && text::equalsIgnoringCase(object.name, name))
            return std::make_shared<EngineOleObject>(shared_from_this(), object.objectId);
    throw automation::AutomationError(automation::errnum::kSubscriptOutOfRange, "Subscript out of range");
}

void EngineWorksheet::Protect(const std::string& password, bool drawingObjects, bool contents, bool scenarios) {
    SheetProtection& protection = handle_.sheet().protection;
    const bool isProtected = protection.contents || protection.objects || protection.scenarios;
    if (isProtected && protection.passwordHash != 0 && protectionPasswordHash(password) != protection.passwordHash)
        raise("The sheet is protected with another password already.");
    protection = {contents, drawingObjects, scenarios, protectionPasswordHash(password), protection.selection};
}

void EngineWorksheet::Unprotect(const std::string& password) {
    SheetProtection& protection = handle_.sheet().protection;
    if (!protection.contents && !protection.objects && !protection.scenarios) return;
    if (protection.passwordHash != 0 && protectionPasswordHash(password) != protection.passwordHash)
        raise("The password you supplied is not correct. Verify that the CAPS LOCK key is off and be sure to use "
              "the correct capitalization.");
    protection = {.selection = protection.selection};  // the selection rule outlives the protection
}

bool EngineWorksheet::ProtectContents() const { return handle_.sheet().protection.contents; }

excel::SelectionMode EngineWorksheet::EnableSelection() const {
    switch (handle_.sheet().protection.selection) {
    case SheetProtection::Selection::UnlockedCells: return excel::SelectionMode::UnlockedCells;
    case SheetProtection::Selection::None: return excel::SelectionMode::NoSelection;
    case SheetProtection::Selection::Any: break;
    }
    return excel::SelectionMode::NoRestrictions;
}

void EngineWorksheet::SetEnableSelection(excel::SelectionMode mode) {
    using Selection = SheetProtection::Selection;
    handle_.sheet().protection.selection = mode == excel::SelectionMode::NoSelection      ? Selection::None
                                           : mode == excel::SelectionMode::UnlockedCells ? Selection::UnlockedCells
                                                                                         : Selection::Any;
}

}  // namespace office::engine
