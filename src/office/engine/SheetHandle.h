#pragma once
// What worksheet and chart sheet handles share: the workbook core and the
// sheet's stable id, so handles survive sheets being added or deleted before
// theirs, and the sheet-level calls (name, visibility, activation, deletion).
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Excel.h"
#include "office/engine/WorkbookCore.h"

namespace office::engine {

class SheetHandle {
public:
    SheetHandle(std::shared_ptr<WorkbookCore> core, std::uint64_t id) : core_(std::move(core)), id_(id) {}

    // The sheet's position and model, after checking the workbook is still
    // open and the sheet not deleted.
    std::size_t index() const;
    SheetModel& sheet() const;
    WorkbookCore& core() const;
    const std::shared_ptr<WorkbookCore>& sharedCore() const { return core_; }
    std::uint64_t id() const { return id_; }

    std::string name() const;
    void setName(const std::string& name);
    automation::excel::SheetVisibility visible() const;
    void setVisible(automation::excel::SheetVisibility visibility);
    // Makes the sheet the active one of its workbook, and its workbook the active one.
    void activate();
    void remove();

private:
    std::shared_ptr<WorkbookCore> core_;
    std::uint64_t id_;
};

}  // namespace office::engine
