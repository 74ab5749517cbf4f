#pragma once
// An object embedded in a worksheet, found by its object id so the handle
// survives other objects coming and going; and the embedding itself.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation/Excel.h"
#include "office/model/WorkbookModel.h"

namespace office::engine {

class EngineWorksheet;

class EngineOleObject final : public automation::excel::OLEObject {
public:
    EngineOleObject(std::shared_ptr<EngineWorksheet> sheet, std::uint16_t objectId)
        : sheet_(std::move(sheet)), objectId_(objectId) {}

    std::string Name() const override;
    std::string progID() const override;
    void Activate() override;
    std::shared_ptr<automation::word::Document> Object() override;
    void Delete() override;
    std::vector<std::uint8_t> FileBytes() const override;
    std::string FileName() const override;
    double Left() const override;
    double Top() const override;
    double Width() const override;
    double Height() const override;
    bool Visible() const override;
    void SetVisible(bool visible) override;

private:
    DrawingObject& object() const;
    const cfb::Node& storage() const;
    std::shared_ptr<EngineWorksheet> sheet_;
    std::uint16_t objectId_;
    std::shared_ptr<automation::word::Document> document_;  // of the last activation
};

// Removes the storages of `storages` that no object of the workbook shows
// any more (after an object or a sheet went).
void dropUnusedStorages(WorkbookModel& model, const std::vector<std::uint32_t>& storages);

// Embeds `fileName` into the sheet as Worksheet::AddOLEObject says; returns
// the new object's id. Nothing changes when it fails.
std::uint16_t embedFile(EngineWorksheet& sheet, const std::string& fileName, bool link, bool displayAsIcon,
                        const std::string& iconLabel);

}  // namespace office::engine
