#pragma once
// A worksheet handle: the workbook core plus the sheet's stable id, so that
// handles survive sheets being added or deleted before it.
#include <cstdint>
#include <memory>

#include "automation/Excel.h"
#include "office/engine/CellAddress.h"
#include "office/engine/WorkbookCore.h"

namespace office::engine {

class EngineWorksheet final : public automation::excel::Worksheet,
                              public std::enable_shared_from_this<EngineWorksheet> {
public:
    EngineWorksheet(std::shared_ptr<WorkbookCore> core, std::uint64_t id) : core_(std::move(core)), id_(id) {}

    std::string Name() const override;
    void SetName(const std::string& name) override;
    automation::excel::SheetVisibility Visible() const override;
    void SetVisible(automation::excel::SheetVisibility visibility) override;
    std::shared_ptr<automation::excel::Range> Cells(long row, long column) override;
    std::shared_ptr<automation::excel::Range> GetRange(const std::string& address) override;
    std::shared_ptr<automation::excel::Range> Rows(long row) override;
    std::shared_ptr<automation::excel::Range> Columns(const std::string& address) override;
    void Delete() override;

    // For ranges: the sheet's model, after checking the workbook is still open
    // and the sheet not deleted.
    SheetModel& sheet() const;
    WorkbookCore& core() const;
    std::shared_ptr<automation::excel::Range> rangeAt(const RangeBounds& bounds);

private:
    std::size_t index() const;
    std::shared_ptr<WorkbookCore> core_;
    std::uint64_t id_;
};

}  // namespace office::engine
