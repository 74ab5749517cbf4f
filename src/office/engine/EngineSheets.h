#pragma once
// Handles for any sheet: a chart sheet's, and finding the handle behind a
// surface sheet.
#include <memory>

#include "automation/Excel.h"
#include "office/engine/SheetHandle.h"

namespace office::engine {

class EngineChartSheet final : public automation::excel::Chart {
public:
    EngineChartSheet(std::shared_ptr<WorkbookCore> core, std::uint64_t id) : handle_(std::move(core), id) {}

    automation::excel::SheetType Type() const override { return automation::excel::SheetType::Chart; }
    std::string Name() const override { return handle_.name(); }
    void SetName(const std::string& name) override { handle_.setName(name); }
    automation::excel::SheetVisibility Visible() const override { return handle_.visible(); }
    void SetVisible(automation::excel::SheetVisibility visibility) override { handle_.setVisible(visibility); }
    void Activate() override { handle_.activate(); }
    void Delete() override { handle_.remove(); }
    // The chart at the size it was saved with. Raises 1004 for a chart sheet
    // whose chart could not be read, or when charts cannot be drawn.
    void CopyPicture(automation::excel::PictureFormat format = automation::excel::PictureFormat::Picture,
                     automation::excel::PictureAppearance appearance = automation::excel::PictureAppearance::Screen) override;

    const SheetHandle& handle() const { return handle_; }

private:
    SheetHandle handle_;
};

// The handle of model sheet `index` of `core`: a worksheet's or a chart sheet's.
std::shared_ptr<automation::excel::Sheet> sheetAt(const std::shared_ptr<WorkbookCore>& core, std::size_t index);
// The engine's handle behind a sheet of the surface; nullptr for a foreign one.
const SheetHandle* handleOf(automation::excel::Sheet& sheet);

}  // namespace office::engine
