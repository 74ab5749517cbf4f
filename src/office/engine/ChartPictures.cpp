#include "office/engine/ChartPictures.h"

namespace office::engine {

automation::Picture chartPicture(ApplicationState& app, const WorkbookModel& workbook,
                                 std::span<const std::uint8_t> chartStream, double widthPt, double heightPt) {
    if (app.drawChart) return app.drawChart({workbook, chartStream, widthPt, heightPt});
    raise("Charts cannot be turned into pictures here: this Excel has no chart reader and picture maker.");
}

}  // namespace office::engine
