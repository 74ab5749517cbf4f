#include "office/biff/SheetReader.h"

#include <algorithm>
#include <optional>

#include "office/biff/BiffRecords.h"
#include "office/biff/BiffStrings.h"
#include "office/biff/ByteCursor.h"
#include "office/biff/ChartStreams.h"
#include "office/biff/RecordReader.h"
#include "office/biff/Rk.h"
#include "office/biff/SheetDrawing.h"
#include "office/biff/SheetSettingsRecords.h"
#include "office/io/FreshMemory.h"

namespace office::biff {
namespace {

class SheetBuilder {
public:
    SheetBuilder(SheetModel& sheet, const SharedStrings& strings, std::size_t xfCount, std::size_t bytesLeft)
        : sheet_(sheet), strings_(strings), xfCount_(xfCount), bytesLeft_(bytesLeft) {}

    void handle(const Record& r, RecordReader& reader);
    void addChart(std::span<const std::uint8_t> substream) { drawing_.addChart(substream); }
    void finish() { sheet_.drawings = drawing_.finish(); }

private:
    std::uint16_t xf(std::uint16_t index) const { return index < xfCount_ ? index : kDefaultCellFormat; }
    // Records the model keeps whole; a CONTINUE goes where its record went.
    bool handleKept(const Record& r);

    Cell& cell(std::uint32_t row, std::uint32_t col, std::uint16_t ixfe, std::uint64_t offset) {
        if (row >= kMaxRows || col >= kMaxColumns) throwDamaged("a cell lies outside the sheet", offset);
        RowDef& def = sheet_.rowAt(row + 1);
        // Cells without a record take the row's format, else their own column's.
        for (std::size_t gap = def.cells.size(); gap < col; ++gap) def.cells.push_back(Cell{{}, impliedXf(def, gap), nullptr});
        if (def.cells.size() == col) def.cells.emplace_back();
        Cell& c = def.cells[col];
        c.xf = xf(ixfe);
        return c;
    }

    std::uint16_t impliedXf(const RowDef& row, std::size_t col) const {
        if (row.xf) return *row.xf;
        auto it = sheet_.columns.find(static_cast<std::uint16_t>(col));
        return it != sheet_.columns.end() && it->second.xf ? *it->second.xf : kDefaultCellFormat;
    }

    // The rows and cells of the used range are about to be made. A sparse
    // sheet fills far less than its range: what is announced stays below
    // eight bytes for each byte of the stream left.
    void expectCells(std::size_t rows, std::size_t columns) const {
        const std::size_t range = rows * (sizeof(RowDef) + columns * sizeof(Cell));
        io::expectAllocations(std::min(range, bytesLeft_ * 8));
    }

    void readRow(ByteCursor in);
    void readColumns(ByteCursor in);
    void readFormula(ByteCursor in, std::uint64_t offset);

