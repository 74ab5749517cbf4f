#include "office/engine/EngineSheets.h"

#include "office/biff/ChartStreams.h"
#include "office/engine/ChartPictures.h"
#include "office/engine/EngineWorksheet.h"

namespace office::engine {

namespace excel = automation::excel;

void EngineChartSheet::CopyPicture(excel::PictureFormat, excel::PictureAppearance) {
    const SheetModel& sheet = handle_.sheet();
    if (sheet.chartStream.empty())
        raise("CopyPicture method of Chart class failed: the chart of sheet '" + sheet.name + "' could not be read.");
    // A chart sheet's chart has the size it was last shown at; Excel's page-wide default otherwise.
    auto size = biff::chartSize(sheet.chartStream);
    if (!size || size->first < 1 || size->second < 1) size = std::pair(680.0, 466.0);
    WorkbookCore& core = handle_.core();
    CopiedPicture copied;
    copied.picture = chartPicture(*core.app, core.model, sheet.chartStream, size->first, size->second);
    copied.widthPt = size->first;
    copied.heightPt = size->second;
    core.app->clipboard = std::move(copied);
}

std::shared_ptr<excel::Sheet> sheetAt(const std::shared_ptr<WorkbookCore>& core, std::size_t index) {
    const std::uint64_t id = core->sheetIds[index];
    if (core->model.sheets[index].kind == SheetKind::Chart) return std::make_shared<EngineChartSheet>(core, id);
    return std::make_shared<EngineWorksheet>(core, id);
}

const SheetHandle* handleOf(excel::Sheet& sheet) {
    if (auto* worksheet = dynamic_cast<EngineWorksheet*>(&sheet)) return &worksheet->handle();
    if (auto* chart = dynamic_cast<EngineChartSheet*>(&sheet)) return &chart->handle();
    return nullptr;
}

}  // namespace office::engine
