#include "office/biff/SheetWriter.h"

#include <algorithm>
#include <cstring>

#include "office/biff/BiffRecords.h"
#include "office/biff/ChartStreams.h"
#include "office/biff/RecordReader.h"
#include "office/biff/Rk.h"
#include "office/biff/SheetSettingsRecords.h"
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
    out.u16(rec::kBofBuild);
    out.u16(rec::kBofYear);
    out.u32(0);  // file history
    out.u32(rec::kBofLowestVersion);
    out.end();
}

void writeSheetHeader(RecordWriter& out, const SheetModel& sheet) {
    out.recordU16(rec::kCalcMode, 1);
    out.recordU16(rec::kCalcCount, 100);
    out.recordU16(rec::kRefMode, 1);
    out.recordU16(rec::kIteration, 0);
    out.begin(rec::kDelta);
    out.f64(0.001);
    out.end();
    out.recordU16(rec::kSaveRecalc, 1);
    writePrintOptions(out, sheet.pageSetup);
    out.recordU16(rec::kGridSet, 1);
    out.begin(rec::kGuts);
    out.zeros(8);
    out.end();
    out.begin(rec::kDefaultRowHeight);
    out.u16(sheet.defaultRowHeightTwips == 255 ? 0 : 0x0001);  // a changed default counts as custom
    out.u16(sheet.defaultRowHeightTwips);
    out.end();
    out.recordU16(rec::kWsBool, wsBoolFlags(sheet.pageSetup));
    writePageSetup(out, sheet.pageSetup);
    writeProtection(out, sheet.protection);
    out.recordU16(rec::kDefColWidth, sheet.defaultColumnWidth);
}

