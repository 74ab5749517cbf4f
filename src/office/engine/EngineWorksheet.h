#pragma once
// A worksheet handle: its cells and ranges, copying the sheet, pasting
// pictures, its chart objects, page setup and protection.
#include <cstdint>
#include <memory>

#include "automation/Excel.h"
#include "office/engine/CellAddress.h"
#include "office/engine/EnginePageSetup.h"
#include "office/engine/SheetHandle.h"

namespace office::engine {

class EngineWorksheet final : public automation::excel::Worksheet,
                              public std::enable_shared_from_this<EngineWorksheet> {
public:
    EngineWorksheet(std::shared_ptr<WorkbookCore> core, std::uint64_t id)
        : handle_(std::move(core), id), pageSetup_(handle_) {}

    automation::excel::SheetType Type() const override { return automation::excel::SheetType::Worksheet; }
    std::string Name() const override { return handle_.name(); }
    void SetName(const std::string& name) override { handle_.setName(name); }
    automation::excel::SheetVisibility Visible() const override { return handle_.visible(); }
    void SetVisible(automation::excel::SheetVisibility visibility) override { handle_.setVisible(visibility); }
    void Activate() override { handle_.activate(); }
    void Delete() override { handle_.remove(); }

    std::shared_ptr<automation::excel::Range> Cells(long row, long column) override;
    std::shared_ptr<automation::excel::Range> GetRange(const std::string& address) override;
    std::shared_ptr<automation::excel::Range> Rows(long row) override;
    std::shared_ptr<automation::excel::Range> Columns(const std::string& address) override;
    std::shared_ptr<automation::excel::Range> AllCells() override;

    // Raises 1004 when the target workbook's structure is protected. A copy
    // into another workbook takes the cells' values and formats, merged
    // blocks, sizes, window, page setup, protection, pictures and charts;
    // formulas, comments, conditional formats, hyperlinks, validation and
    // other drawn objects stay behind (they point into their own workbook).
    void Copy(automation::excel::Sheet& after) override;
    // Raises 1004 when the clipboard holds no picture or the sheet's objects
    // are protected.
    void Paste(automation::excel::Range& destination) override;
    long ChartObjectCount() override;
    std::shared_ptr<automation::excel::ChartObject> ChartObjects(long index) override;
    std::shared_ptr<automation::excel::OLEObject> AddOLEObject(const std::string& fileName, bool link,
                                                               bool displayAsIcon, long iconIndex,
                                                               const std::string& iconLabel) override;
    long OLEObjectCount() override;
    std::shared_ptr<automation::excel::OLEObject> OLEObjects(long index) override;
    std::shared_ptr<automation::excel::OLEObject> OLEObjects(const std::string& name) override;
    automation::excel::PageSetup& GetPageSetup() override { return pageSetup_; }
    void Protect(const std::string& password, bool drawingObjects = true, bool contents = true,
                 bool scenarios = true) override;
    void Unprotect(const std::string& password) override;
    bool ProtectContents() const override;
    automation::excel::SelectionMode EnableSelection() const override;
    void SetEnableSelection(automation::excel::SelectionMode mode) override;

    // For ranges and objects of the sheet.
    SheetModel& sheet() const { return handle_.sheet(); }
    WorkbookCore& core() const { return handle_.core(); }
    const SheetHandle& handle() const { return handle_; }
    std::shared_ptr<automation::excel::Range> rangeAt(const RangeBounds& bounds);

private:
    SheetHandle handle_;
    EnginePageSetup pageSetup_;
};

// Raises 1004 as Excel does when `sheet` is protected against changing cells
// (or, with `objects`, against changing its drawn objects).
void checkSheetUnprotected(const SheetModel& sheet, bool objects);

}  // namespace office::engine
