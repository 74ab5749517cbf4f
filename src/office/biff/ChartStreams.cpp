#include "office/biff/ChartStreams.h"

#include <algorithm>

#include "office/biff/BiffErrors.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/BiffStrings.h"
#include "office/biff/OfficeArt.h"
#include "office/biff/RecordReader.h"
#include "office/biff/SheetDrawing.h"

namespace office::biff {
namespace {

// The chart's drawing data joined from its MSODRAWING records (and their
// CONTINUE records), with where each piece sits in the chart's bytes.
struct ChartDrawing {
    std::vector<std::uint8_t> data;
    struct Piece {
        std::size_t dataOffset, chartOffset, size;
    };
    std::vector<Piece> pieces;

    std::size_t chartPosition(std::size_t dataOffset) const {
        for (const Piece& p : pieces)
            if (dataOffset >= p.dataOffset && dataOffset < p.dataOffset + p.size)
                return p.chartOffset + (dataOffset - p.dataOffset);
        throwDamaged("a chart's drawing is cut short", 0);
    }
};

ChartDrawing joinDrawing(std::span<const std::uint8_t> chart) {
    ChartDrawing drawing;
    RecordReader reader(chart);
    Record r;
    DrawingRecordKinds kinds;
    reader.next(r);  // the chart's BOF
    while (reader.next(r) && r.id != rec::kEof) {
        if (kinds.next(r) != DrawingRecordKinds::Kind::Drawing) continue;
        drawing.pieces.push_back({drawing.data.size(), static_cast<std::size_t>(r.bodyOffset()), r.body.size()});
        drawing.data.insert(drawing.data.end(), r.body.begin(), r.body.end());
    }
    return drawing;
}

// The FDG and FSP records of the drawing, checked.
struct DrawingParts {
    std::optional<art::ArtRecord> fdg;
    std::vector<art::ArtRecord> shapes;
};

DrawingParts partsOf(const ChartDrawing& drawing) {
    DrawingParts parts;
    if (drawing.data.empty()) return parts;
    art::walk(drawing.data, 0, drawing.data.size(), 0, [&](const art::ArtRecord& r) {
        if (r.type == art::kFdg && r.length >= 8) parts.fdg = r;
        if (r.type == art::kFsp && r.length >= 8) parts.shapes.push_back(r);
    });
    return parts;
}

void patchU32(std::vector<std::uint8_t>& chart, const ChartDrawing& drawing, std::size_t dataOffset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) chart[drawing.chartPosition(dataOffset + i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void patchU16(std::vector<std::uint8_t>& chart, const ChartDrawing& drawing, std::size_t dataOffset, std::uint16_t value) {
    for (int i = 0; i < 2; ++i) chart[drawing.chartPosition(dataOffset + i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::size_t substreamEnd(std::span<const std::uint8_t> stream, std::size_t offset) {
    RecordReader reader(stream, offset);
    Record r;
    reader.next(r);  // the BOF itself
    std::size_t depth = 0;  // substreams inside it, which other writers may nest
    while (reader.next(r)) {
        if (r.id == rec::kBof) ++depth;
        if (r.id == rec::kEof && depth-- == 0) return reader.position();
    }
    throwDamaged("a chart has no end", offset);
}

std::uint32_t chartDrawingShapeCount(std::span<const std::uint8_t> chart) {
    return static_cast<std::uint32_t>(partsOf(joinDrawing(chart)).shapes.size());
}

void renumberChartDrawing(std::vector<std::uint8_t>& chart, const DrawingIds& ids) {
    const ChartDrawing drawing = joinDrawing(chart);
    const DrawingParts parts = partsOf(drawing);
    if (parts.fdg) {
        const std::uint16_t versionInstance = static_cast<std::uint16_t>(parts.fdg->version | (ids.drawingId << 4));
        patchU16(chart, drawing, parts.fdg->offset, versionInstance);
        patchU32(chart, drawing, parts.fdg->body(), ids.shapeCount);
        patchU32(chart, drawing, parts.fdg->body() + 4, ids.lastShapeId());
    }
    std::uint32_t next = ids.firstShapeId;
    for (const art::ArtRecord& shape : parts.shapes) patchU32(chart, drawing, shape.body(), next++);
}

void clearChartBof(std::vector<std::uint8_t>& chart) {
    constexpr std::size_t kBofBody = 16;
    if (chart.size() < 4 + kBofBody || static_cast<std::size_t>(chart[2] | (chart[3] << 8)) < kBofBody) return;
    if ((chart[4] | (chart[5] << 8)) == rec::kBiff8Version) return;  // clear already
    const auto put16 = [&](std::size_t at, std::uint16_t v) {
        chart[at] = static_cast<std::uint8_t>(v);
        chart[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    std::fill(chart.begin() + 4, chart.begin() + 4 + kBofBody, 0);
    put16(4, rec::kBiff8Version);
    put16(6, rec::kBofChart);
    put16(8, rec::kBofBuild);
    put16(10, rec::kBofYear);
    put16(16, static_cast<std::uint16_t>(rec::kBofLowestVersion));
}

std::optional<std::pair<double, double>> chartSize(std::span<const std::uint8_t> chart) {
    RecordReader reader(chart);
    Record r;
    while (reader.next(r)) {
        if (r.id != rec::kChart || r.body.size() < 16) continue;
        // Four 16.16 fixed-point numbers in points: left, top, width, height.
        auto fixed = [&](std::size_t at) { return static_cast<std::int32_t>(art::readU32(r.body, at)) / 65536.0; };
        return std::pair(fixed(8), fixed(12));
    }
    return std::nullopt;
}

std::string chartCodeName(std::span<const std::uint8_t> chart) {
    RecordReader reader(chart);
    Record r;
    while (reader.next(r)) {
        if (r.id == rec::kCodeName) {
            ByteCursor in(r.body, r.bodyOffset());
            return readUnicodeString(in);
        }
    }
    return {};
}

}  // namespace office::biff
