#include "office/engine/ChartPictures.h"

#include "office/chart/ChartData.h"
#include "office/chart/ChartReader.h"

namespace office::engine {

automation::Picture chartPicture(ApplicationState& app, const WorkbookModel& workbook,
                                 std::span<const std::uint8_t> chartStream, double widthPt, double heightPt) {
    if (app.drawChart) return app.drawChart({workbook, chartStream, widthPt, heightPt});
    if (!app.pictures) raise("Charts cannot be turned into pictures here: this Excel has no picture maker.");
    automation::chart::Chart chart = chart::readChart(chartStream, workbook.palette);
    chart::fillFromCells(chart, chart::externSheetTable(workbook.links), chart::modelCells(workbook));
    return app.pictures->chartPicture(chart, widthPt, heightPt);
}

}  // namespace office::engine
