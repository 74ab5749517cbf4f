#include "office/engine/EngineChartObject.h"

#include <algorithm>

#include "office/engine/ChartPictures.h"
#include "office/engine/EngineWorksheet.h"
#include "office/engine/SheetGeometry.h"

namespace office::engine {

namespace excel = automation::excel;

DrawingObject& EngineChartObject::object() const {
    SheetModel& sheet = sheet_->sheet();
    auto it = std::find_if(sheet.drawings.begin(), sheet.drawings.end(), [&](const DrawingObject& o) {
        return o.kind == DrawingKind::Chart && o.objectId == objectId_;
    });
    if (it == sheet.drawings.end()) raise("This chart object has been deleted; it can no longer be used.");
    return *it;
}

std::string EngineChartObject::Name() const {
    object();
    return "Chart " + std::to_string(objectId_);
}

double EngineChartObject::Left() const { return anchorRect(sheet_->sheet(), object().anchor).left; }
double EngineChartObject::Top() const { return anchorRect(sheet_->sheet(), object().anchor).top; }
double EngineChartObject::Width() const { return anchorRect(sheet_->sheet(), object().anchor).width; }
double EngineChartObject::Height() const { return anchorRect(sheet_->sheet(), object().anchor).height; }

void EngineChartObject::CopyPicture(excel::PictureFormat, excel::PictureAppearance) {
    const DrawingObject& chart = object();
    const PointRect rect = anchorRect(sheet_->sheet(), chart.anchor);
    WorkbookCore& core = sheet_->core();
    const WorkbookModel& drawsFrom = chart.chartWorkbook ? *chart.chartWorkbook : core.model;
    CopiedPicture copied;
    copied.picture = chartPicture(*core.app, drawsFrom, chart.chartStream, rect.width, rect.height);
    copied.widthPt = rect.width;
    copied.heightPt = rect.height;
    core.app->clipboard = std::move(copied);
}

void EngineChartObject::Delete() {
    SheetModel& sheet = sheet_->sheet();
    checkSheetUnprotected(sheet, true);
    const DrawingObject* target = &object();
    std::erase_if(sheet.drawings, [&](const DrawingObject& o) { return &o == target; });
}

}  // namespace office::engine
