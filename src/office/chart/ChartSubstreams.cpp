#include "office/chart/ChartSubstreams.h"

#include "office/biff/BiffErrors.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/RecordReader.h"

namespace office::chart {

std::vector<ChartSubstream> findChartSubstreams(std::span<const std::uint8_t> clearStream) {
    std::vector<ChartSubstream> charts;
    biff::RecordReader reader(clearStream);
    biff::Record r;
    std::size_t sheet = 0;  // the BOF of the substream we are in
    bool chartSheet = false;
    int depth = 0;
    while (reader.next(r)) {
        if (r.id == biff::rec::kBof) {
            if (depth >= 2 || (depth == 1 && chartSheet)) biff::throwDamaged("a chart holds another substream", r.offset);
            if (depth == 0) {
                sheet = r.offset;
                chartSheet = r.body.size() >= 4 && (r.body[2] | (r.body[3] << 8)) == biff::rec::kBofChart;
            }
            if (depth == 1 || chartSheet) charts.push_back({r.offset, 0, sheet});
            ++depth;
        } else if (r.id == biff::rec::kEof && depth > 0) {
            --depth;
            const bool endsChart = depth == 1 || (depth == 0 && chartSheet);
            if (endsChart && !charts.empty()) charts.back().size = reader.position() - charts.back().offset;
        }
    }
    // A chart cut off by the end of the stream runs to its end.
    if (!charts.empty() && charts.back().size == 0) charts.back().size = clearStream.size() - charts.back().offset;
    return charts;
}

}  // namespace office::chart