void writeColumns(RecordWriter& out, const SheetModel& sheet, std::size_t xfCount) {
    auto needsRecord = [](const ColumnDef& c) { return c.width != 0 || c.hidden || (c.xf && *c.xf != kDefaultCellFormat); };
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
        std::uint16_t xf = def.xf && *def.xf < xfCount ? *def.xf : kDefaultCellFormat;
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

    void write(std::uint16_t row, std::uint16_t col, const Cell& cell, bool withFormula) {
        const std::uint16_t xf = cell.xf < context_.xfCount ? cell.xf : kDefaultCellFormat;
        if (withFormula) {
            writeFormula(row, col, xf, cell);
            return;
        }
        const CellValue& v = cell.value;
        switch (v.kind()) {
        case CellValue::Kind::Empty:
            start(rec::kBlank, row, col, xf);
            break;
        case CellValue::Kind::Text:
            start(rec::kLabelSst, row, col, xf);
            put32((*context_.stringIndexes)[context_.nextString++]);
            break;
        case CellValue::Kind::Number:
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
        case CellValue::Kind::Boolean:
        case CellValue::Kind::Error:
            start(rec::kBoolErr, row, col, xf);
            buffer_[size_++] = v.isError() ? v.errorCode() : (v.booleanValue() ? 1 : 0);
            buffer_[size_++] = v.isError() ? 1 : 0;
            break;
        }
        put16At(2, static_cast<std::uint16_t>(size_ - 4));
        out_.raw(buffer_, size_);
    }

private:
    // FORMULA with the cached value, the records that came with it, and the
    // text result in a STRING record.
    void writeFormula(std::uint16_t row, std::uint16_t col, std::uint16_t xf, const Cell& cell) {
        const CellValue& v = cell.value;
        out_.begin(rec::kFormula);
        out_.u16(row);
        out_.u16(col);
        out_.u16(xf);
        if (v.isNumber()) {
            out_.f64(v.number());
        } else {
            std::uint8_t value[8] = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
            if (v.isBoolean()) value[0] = 1, value[2] = v.booleanValue() ? 1 : 0;
            else if (v.isError()) value[0] = 2, value[2] = v.errorCode();
            else if (v.isEmpty() || v.text().empty()) value[0] = 3;
            out_.raw(value, 8);
        }
        const Formula& formula = *cell.formula;
        out_.raw(formula.parsed.data(), formula.parsed.size());
        out_.end();
        for (const RawRecord& record : formula.attached) out_.record(record.id, record.body);
        if (v.isText() && !v.text().empty()) {
            std::u16string units;
            text::utf8ToUtf16(v.text(), units);
            out_.begin(rec::kString);
            out_.unicodeString(clipUnits(units, 4000));
            out_.end();
        }
    }

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
    std::uint16_t xf = kDefaultCellFormat;
    if (row.xf) {
        flags |= 0x0080;
        xf = *row.xf < xfCount ? *row.xf : kDefaultCellFormat;
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

// A kept chart sheet is selected and shown exactly when it is the active sheet now.
void markChartWindow(std::vector<std::uint8_t>& chart, bool active) {
    constexpr std::uint16_t kSelectedAndShown = 0x0600;
    RecordReader reader(chart);
    Record r;
    while (reader.next(r)) {
        if (r.id != rec::kWindow2 || r.body.size() < 2) continue;
        const std::size_t at = static_cast<std::size_t>(r.bodyOffset());
        std::uint16_t flags = static_cast<std::uint16_t>(chart[at] | (chart[at + 1] << 8));
        flags = active ? (flags | kSelectedAndShown) : (flags & ~kSelectedAndShown);
        chart[at] = static_cast<std::uint8_t>(flags);
        chart[at + 1] = static_cast<std::uint8_t>(flags >> 8);
    }
}

// The minimal chart-sheet WINDOW2 (10 bytes).
void writeChartWindow(RecordWriter& out, bool active) {
    out.begin(rec::kWindow2);
    out.u16(active ? 0x06B6 : 0x00B6);
    out.zeros(8);
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
    return kDefaultCellFormat;
}

bool formulaWritable(const SheetModel& sheet, const Formula& formula) {
    constexpr std::size_t kExpressionStart = 8;  // after options (2), chn (4), cce (2)
    const auto& p = formula.parsed;
    if (p.size() < kExpressionStart || 20 + p.size() > rec::kMaxBody) return false;
    const std::size_t length = static_cast<std::size_t>(p[6] | (p[7] << 8));
    constexpr std::uint8_t kPtgExp = 0x01, kPtgTbl = 0x02;
    if (length != 5 || p.size() < kExpressionStart + 5 || (p[8] != kPtgExp && p[8] != kPtgTbl)) return true;
    const std::uint32_t row = static_cast<std::uint32_t>(p[9] | (p[10] << 8)) + 1;
    const std::uint32_t column = static_cast<std::uint32_t>(p[11] | (p[12] << 8)) + 1;
    const Cell* host = sheet.cell(row, column);
    return host && host->formula && !host->formula->attached.empty();
}

void writeWorksheet(RecordWriter& out, const SheetModel& sheet, SheetWriteContext& context) {
    writeBof(out, rec::kBofWorksheet);
    writeSheetHeader(out, sheet);
    writeColumns(out, sheet, context.xfCount);

    // A copied row keeps its records as read; any other is written from its cells.
    const CopiedCells* copied = context.copied;
    auto isCopied = [copied](std::size_t r) { return copied && copied->copied(static_cast<std::uint32_t>(r + 1)); };
    auto rowAt = [&sheet, &isCopied](std::size_t r) -> const RowDef& {
        const auto row = static_cast<std::uint32_t>(r + 1);
        return isCopied(r) ? sheet.rows.settings(row) : *sheet.rows.row(row);
    };
    const std::size_t rowCount = std::min<std::size_t>(sheet.rows.count(), kMaxRows);
    std::vector<RowSpan> spans(rowCount);
    for (std::size_t r = 0; r < rowCount; ++r) {
        if (isCopied(r))
            spans[r] = {copied->firstColumn(static_cast<std::uint32_t>(r + 1)), copied->endColumn(static_cast<std::uint32_t>(r + 1))};
        else
            spans[r] = spanOf(sheet, rowAt(r));
    }
    writeDimensions(out, spans);

    // Rows in blocks of 32: their ROW records, then their cells.
    CellWriter cells(out, context);
    for (std::size_t block = 0; block < rowCount; block += kRowsPerBlock) {
        const std::size_t end = std::min(rowCount, block + kRowsPerBlock);
        for (std::size_t r = block; r < end; ++r)
            if (!spans[r].empty() || rowNeedsRecord(rowAt(r)))
                writeRowRecord(out, rowAt(r), spans[r], static_cast<std::uint16_t>(r), context.xfCount);
        for (std::size_t r = block; r < end; ++r) {
            if (spans[r].empty()) continue;
            if (isCopied(r)) {
                copied->write(out, static_cast<std::uint32_t>(r + 1));
                continue;
            }
            forEachWrittenCell(sheet, rowAt(r), [&](std::size_t c, const Cell& cell) {
                cells.write(static_cast<std::uint16_t>(r), static_cast<std::uint16_t>(c), cell,
                            cell.formula && formulaWritable(sheet, *cell.formula));
            });
        }
    }

    if (context.drawingIds) writeSheetDrawing(out, sheet.drawings, context.pictureCount, *context.drawingIds);
    for (const RawRecord& note : sheet.notes) out.record(note.id, note.body);
    writeWindow(out, sheet.window, context.active);
    writeMergedCells(out, sheet.mergedCells);
    for (const RawRecord& record : sheet.keptRecords) out.record(record.id, record.body);
    writeCodeName(out, sheet);
    out.empty(rec::kEof);
}

void writeChartSheet(RecordWriter& out, const SheetModel& sheet, SheetWriteContext& context) {
    if (!sheet.chartStream.empty()) {
        std::vector<std::uint8_t> chart = sheet.chartStream;
        if (context.drawingIds) renumberChartDrawing(chart, context.drawingIds->sheet);
        markChartWindow(chart, context.active);
        out.raw(chart.data(), chart.size());
        return;
    }
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
    writeChartWindow(out, context.active);
    writeCodeName(out, sheet);
    out.empty(rec::kEof);
}

}  // namespace office::biff
