#include "office/biff/SheetWriter.h"

#include <algorithm>
#include <cstring>

#include "office/biff/BiffRecords.h"
#include "office/biff/Rk.h"
#include "text/Utf.h"

namespace office::biff {
namespace {

// Width written for a column whose model width is 0 (the sheet default):
// 8.43 characters of the default font, as Excel stores it.
constexpr std::uint16_t kStandardColumnWidth = 2340;
constexpr std::size_t kRowsPerBlock = 32;

void writeBof(RecordWriter& out, std::uint16_t type) {
    out.begin(rec::kBof);
    out.u16(rec::kBiff8Version);
    out.u16(type);
    out.u16(0x0DBB);  // build
    out.u16(0x07CC);  // year
    out.u32(0);       // file history
    out.u32(0x06);    // lowest BIFF version
    out.end();
}

void writeSheetHeader(RecordWriter& out) {
    out.recordU16(rec::kCalcMode, 1);
    out.recordU16(rec::kCalcCount, 100);
    out.recordU16(rec::kRefMode, 1);
    out.recordU16(rec::kIteration, 0);
    out.begin(rec::kDelta);
    out.f64(0.001);
    out.end();
    out.recordU16(rec::kSaveRecalc, 1);
    out.recordU16(rec::kPrintHeaders, 0);
    out.recordU16(rec::kPrintGridlines, 0);
    out.recordU16(rec::kGridSet, 1);
    out.begin(rec::kGuts);
    out.zeros(8);
    out.end();
    out.begin(rec::kDefaultRowHeight);
    out.u16(0);
    out.u16(255);
    out.end();
    out.recordU16(rec::kWsBool, 0x04C1);
    out.empty(rec::kHeader);
    out.empty(rec::kFooter);
    out.recordU16(rec::kHCenter, 0);
    out.recordU16(rec::kVCenter, 0);
    // SETUP with fNoPls: no printer settings, Excel takes its defaults.
    out.begin(rec::kSetup);
    out.u16(0);       // paper
    out.u16(100);     // scale
    out.u16(1);       // first page number
    out.u16(1);       // fit width
    out.u16(1);       // fit height
    out.u16(0x0006);  // portrait, no printer settings
    out.u16(0);       // resolution
    out.u16(0);       // vertical resolution
    out.f64(0.5);     // header margin
    out.f64(0.5);     // footer margin
    out.u16(1);       // copies
    out.end();
    out.recordU16(rec::kDefColWidth, 8);
}

void writeColumns(RecordWriter& out, const SheetModel& sheet, std::size_t xfCount) {
    auto needsRecord = [](const ColumnDef& c) { return c.width != 0 || c.hidden || (c.xf && *c.xf != 15); };
    auto it = sheet.columns.begin();
    while (it != sheet.columns.end()) {
        if (it->first >= kMaxColumns || !needsRecord(it->second)) {
            ++it;
            continue;
        }
        // One record for a run of neighbouring columns with equal settings.
        auto last = it;
        for (auto next = std::next(it); next != sheet.columns.end() && next->first == last->first + 1 &&
                                        next->first < kMaxColumns && next->second == it->second;
             ++next)
            last = next;
        const ColumnDef& def = it->second;
        std::uint16_t xf = def.xf && *def.xf < xfCount ? *def.xf : 15;
        out.begin(rec::kColInfo);
        out.u16(it->first);
        out.u16(last->first);
        out.u16(def.width ? def.width : kStandardColumnWidth);
        out.u16(xf);
        out.u16(def.hidden ? 0x0001 : 0x0000);
        out.u16(0);
        out.end();
        it = std::next(last);
    }
}

bool rowNeedsRecord(const RowDef& row) {
    return row.xf || row.customHeight || row.hidden || row.heightTwips != 255;
}

// The columns of a row that get cell records: [first, last).
struct RowSpan {
    std::uint16_t first = 0, last = 0;
    bool empty() const { return first == last; }
};

RowSpan spanOf(const SheetModel& sheet, const RowDef& row) {
    RowSpan span;
    bool any = false;
    forEachWrittenCell(sheet, row, [&](std::size_t c, const Cell&) {
        if (!any) span.first = static_cast<std::uint16_t>(c);
        span.last = static_cast<std::uint16_t>(c + 1);
        any = true;
    });
    return span;
}

// Cell records are small and many: each is packed in a local buffer and
// appended in one go.
class CellWriter {
public:
    CellWriter(RecordWriter& out, SheetWriteContext& context) : out_(out), context_(context) {}