    SheetModel& sheet_;
    const SharedStrings& strings_;
    std::size_t xfCount_;
    std::size_t bytesLeft_;  // of the stream, from the sheet's start
    Cell* pendingString_ = nullptr;  // a formula whose text result comes in the next STRING
    FormulaRef pendingFormula_;  // takes a SHRFMLA, ARRAY or TABLE that follows
    SheetDrawingReader drawing_;
    DrawingRecordKinds drawingKinds_;
    bool afterKept_ = false;  // a CONTINUE now goes on a kept record
};

bool SheetBuilder::handleKept(const Record& r) {
    switch (drawingKinds_.next(r)) {
    case DrawingRecordKinds::Kind::Drawing: drawing_.addData(r); afterKept_ = false; return true;
    case DrawingRecordKinds::Kind::Host: drawing_.addHostRecord(r); afterKept_ = false; return true;
    case DrawingRecordKinds::Kind::Other: break;
    }
    RawRecord raw{r.id, {r.body.begin(), r.body.end()}};
    switch (r.id) {
    case rec::kNote:
        sheet_.notes.push_back(std::move(raw));
        afterKept_ = false;
        return true;
    case rec::kCondFmt: case rec::kCf: case rec::kHLink: case rec::kHLinkTooltip: case rec::kDVal: case rec::kDv:
        sheet_.keptRecords.push_back(std::move(raw));
        afterKept_ = true;
        return true;
    case rec::kContinue:
        if (afterKept_) sheet_.keptRecords.push_back(std::move(raw));
        return true;
    default:
        afterKept_ = false;
        return false;
    }
}

void SheetBuilder::readRow(ByteCursor in) {
    std::uint32_t row = in.u16();
    in.skip(2);
    std::uint16_t lastColumn = in.u16();  // + 1
    std::uint16_t height = in.u16();
    in.skip(4);
    std::uint16_t flags = in.u16();
    std::uint16_t ixfe = in.u16() & 0x0FFF;
    RowDef& def = sheet_.rowAt(row + 1);
    def.heightTwips = height & 0x7FFF;
    def.hidden = (flags & 0x0020) != 0;
    def.customHeight = (flags & 0x0040) != 0;
    if (flags & 0x0080) def.xf = xf(ixfe);
    def.cells.reserve(std::min<std::size_t>(lastColumn, kMaxColumns));
}

void SheetBuilder::readColumns(ByteCursor in) {
    std::uint16_t first = in.u16();
    std::uint16_t last = in.u16();
    std::uint16_t width = in.u16();
    std::uint16_t ixfe = in.u16();
    std::uint16_t flags = in.u16();
    for (std::uint32_t col = first; col <= last && col < kMaxColumns; ++col) {
        ColumnDef& def = sheet_.columns[static_cast<std::uint16_t>(col)];
        def.width = width;
        def.hidden = (flags & 0x0001) != 0;
        def.xf = ixfe == kDefaultCellFormat ? std::nullopt : std::optional<std::uint16_t>(xf(ixfe));
    }
}

void SheetBuilder::readFormula(ByteCursor in, std::uint64_t offset) {
    std::uint16_t row = in.u16();
    std::uint16_t col = in.u16();
    std::uint16_t ixfe = in.u16();
    auto value = in.take(8);
    Cell& c = cell(row, col, ixfe, offset);
    auto parsed = in.take(in.remaining());
    pendingFormula_ = FormulaRef(Formula{{parsed.begin(), parsed.end()}, {}});
    c.formula = pendingFormula_;
    if (value[6] != 0xFF || value[7] != 0xFF) {
        ByteCursor number(value, offset + 10);
        c.value = number.f64();
        return;
    }
    switch (value[0]) {
    case 0:  // text, in the STRING record that follows
        c.value = CellText();
        pendingString_ = &c;
        break;
    case 1: c.value = CellValue::boolean(value[2] != 0); break;
    case 2: c.value = CellValue::error(value[2]); break;
    default: c.value = CellText(); break;  // 3: empty text
    }
}

void SheetBuilder::handle(const Record& r, RecordReader& reader) {
    ByteCursor in(r.body, r.bodyOffset());
    // Only a STRING may follow a text formula (shared and array formulas in between);
    // rowAt/cellAt may move the cells, so the pointer lives no longer than that.
    const bool formulaPart = r.id == rec::kShrFmla || r.id == rec::kArray || r.id == rec::kTable;
    if (r.id != rec::kString && !formulaPart) pendingString_ = nullptr;
    if (!formulaPart) {
        if (r.id != rec::kString) pendingFormula_.reset();
    } else if (pendingFormula_) {
        pendingFormula_.editShared().attached.push_back({r.id, {r.body.begin(), r.body.end()}});
        return;
    }
    if (handleKept(r)) return;
    if (readWindowRecord(r.id, in, sheet_.window) || readPageSetupRecord(r.id, in, sheet_.pageSetup) ||
        readProtectionRecord(r.id, in, sheet_.protection))
        return;
    switch (r.id) {
    case rec::kMergedCells: readMergedCells(in, sheet_.mergedCells); break;
    case rec::kDefColWidth: sheet_.defaultColumnWidth = in.u16(); break;
    case rec::kDefaultRowHeight:
        in.skip(2);
        sheet_.defaultRowHeightTwips = in.u16() & 0x7FFF;
        break;
    case rec::kRow: readRow(in); break;
    case rec::kColInfo: readColumns(in); break;
    case rec::kDimensions: {
        in.skip(4);
        const std::size_t rows = std::min<std::size_t>(in.u32(), kMaxRows);
        sheet_.rows.reserve(rows);
        if (in.remaining() >= 4) {
            in.skip(2);
            expectCells(rows, std::min<std::size_t>(in.u16(), kMaxColumns));
        }
        break;
    }
    case rec::kLabelSst: {
        std::uint16_t row = in.u16(), col = in.u16(), ixfe = in.u16();
        std::uint32_t index = in.u32();
        if (index >= strings_.size()) throwDamaged("a cell refers to a missing shared string", r.offset);
        cell(row, col, ixfe, r.offset).value = strings_[index];
        break;
    }
    case rec::kLabel:
    case rec::kRString: {
        std::uint16_t row = in.u16(), col = in.u16(), ixfe = in.u16();
        const std::string text = readUnicodeString(in);
        cell(row, col, ixfe, r.offset).value = CellText(text);
        break;
    }
    case rec::kNumber: {
        std::uint16_t row = in.u16(), col = in.u16(), ixfe = in.u16();
        double v = in.f64();
        cell(row, col, ixfe, r.offset).value = v;
        break;
    }
    case rec::kRk: {
        std::uint16_t row = in.u16(), col = in.u16(), ixfe = in.u16();
        double v = decodeRk(in.u32());
        cell(row, col, ixfe, r.offset).value = v;
        break;
    }
    case rec::kMulRk: {
        std::uint16_t row = in.u16(), col = in.u16();
        std::size_t count = in.remaining() / 6;
        for (std::size_t i = 0; i < count; ++i, ++col) {
            std::uint16_t ixfe = in.u16();
            double v = decodeRk(in.u32());
            cell(row, col, ixfe, r.offset).value = v;
        }
        break;
    }
    case rec::kBlank: {
        std::uint16_t row = in.u16(), col = in.u16(), ixfe = in.u16();
        cell(row, col, ixfe, r.offset);
        break;
    }
    case rec::kMulBlank: {
        std::uint16_t row = in.u16(), col = in.u16();
        std::size_t count = in.remaining() / 2;
        for (std::size_t i = 0; i + 1 < count; ++i, ++col) cell(row, col, in.u16(), r.offset);
        break;
    }
    case rec::kBoolErr: {
        std::uint16_t row = in.u16(), col = in.u16(), ixfe = in.u16();
        std::uint8_t value = in.u8();
        bool isError = in.u8() != 0;
        cell(row, col, ixfe, r.offset).value =
            isError ? CellValue::error(value) : CellValue::boolean(value != 0);
        break;
    }
    case rec::kFormula: readFormula(in, r.offset); break;
    case rec::kCodeName: sheet_.codeName = readUnicodeString(in); break;
    case rec::kString: {
        std::string text;
        ContinuedBytes(r, reader).readString(text);
        if (pendingString_) pendingString_->value = CellText(text);
        pendingString_ = nullptr;
        break;
    }
    default: break;
    }
}

}  // namespace

std::size_t readSheet(std::span<const std::uint8_t> stream, std::uint32_t offset,
               const SharedStrings& sharedStrings, std::size_t xfCount, SheetModel& sheet) {
    RecordReader reader(stream, offset);
    Record r;
    if (offset >= stream.size() || !reader.next(r) || r.id != rec::kBof || r.body.size() < 4)
        throwDamaged("sheet '" + sheet.name + "' does not start where the workbook says", offset);
    std::uint16_t type = static_cast<std::uint16_t>(r.body[2] | (r.body[3] << 8));
    bool hasCells = type == rec::kBofWorksheet || type == rec::kBofMacroSheet;
    SheetBuilder builder(sheet, sharedStrings, xfCount, stream.size() - offset);
    while (reader.next(r)) {
        if (r.id == rec::kBof) {  // an embedded chart: its whole substream
            const std::size_t end = substreamEnd(stream, static_cast<std::size_t>(r.offset));
            if (hasCells) builder.addChart(stream.subspan(static_cast<std::size_t>(r.offset), end - r.offset));
            reader = RecordReader(stream, end);
        } else if (r.id == rec::kEof) {
            if (hasCells) builder.finish();
            return reader.position();
        } else if (hasCells) {
            builder.handle(r, reader);
        }
    }
    throwDamaged("sheet '" + sheet.name + "' has no end", reader.position());
}

std::size_t readChartSheet(std::span<const std::uint8_t> stream, std::uint32_t offset, SheetModel& sheet) {
    RecordReader reader(stream, offset);
    Record r;
    if (offset >= stream.size() || !reader.next(r) || r.id != rec::kBof)
        throwDamaged("sheet '" + sheet.name + "' does not start where the workbook says", offset);
    const std::size_t end = substreamEnd(stream, offset);
    const auto chart = stream.subspan(offset, end - offset);
    chartDrawingShapeCount(chart);  // its drawing must be sound to be numbered when written
    sheet.chartStream.assign(chart.begin(), chart.end());
    sheet.codeName = chartCodeName(chart);
    return end;
}

}  // namespace office::biff
