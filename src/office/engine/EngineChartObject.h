#pragma once
// An embedded chart of a worksheet, found by its object id so the handle
// survives other objects coming and going.
#include <cstdint>
#include <memory>

#include "automation/Excel.h"
#include "office/model/WorkbookModel.h"

namespace office::engine {

class EngineWorksheet;

class EngineChartObject final : public automation::excel::ChartObject {
public:
    EngineChartObject(std::shared_ptr<EngineWorksheet> sheet, std::uint16_t objectId)
        : sheet_(std::move(sheet)), objectId_(objectId) {}

    std::string Name() const override;
    double Left() const override;
    double Top() const override;
    double Width() const override;
    double Height() const override;
    // The chart at its size on the sheet, drawn from the workbook it came from.
    void CopyPicture(automation::excel::PictureFormat format = automation::excel::PictureFormat::Picture,
                     automation::excel::PictureAppearance appearance = automation::excel::PictureAppearance::Screen) override;
    // Raises 1004 when the sheet's objects are protected.
    void Delete() override;

private:
    DrawingObject& object() const;
    std::shared_ptr<EngineWorksheet> sheet_;
    std::uint16_t objectId_;
};

}  // namespace office::engine
