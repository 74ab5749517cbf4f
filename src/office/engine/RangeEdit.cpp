// Range.Delete and Range.Copy.
#include "office/engine/EngineRange.h"
#include "office/engine/SheetEdit.h"
#include "office/engine/SheetHandle.h"

namespace office::engine {

namespace excel = automation::excel;

// Whole rows (columns) are removed; for a block Excel decides by its shape:
// a block taller than wide closes the gap from the right, any other from below.
void EngineRange::Delete() {
    SheetModel& sheet = sheet_->sheet();
    if (bounds_.wholeRows() && bounds_.wholeColumns()) {
        sheet.rows.all().clear();
        sheet.columns.clear();
    } else if (bounds_.wholeRows()) {
        deleteRows(sheet, bounds_.firstRow, bounds_.lastRow);
    } else if (bounds_.wholeColumns()) {
        deleteColumns(sheet, bounds_.firstColumn, bounds_.lastColumn);
    } else if (bounds_.rowCount() > bounds_.columnCount()) {
        deleteCellsShiftLeft(sheet, bounds_);
    } else {
        deleteCellsShiftUp(sheet, bounds_);
    }
}

// Whole rows land on whole rows starting at the destination's row, whole
// columns on columns; a block lands with its top-left on the destination's
// top-left cell. The destination may be in another workbook of the instance.
void EngineRange::Copy(Range& destination) {
    auto* target = dynamic_cast<EngineRange*>(&destination);
    if (!target) raise("Copy: the destination is not a range of this Excel instance.");
    checkBlockSize();
    SheetModel& from = sheet_->sheet();
    SheetModel& to = target->sheet_->sheet();
    if (sheet_->core().app != target->sheet_->core().app)
        raise("Copy: the destination belongs to another Excel instance.");
    XfTranslator translate(sheet_->core().model, target->sheet_->core().model);
    const RangeBounds& at = target->bounds_;
    auto misfit = [&] {
        raise("Copy: the copied cells " + formatAddress(bounds_) + " do not fit at " + formatAddress(at) + ".");
    };

    if (bounds_.wholeRows()) {
        if (at.firstColumn != 1 || at.firstRow + bounds_.rowCount() - 1 > kMaxRows) misfit();
        copyRows(from, bounds_.firstRow, bounds_.lastRow, to, at.firstRow, translate);
    } else if (bounds_.wholeColumns()) {
        if (at.firstRow != 1 || at.firstColumn + bounds_.columnCount() - 1 > kMaxColumns) misfit();
        copyColumns(from, bounds_.firstColumn, bounds_.lastColumn, to, at.firstColumn, translate);
    } else {
        if (at.firstRow + bounds_.rowCount() - 1 > kMaxRows || at.firstColumn + bounds_.columnCount() - 1 > kMaxColumns)
            misfit();
        copyBlock(from, bounds_, to, at.firstRow, at.firstColumn, translate);
    }
}

void EngineRange::Copy() {
    const SheetHandle& handle = sheet_->handle();
    handle.index();
    sheet_->core().app->clipboard = CopiedCells{handle.sharedCore(), handle.id(), bounds_};
}

void EngineRange::PasteSpecial(excel::PasteType paste) { pasteCells(paste); }

void EngineRange::pasteCells(excel::PasteType paste) {
    ApplicationState& app = *sheet_->core().app;
    const auto* copied = std::get_if<CopiedCells>(&app.clipboard);
    const std::shared_ptr<WorkbookCore> book = copied ? copied->book.lock() : nullptr;
    if (!book || book->closed || !book->indexOf(copied->sheetId))
        raise("PasteSpecial method of Range class failed: there are no copied cells to paste.");
    checkSheetUnprotected(sheet_->sheet(), false);
    switch (paste) {
    case excel::PasteType::All: {
        EngineRange source(std::make_shared<EngineWorksheet>(book, copied->sheetId), copied->bounds);
        source.Copy(*this);
        return;
    }
    case excel::PasteType::Values:
        pasteValues(book->model.sheets[*book->indexOf(copied->sheetId)], copied->bounds, sheet_->sheet(),
                    bounds_.firstRow, bounds_.firstColumn);
        return;
    default:
        raise("PasteSpecial method of Range class failed: only values or everything can be pasted.");
    }
}

}  // namespace office::engine