    void write(std::uint16_t row, std::uint16_t col, const Cell& cell) {
        const std::uint16_t xf = cell.xf < context_.xfCount ? cell.xf : 15;
        const automation::Variant& v = cell.value;
        switch (v.type()) {
        case automation::Variant::Type::Empty:
            start(rec::kBlank, row, col, xf);
            break;
        case automation::Variant::Type::Text:
            start(rec::kLabelSst, row, col, xf);
            put32((*context_.stringIndexes)[context_.nextString++]);
            break;
        case automation::Variant::Type::Number:
            if (auto rk = encodeRk(v.number())) {
                start(rec::kRk, row, col, xf);
                put32(*rk);
            } else {
                start(rec::kNumber, row, col, xf);
                const double number = v.number();
                std::memcpy(buffer_ + size_, &number, 8);
                size_ += 8;
            }
            break;
        case automation::Variant::Type::Boolean:
        case automation::Variant::Type::Error:
            start(rec::kBoolErr, row, col, xf);
            buffer_[size_++] = v.isError() ? v.errorCode() : (v.booleanValue() ? 1 : 0);
            buffer_[size_++] = v.isError() ? 1 : 0;
            break;
        }
        put16At(2, static_cast<std::uint16_t>(size_ - 4));
        out_.raw(buffer_, size_);
    }

private:
    void put16At(std::size_t at, std::uint16_t v) {
        buffer_[at] = static_cast<std::uint8_t>(v);
        buffer_[at + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    void put16(std::uint16_t v) {
        put16At(size_, v);
        size_ += 2;
    }
    void put32(std::uint32_t v) {
        put16(static_cast<std::uint16_t>(v));
        put16(static_cast<std::uint16_t>(v >> 16));
    }
    void start(std::uint16_t id, std::uint16_t row, std::uint16_t col, std::uint16_t xf) {
        size_ = 0;
        put16(id);
        put16(0);  // size, set once the body is complete
        put16(row);
        put16(col);
        put16(xf);
    }

    RecordWriter& out_;
    SheetWriteContext& context_;
    std::uint8_t buffer_[32];
    std::size_t size_ = 0;
};

void writeRowRecord(RecordWriter& out, const RowDef& row, RowSpan span, std::uint16_t index, std::size_t xfCount) {
    std::uint16_t flags = 0x0100;
    if (row.hidden) flags |= 0x0020;
    if (row.customHeight) flags |= 0x0040;
    std::uint16_t xf = 15;
    if (row.xf) {
        flags |= 0x0080;
        xf = *row.xf < xfCount ? *row.xf : 15;
    }
    out.begin(rec::kRow);
    out.u16(index);
    out.u16(span.first);
    out.u16(span.last);
    out.u16(row.heightTwips & 0x7FFF);
    out.u16(0);
    out.u16(0);
    out.u16(flags);
    out.u16(xf);
    out.end();
}

void writeDimensions(RecordWriter& out, const std::vector<RowSpan>& spans) {
    std::uint32_t firstRow = 0, lastRow = 0;
    std::uint16_t firstCol = 0, lastCol = 0;
    bool any = false;
    for (std::size_t r = 0; r < spans.size(); ++r) {
        if (spans[r].empty()) continue;
        if (!any) {
            firstRow = static_cast<std::uint32_t>(r);
            firstCol = spans[r].first;
            any = true;
        }
        lastRow = static_cast<std::uint32_t>(r + 1);
        firstCol = std::min(firstCol, spans[r].first);
        lastCol = std::max(lastCol, spans[r].last);
    }
    out.begin(rec::kDimensions);
    out.u32(firstRow);
    out.u32(lastRow);
    out.u16(firstCol);
    out.u16(lastCol);
    out.u16(0);
    out.end();
}

void writeWindow2(RecordWriter& out, bool active, bool chart) {
    // Gridlines, headings, zeros, automatic grid colour, outline symbols.
    std::uint16_t flags = 0x00B6;
    if (active) flags |= 0x0600;  // selected and active
    out.begin(rec::kWindow2);
    out.u16(flags);
    out.u16(0);     // top row
    out.u16(0);     // left column
    out.u16(0x40);  // heading colour
    out.u16(0);
    if (!chart) {
        out.u16(0);  // page-break preview zoom
        out.u16(0);  // normal zoom
        out.u32(0);
    }
    out.end();
}

void writeCodeName(RecordWriter& out, const SheetModel& sheet) {
    if (sheet.codeName.empty()) return;
    std::u16string units;
    text::utf8ToUtf16(sheet.codeName, units);
    out.begin(rec::kCodeName);
    out.unicodeString(units);
    out.end();
}

}  // namespace

std::uint16_t impliedXf(const SheetModel& sheet, const RowDef& row, std::size_t column) {
    if (row.xf) return *row.xf;
    if (!sheet.columns.empty()) {
        auto it = sheet.columns.find(static_cast<std::uint16_t>(column));
        if (it != sheet.columns.end() && it->second.xf) return *it->second.xf;
    }
    return 15;
}

void writeWorksheet(RecordWriter& out, const SheetModel& sheet, SheetWriteContext& context) {
    writeBof(out, rec::kBofWorksheet);
    writeSheetHeader(out);
    writeColumns(out, sheet, context.xfCount);

    const std::size_t rowCount = std::min<std::size_t>(sheet.rows.size(), kMaxRows);
    std::vector<RowSpan> spans(rowCount);
    for (std::size_t r = 0; r < rowCount; ++r) spans[r] = spanOf(sheet, sheet.rows[r]);
    writeDimensions(out, spans);

    // Rows in blocks of 32: their ROW records, then their cells.
    CellWriter cells(out, context);
    for (std::size_t block = 0; block < rowCount; block += kRowsPerBlock) {
        const std::size_t end = std::min(rowCount, block + kRowsPerBlock);
        for (std::size_t r = block; r < end; ++r)
            if (!spans[r].empty() || rowNeedsRecord(sheet.rows[r]))
                writeRowRecord(out, sheet.rows[r], spans[r], static_cast<std::uint16_t>(r), context.xfCount);
        for (std::size_t r = block; r < end; ++r) {
            if (spans[r].empty()) continue;
            forEachWrittenCell(sheet, sheet.rows[r], [&](std::size_t c, const Cell& cell) {
                cells.write(static_cast<std::uint16_t>(r), static_cast<std::uint16_t>(c), cell);
            });
        }
    }

    writeWindow2(out, context.active, false);
    writeCodeName(out, sheet);
    out.empty(rec::kEof);
}

void writeChartSheet(RecordWriter& out, const SheetModel& sheet, SheetWriteContext& context) {
    writeBof(out, rec::kBofChart);
    out.empty(rec::kHeader);
    out.empty(rec::kFooter);
    out.recordU16(rec::kHCenter, 0);
    out.recordU16(rec::kVCenter, 0);
    out.begin(rec::kChart);
    out.zeros(16);  // position and size: Excel fits a chart sheet's chart to the window
    out.end();
    out.empty(rec::kChartBegin);
    out.empty(rec::kChartEnd);
    writeWindow2(out, context.active, true);
    writeCodeName(out, sheet);
    out.empty(rec::kEof);
}

}  // namespace office::biff
