#include "office/biff/SheetReader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
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

// How much of a sheet's substream one walk decodes.
enum class Pass : std::uint8_t {
    Whole,  // everything
    Index,  // all but the cells: their records are checked and found, row by row
    Cells,  // the cells only (the rest was read by an index pass)
};

// Where a row's cell records lie in the stream: from the first to the end of
// the last, with the STRING and shared-formula records that complete them.
struct RowSpan {
    std::uint32_t first = 0;
    std::uint32_t end = 0;    // first == end: no cells
    // Where the offsets of the row's cell records begin in the sheet's list
    // of them, and how many there are (kUnlisted: more than the count holds).
    std::uint32_t records = 0;
    std::uint16_t recordCount = 0;
    std::uint16_t width = 0;  // the cells the row holds once decoded
    // Its cell records name each column once, in increasing order, as every
    // writer puts them: a cell is then found without walking the whole row.
    bool inOrder = true;
};
constexpr std::uint16_t kUnlisted = std::numeric_limits<std::uint16_t>::max();

class SheetBuilder {
public:
    SheetBuilder(SheetModel* sheet, const SharedStrings& strings, std::size_t xfCount, std::size_t bytesLeft, Pass pass)
        : sheet_(sheet), strings_(strings), xfCount_(xfCount), bytesLeft_(bytesLeft), pass_(pass) {}

    // A Cells pass fills one row (1-based), or the rows of `rows` that
    // `targets` names (index = row read - 1, value = index in `rows` + 1, or
    // 0 for a row not asked for), or finds one cell of a row; `columnXf`
    // gives each column's format for cells without a record.
    void decodeInto(std::uint32_t row, RowDef& def, const std::vector<std::uint16_t>& columnXf) {
        targetRow_ = row;
        target_ = &def;
        columnXf_ = &columnXf;
    }
    void decodeInto(std::vector<RowDef>& rows, const std::vector<std::uint32_t>& targets,
                    const std::vector<std::uint16_t>& columnXf) {
        targetRows_ = &rows;
        targets_ = &targets;
        columnXf_ = &columnXf;
    }
    void findCell(std::uint32_t row, std::uint32_t column) {
        targetRow_ = row;
        findColumn_ = column;
    }
    const Cell* found() const { return found_ ? &foundCell_ : nullptr; }

    void handle(const Record& r, RecordReader& reader);
    static bool isCellRecord(std::uint16_t id);  // STRING among them
    void addChart(std::span<const std::uint8_t> substream) { drawing_.addChart(substream); }
    void finish() {
        if (pass_ != Pass::Cells) sheet_->drawings = drawing_.finish();
    }

    // After an index pass: the cells' rows, and whether each row's records
    // lie together (a row met again after another cannot be decoded alone).
    std::vector<RowSpan>& spans() { return spans_; }
    // The offsets of the cell records, row after row in stream order.
    std::vector<std::uint32_t>& cellRecords() { return cellRecords_; }
    bool rowsInterleaved() const { return interleaved_; }

private:
    std::uint16_t xf(std::uint16_t index) const { return index < xfCount_ ? index : kDefaultCellFormat; }
    // Records the model keeps whole; a CONTINUE goes where its record went.
    bool handleKept(const Record& r);
    void handleCell(const Record& r, ByteCursor in, RecordReader& reader);
    void indexCell(const Record& r, ByteCursor in, RecordReader& reader);

    Cell& cell(std::uint32_t row, std::uint32_t col, std::uint16_t ixfe, std::uint64_t offset) {
        checkPlace(row, col, offset);
        if (findColumn_) {
            if (row + 1 != targetRow_ || col + 1 != findColumn_) return stray_;
            // A later record for the same cell changes it as it would the kept cell.
            if (!found_) foundCell_ = Cell{};
            found_ = true;
            foundCell_.xf = xf(ixfe);
            return foundCell_;
        }
        RowDef* def = targetRows_ ? (row < targets_->size() && (*targets_)[row] ? &(*targetRows_)[(*targets_)[row] - 1] : nullptr)
                      : target_  ? (row + 1 == targetRow_ ? target_ : nullptr)
                                 : &sheet_->rowAt(row + 1);
        if (!def) return stray_;  // a row not asked for
        // Cells without a record take the row's format, else their own column's.
        for (std::size_t gap = def->cells.size(); gap < col; ++gap) def->cells.push_back(Cell{{}, impliedXf(*def, gap), nullptr});
        if (def->cells.size() == col) def->cells.emplace_back();
        Cell& c = def->cells[col];
        c.xf = xf(ixfe);
        return c;
    }
    static void checkPlace(std::uint32_t row, std::uint32_t col, std::uint64_t offset) {
        if (row >= kMaxRows || col >= kMaxColumns) throwDamaged("a cell lies outside the sheet", offset);
    }
    // An index pass notes where cell (row, col) is written; `count` cells from col on.
    void note(const Record& r, std::uint32_t row, std::uint32_t col, std::size_t count, RecordReader& reader);

    std::uint16_t impliedXf(const RowDef& row, std::size_t col) const {
        if (row.xf) return *row.xf;
        if (columnXf_) return (*columnXf_)[col];
        auto it = sheet_->columns.find(static_cast<std::uint16_t>(col));
        return it != sheet_->columns.end() && it->second.xf ? *it->second.xf : kDefaultCellFormat;
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

    SheetModel* sheet_;  // none in a Cells pass over one row
    const SharedStrings& strings_;
    std::size_t xfCount_;
    std::size_t bytesLeft_;  // of the stream, from the sheet's start
    Pass pass_;
    Cell* pendingString_ = nullptr;  // a formula whose text result comes in the next STRING
    FormulaRef pendingFormula_;  // takes a SHRFMLA, ARRAY or TABLE that follows
    SheetDrawingReader drawing_;
    DrawingRecordKinds drawingKinds_;
    bool afterKept_ = false;  // a CONTINUE now goes on a kept record
    // A Cells pass over some rows, or for one cell.
    std::uint32_t targetRow_ = 0;
    RowDef* target_ = nullptr;
    std::vector<RowDef>* targetRows_ = nullptr;
    const std::vector<std::uint32_t>* targets_ = nullptr;
    const std::vector<std::uint16_t>* columnXf_ = nullptr;
    std::uint32_t findColumn_ = 0;
    bool found_ = false;
    Cell foundCell_;
    Cell stray_;  // takes what is not asked for
    // An index pass.
    std::vector<RowSpan> spans_;
    std::vector<std::uint32_t> cellRecords_;
    std::int32_t currentRow_ = -1;  // the row of the last cell record
    std::size_t rowColumnsEnd_ = 0;  // past the last column of that row's cell records so far
    bool afterCell_ = false;        // a STRING or shared formula now completes that row's cell
    bool formulaOpen_ = false;      // a SHRFMLA, ARRAY or TABLE now belongs to a formula
    bool interleaved_ = false;
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
        sheet_->notes.push_back(std::move(raw));
        afterKept_ = false;
        return true;
    case rec::kCondFmt: case rec::kCf: case rec::kHLink: case rec::kHLinkTooltip: case rec::kDVal: case rec::kDv:
        sheet_->keptRecords.push_back(std::move(raw));
        afterKept_ = true;
        return true;
    case rec::kContinue:
        if (afterKept_) sheet_->keptRecords.push_back(std::move(raw));
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
    RowDef& def = sheet_->rowAt(row + 1);
    def.heightTwips = height & 0x7FFF;
    def.hidden = (flags & 0x0020) != 0;
    def.customHeight = (flags & 0x0040) != 0;
    if (flags & 0x0080) def.xf = xf(ixfe);
    if (pass_ == Pass::Whole) def.cells.reserve(std::min<std::size_t>(lastColumn, kMaxColumns));
}

void SheetBuilder::readColumns(ByteCursor in) {
    std::uint16_t first = in.u16();
    std::uint16_t last = in.u16();
    std::uint16_t width = in.u16();
    std::uint16_t ixfe = in.u16();
    std::uint16_t flags = in.u16();
    for (std::uint32_t col = first; col <= last && col < kMaxColumns; ++col) {
        ColumnDef& def = sheet_->columns[static_cast<std::uint16_t>(col)];
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

inline bool SheetBuilder::isCellRecord(std::uint16_t id) {
    switch (id) {
    case rec::kLabelSst: case rec::kLabel: case rec::kRString: case rec::kNumber: case rec::kRk: case rec::kMulRk:
    case rec::kBlank: case rec::kMulBlank: case rec::kBoolErr: case rec::kFormula: case rec::kString:
        return true;
    default:
        return false;
    }
}

void SheetBuilder::handle(const Record& r, RecordReader& reader) {
    ByteCursor in(r.body, r.bodyOffset());
    const bool formulaPart = r.id == rec::kShrFmla || r.id == rec::kArray || r.id == rec::kTable;
    const bool cellRecord = isCellRecord(r.id);
    if (pass_ == Pass::Index) {
        // As the decoding below: a part after a formula belongs to it and is nothing else.
        if (formulaPart && formulaOpen_) {
            spans_[static_cast<std::uint32_t>(currentRow_)].end = static_cast<std::uint32_t>(reader.position());
            return;
        }
        if (r.id != rec::kString && !formulaPart) formulaOpen_ = false;
        if (r.id != rec::kString && !formulaPart && !cellRecord) afterCell_ = false;
    } else {
        // Only a STRING may follow a text formula (shared and array formulas in between);
        // rowAt/cellAt may move the cells, so the pointer lives no longer than that.
        if (r.id != rec::kString && !formulaPart) pendingString_ = nullptr;
        if (!formulaPart) {
            if (r.id != rec::kString) pendingFormula_.reset();
        } else if (pendingFormula_) {
            pendingFormula_.editShared().attached.push_back({r.id, {r.body.begin(), r.body.end()}});
            return;
        }
        if (pass_ == Pass::Cells) {
            if (cellRecord) handleCell(r, in, reader);
            return;
        }
    }
    if (cellRecord) {  // most records: never kept, nor a setting
        drawingKinds_.next(r);
        afterKept_ = false;
        if (pass_ == Pass::Index) indexCell(r, in, reader);
        else handleCell(r, in, reader);
        return;
    }
    if (handleKept(r)) return;
    if (readWindowRecord(r.id, in, sheet_->window) || readPageSetupRecord(r.id, in, sheet_->pageSetup) ||
        readProtectionRecord(r.id, in, sheet_->protection))
        return;
    switch (r.id) {
    case rec::kMergedCells: readMergedCells(in, sheet_->mergedCells); break;
    case rec::kDefColWidth: sheet_->defaultColumnWidth = in.u16(); break;
    case rec::kDefaultRowHeight:
        in.skip(2);
        sheet_->defaultRowHeightTwips = in.u16() & 0x7FFF;
        break;
    case rec::kRow: readRow(in); break;
    case rec::kColInfo: readColumns(in); break;
    case rec::kDimensions: {
        in.skip(4);
        const std::size_t rows = std::min<std::size_t>(in.u32(), kMaxRows);
        const bool hasColumns = in.remaining() >= 4;
        std::size_t columns = kMaxColumns;
        if (hasColumns) {
            in.skip(2);
            columns = std::min<std::size_t>(in.u16(), kMaxColumns);
        }
        if (pass_ == Pass::Index) {
            // The rows are made now, their cells later: a fraction of the memory.
            // Announced twice over, as the cells below. The list of cell
            // records is reserved for the used range, or for as many as the
            // stream left holds (ten bytes the least of them), and touched
            // only as far as it fills: not announced.
            sheet_->rows.all().reserve(rows);
            spans_.reserve(rows);
            cellRecords_.reserve(std::min(rows * columns, bytesLeft_ / 10));
            io::expectAllocations(std::min(2 * rows * (sizeof(RowDef) + sizeof(RowSpan)), bytesLeft_ * 8));
            break;
        }
        sheet_->rows.all().reserve(rows);
        if (hasColumns) expectCells(rows, columns);
        break;
    }
    case rec::kCodeName: sheet_->codeName = readUnicodeString(in); break;
    default: break;
    }
}

void SheetBuilder::handleCell(const Record& r, ByteCursor in, RecordReader& reader) {
    switch (r.id) {
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

// Reads every field the decoding reads, so that a row decoded later cannot
// meet a damaged record, but makes no cell.
void SheetBuilder::indexCell(const Record& r, ByteCursor in, RecordReader& reader) {
    std::uint16_t row = 0, col = 0;
    std::size_t count = 1;
    switch (r.id) {
    case rec::kLabelSst: {
        row = in.u16(), col = in.u16();
        in.skip(2);
        if (in.u32() >= strings_.size()) throwDamaged("a cell refers to a missing shared string", r.offset);
        break;
    }
    case rec::kLabel:
    case rec::kRString:
        row = in.u16(), col = in.u16();
        in.skip(2);
        readUnicodeString(in);
        break;
    case rec::kNumber: row = in.u16(), col = in.u16(), in.skip(10); break;
    case rec::kRk: row = in.u16(), col = in.u16(), in.skip(6); break;
    case rec::kMulRk: row = in.u16(), col = in.u16(), count = in.remaining() / 6; break;
    case rec::kBlank: row = in.u16(), col = in.u16(), in.skip(2); break;
    case rec::kMulBlank: {
        row = in.u16(), col = in.u16();
        const std::size_t fields = in.remaining() / 2;
        count = fields > 0 ? fields - 1 : 0;
        break;
    }
    case rec::kBoolErr: row = in.u16(), col = in.u16(), in.skip(4); break;
    case rec::kFormula:
        row = in.u16(), col = in.u16();
        in.skip(10);
        formulaOpen_ = true;
        break;
    case rec::kString: {
        std::string text;
        ContinuedBytes(r, reader).readString(text);
        if (afterCell_) spans_[static_cast<std::uint32_t>(currentRow_)].end = static_cast<std::uint32_t>(reader.position());
        return;
    }
    default: return;
    }
    if (count > 0) note(r, row, col, count, reader);
}

void SheetBuilder::note(const Record& r, std::uint32_t row, std::uint32_t col, std::size_t count, RecordReader& reader) {
    checkPlace(row, static_cast<std::uint32_t>(std::min<std::size_t>(col + count - 1, kMaxColumns)), r.offset);
    if (spans_.size() <= row) spans_.resize(row + 1);
    RowSpan& span = spans_[row];
    if (static_cast<std::int32_t>(row) != currentRow_) {
        if (span.first != span.end) interleaved_ = true;
        span.first = static_cast<std::uint32_t>(r.offset);
        span.records = static_cast<std::uint32_t>(cellRecords_.size());
        span.recordCount = 0;
        currentRow_ = static_cast<std::int32_t>(row);
        rowColumnsEnd_ = 0;
        sheet_->rowAt(row + 1);  // the row exists, as decoding it would make it
    }
    if (span.recordCount != kUnlisted) {
        cellRecords_.push_back(static_cast<std::uint32_t>(r.offset));
        ++span.recordCount;
    }
    if (col < rowColumnsEnd_) span.inOrder = false;
    rowColumnsEnd_ = std::max<std::size_t>(rowColumnsEnd_, col + count);
    span.end = static_cast<std::uint32_t>(reader.position());
    span.width = static_cast<std::uint16_t>(std::max<std::size_t>(span.width, col + count));
    afterCell_ = true;
}

}  // namespace

namespace {

// The cells of a sheet read by an index pass, decoded row by row from the
// clear stream they stay in.
class RowCellIndex final : public PendingCells, public CopyableCells {
public:
    RowCellIndex(const SheetSource& source, std::size_t xfCount, std::vector<RowSpan> spans,
                 std::vector<std::uint32_t> cellRecords, std::vector<std::uint16_t> columnXf)
        : source_(source),
          xfCount_(xfCount),
          spans_(std::move(spans)),
          cellRecords_(std::move(cellRecords)),
          columnXf_(std::move(columnXf)) {}

    std::uint32_t width(std::uint32_t row) const override { return row <= spans_.size() ? spans_[row - 1].width : 0; }

    std::span<const std::uint8_t> records(std::uint32_t row) const override {
        if (row == 0 || row > spans_.size()) return {};
        const RowSpan& span = spans_[row - 1];
        return std::span<const std::uint8_t>(*source_.stream).subspan(span.first, span.end - span.first);
    }
    const SharedStrings& strings() const override { return *source_.strings; }
    std::size_t xfCount() const override { return xfCount_; }

    void decode(std::uint32_t row, RowDef& def) const override {
        if (row > spans_.size() || spans_[row - 1].first == spans_[row - 1].end) return;
        SheetBuilder builder(nullptr, *source_.strings, xfCount_, 0, Pass::Cells);
        builder.decodeInto(row, def, columnXf_);
        def.cells.reserve(spans_[row - 1].width);
        walk(spans_[row - 1].first, spans_[row - 1].end, builder);
    }

    void decodeAll(std::vector<RowDef>& rows, const std::vector<std::uint32_t>& sources) const override {
        std::size_t first = std::numeric_limits<std::size_t>::max(), end = 0, bytes = 0;
        std::vector<std::uint32_t> targets(spans_.size(), 0);
        for (std::size_t i = 0; i < sources.size() && i < rows.size(); ++i) {
            const std::uint32_t source = sources[i];
            if (source == 0 || source > spans_.size()) continue;
            const RowSpan& span = spans_[source - 1];
            if (span.first == span.end) continue;
            targets[source - 1] = static_cast<std::uint32_t>(i + 1);
            first = std::min<std::size_t>(first, span.first);
            end = std::max<std::size_t>(end, span.end);
            bytes += span.width * sizeof(Cell) + kAllocationOverhead;  // each row's cells are one allocation
        }
        if (first >= end) return;
        // Free memory scattered through the heap counts against an announcement,
        // but the rows' cells are carved from its top: twice the bytes (measured
        // on a full store, a save then faults in 300 pages instead of 1,100).
        io::expectAllocations(2 * bytes);
        for (std::size_t row = 0; row < targets.size(); ++row)
            if (targets[row]) rows[targets[row] - 1].cells.reserve(spans_[row].width);
        SheetBuilder builder(nullptr, *source_.strings, xfCount_, 0, Pass::Cells);
        builder.decodeInto(rows, targets, columnXf_);
        walk(first, end, builder);
    }

    std::optional<Cell> peek(std::uint32_t row, std::uint32_t column, const RowDef& def) const override {
        if (row > spans_.size() || column > spans_[row - 1].width) return std::nullopt;
        const std::uint32_t at = spans_[row - 1].inOrder ? recordInOrder(row, column) : recordOfCell(row, column);
        if (at == kSeveralRecords || (at != kNoRecord && !decodableAlone(at))) {
            // A formula with what completes it, or a cell written twice: as the whole row would be.
            SheetBuilder builder(nullptr, *source_.strings, xfCount_, 0, Pass::Cells);
            builder.findCell(row, column);
            walk(spans_[row - 1].first, spans_[row - 1].end, builder, column);
            if (const Cell* found = builder.found()) return *found;
        } else if (at != kNoRecord) {
            return decodeAlone(at, column);
        }
        return unwritten(column, def);
    }

    void peekValues(std::uint32_t row, std::uint32_t first, const RowDef& def,
                    std::span<automation::Variant> out) const override {
        if (row > spans_.size() || !spans_[row - 1].inOrder) return PendingCells::peekValues(row, first, def, out);
        for (automation::Variant& value : out)
            if (!value.isEmpty()) value = automation::Variant();
        const std::size_t last = first + out.size() - 1;
        // The records come in column order: the walk ends past the last column.
        forEachCellRecord(row, [&](const Record& r, std::size_t start, std::size_t count) {
            if (start + 1 > last) return false;
            const std::size_t from = std::max<std::size_t>(start + 1, first), to = std::min(start + count, last);
            for (std::size_t column = from; column <= to; ++column) {
                const auto c = static_cast<std::uint32_t>(column);
                if (r.id == rec::kFormula) {
                    const std::optional<Cell> cell = peek(row, c, def);
                    if (cell) out[column - first] = cell->value.toVariant();
                } else {
                    out[column - first] = valueAlone(r, c);
                }
            }
            return true;
        });
    }

private:
    static constexpr std::uint32_t kNoRecord = 0;  // a cell record never starts the stream
    static constexpr std::uint32_t kSeveralRecords = std::numeric_limits<std::uint32_t>::max();

    // Calls `visit(record, first column, count)` (0-based columns) for each
    // cell record of row `row` in turn, until it returns false.
    // The headers are read in place: a search meets ten records in each of
    // ten thousand rows, and the index pass checked every one of them already.
    template <typename Visit>
    void forEachCellRecord(std::uint32_t row, Visit&& visit) const {
        const RowSpan& span = spans_[row - 1];
        const std::span<const std::uint8_t> stream(*source_.stream);
        const std::uint8_t* bytes = stream.data();
        if (span.recordCount != kUnlisted) {
            // Straight from one cell record to the next, past whatever lies between.
            const std::uint32_t* offsets = cellRecords_.data() + span.records;
            for (std::uint16_t k = 0; k < span.recordCount; ++k) {
                const std::size_t pos = offsets[k];
                const auto id = static_cast<std::uint16_t>(bytes[pos] | (bytes[pos + 1] << 8));
                const std::size_t size = bytes[pos + 2] | (bytes[pos + 3] << 8);
                const Record r{id, stream.subspan(pos + 4, size), pos};
                std::size_t first = r.body[2] | (r.body[3] << 8), count = 1;
                if (id == rec::kMulRk) count = (size - 4) / 6;
                if (id == rec::kMulBlank) count = (size - 4) / 2 - 1;
                if (!visit(r, first, count)) return;
            }
            return;
        }
        std::size_t pos = span.first;
        while (pos < span.end && stream.size() - pos >= 4) {
            const auto id = static_cast<std::uint16_t>(bytes[pos] | (bytes[pos + 1] << 8));
            const std::size_t size = bytes[pos + 2] | (bytes[pos + 3] << 8);
            if (stream.size() - pos - 4 < size) return;
            if (id == rec::kBof) {
                pos = substreamEnd(stream, pos);
                continue;
            }
            const Record r{id, stream.subspan(pos + 4, size), pos};
            pos += 4 + size;
            if (!SheetBuilder::isCellRecord(r.id) || r.id == rec::kString || r.body.size() < 4) continue;
            std::size_t first = r.body[2] | (r.body[3] << 8), count = 1;
            if (r.id == rec::kMulRk) count = (r.body.size() - 4) / 6;
            if (r.id == rec::kMulBlank) count = r.body.size() >= 6 ? (r.body.size() - 4) / 2 - 1 : 0;
            if (!visit(r, first, count)) return;
        }
    }

    // Where the record of a cell starts, in a row whose records come in
    // column order: the walk ends at the first record reaching the column.
    std::uint32_t recordInOrder(std::uint32_t row, std::uint32_t column) const {
        const std::size_t wanted = column - 1;
        const RowSpan& span = spans_[row - 1];
        if (span.recordCount != kUnlisted && wanted < span.recordCount) {
            // A row written a record per cell from column A on holds the
            // cell in its record number `wanted`: one look instead of a walk.
            const std::uint32_t offset = cellRecords_[span.records + wanted];
            const std::uint8_t* body = source_.stream->data() + offset + 4;
            const std::uint16_t id = static_cast<std::uint16_t>(body[-4] | (body[-3] << 8));
            if (static_cast<std::size_t>(body[2] | (body[3] << 8)) == wanted && id != rec::kMulRk && id != rec::kMulBlank)
                return offset;
        }
        std::uint32_t found = kNoRecord;
        forEachCellRecord(row, [&](const Record& r, std::size_t first, std::size_t count) {
            if (wanted < first) return false;
            if (wanted >= first + count) return true;
            found = static_cast<std::uint32_t>(r.offset);
            return false;
        });
        return found;
    }

    // Where the record of a cell starts, in any row. A caller reads a few
    // cells of one row in turn: the row's records are walked once for all
    // its columns.
    std::uint32_t recordOfCell(std::uint32_t row, std::uint32_t column) const {
        if (row != recordsRow_) {
            records_.assign(spans_[row - 1].width, kNoRecord);
            forEachCellRecord(row, [&](const Record& r, std::size_t first, std::size_t count) {
                for (std::size_t c = first; c < first + count && c < records_.size(); ++c)
                    records_[c] = records_[c] == kNoRecord ? static_cast<std::uint32_t>(r.offset) : kSeveralRecords;
                return true;
            });
            recordsRow_ = row;
        }
        return records_[column - 1];
    }

    bool decodableAlone(std::uint32_t offset) const {
        const std::uint16_t id = static_cast<std::uint16_t>((*source_.stream)[offset] | ((*source_.stream)[offset + 1] << 8));
        return id != rec::kFormula;
    }

    // Within the row's cells but without a record: the row's format, else the column's.
    Cell unwritten(std::uint32_t column, const RowDef& def) const {
        return Cell{{}, def.xf ? *def.xf : columnXf_[column - 1], nullptr};
    }

    // The cell of `column` in the (checked) record at `offset`, which holds no formula.
    Cell decodeAlone(std::uint32_t offset, std::uint32_t column) const {
        RecordReader reader(*source_.stream, offset);
        Record r;
        reader.next(r);
        return decodeAlone(r, column);
    }
    Cell decodeAlone(const Record& r, std::uint32_t column) const {
        ByteCursor in(r.body, r.bodyOffset());
        in.skip(2);
        const std::uint32_t first = in.u16() + 1u;
        Cell cell;
        switch (r.id) {
        case rec::kMulRk:
            in.skip((column - first) * 6);
            cell.xf = xf(in.u16());
            cell.value = decodeRk(in.u32());
            return cell;
        case rec::kMulBlank:
            in.skip((column - first) * 2);
            cell.xf = xf(in.u16());
            return cell;
        default: break;
        }
        cell.xf = xf(in.u16());
        switch (r.id) {
        case rec::kLabelSst: cell.value = (*source_.strings)[in.u32()]; break;
        case rec::kLabel:
        case rec::kRString: cell.value = CellText(readUnicodeString(in)); break;
        case rec::kNumber: cell.value = in.f64(); break;
        case rec::kRk: cell.value = decodeRk(in.u32()); break;
        case rec::kBoolErr: {
            const std::uint8_t value = in.u8();
            cell.value = in.u8() != 0 ? CellValue::error(value) : CellValue::boolean(value != 0);
            break;
        }
        default: break;  // BLANK
        }
        return cell;
    }
    std::uint16_t xf(std::uint16_t index) const { return index < xfCount_ ? index : kDefaultCellFormat; }

    // The value alone of the cell of `column` in a (checked) record holding
    // no formula, as decodeAlone's cell would give it: a block of ten
    // thousand rows is read without a cell made for each value.
    automation::Variant valueAlone(const Record& r, std::uint32_t column) const {
        const std::uint8_t* body = r.body.data();
        auto u32At = [body](std::size_t at) {
            return static_cast<std::uint32_t>(body[at] | (body[at + 1] << 8) | (body[at + 2] << 16)) |
                   (static_cast<std::uint32_t>(body[at + 3]) << 24);
        };
        switch (r.id) {
        case rec::kLabelSst: return std::string(source_.strings->view(u32At(6)));
        case rec::kRk: return decodeRk(u32At(6));
        case rec::kNumber: {
            const std::uint64_t bits = u32At(6) | (static_cast<std::uint64_t>(u32At(10)) << 32);
            double number;
            std::memcpy(&number, &bits, sizeof number);
            return number;
        }
        case rec::kMulRk: return decodeRk(u32At(4 + (column - 1 - (body[2] | (body[3] << 8))) * 6 + 2));
        case rec::kBlank:
        case rec::kMulBlank: return {};
        default: return decodeAlone(r, column).value.toVariant();
        }
    }

    // The records from `first` to `end` through `builder`. Looking for one
    // `column`, cell records of other columns (and what completes them) are skipped.
    void walk(std::size_t first, std::size_t end, SheetBuilder& builder, std::uint32_t column = 0) const {
        const std::span<const std::uint8_t> stream(*source_.stream);
        RecordReader reader(stream, first);
        Record r;
        bool wanted = true;  // the last cell record holds the column looked for
        while (reader.position() < end && reader.next(r)) {
            if (r.id == rec::kBof) {
                reader = RecordReader(stream, substreamEnd(stream, static_cast<std::size_t>(r.offset)));
                continue;
            }
            if (column) {
                const bool completes = r.id == rec::kString || r.id == rec::kShrFmla || r.id == rec::kArray || r.id == rec::kTable;
                if (completes && !wanted) continue;
                if (!completes && r.body.size() >= 4) {
                    const std::uint32_t at = (r.body[2] | (r.body[3] << 8)) + 1u;
                    if (r.id == rec::kMulRk || r.id == rec::kMulBlank) wanted = column >= at;
                    else if (isSingleCellRecord(r.id)) wanted = column == at;
                    else wanted = true;
                    if (!wanted) continue;
                }
            }
            builder.handle(r, reader);
        }
    }
    static bool isSingleCellRecord(std::uint16_t id) {
        switch (id) {
        case rec::kLabelSst: case rec::kLabel: case rec::kRString: case rec::kNumber: case rec::kRk:
        case rec::kBlank: case rec::kBoolErr: case rec::kFormula:
            return true;
        default:
            return false;
        }
    }

    static constexpr std::size_t kAllocationOverhead = 16;
    SheetSource source_;
    std::size_t xfCount_;
    std::vector<RowSpan> spans_;         // index = row - 1
    std::vector<std::uint32_t> cellRecords_;  // each cell record's offset, row after row (RowSpan::records)
    std::vector<std::uint16_t> columnXf_;  // index = column - 1
    // The record of each cell of the last row looked into (index = column - 1).
    mutable std::uint32_t recordsRow_ = 0;
    mutable std::vector<std::uint32_t> records_;
};

}  // namespace

const CopyableCells* CopyableCells::of(const PendingCells* pending) {
    return dynamic_cast<const RowCellIndex*>(pending);
}

namespace {

std::vector<std::uint16_t> columnFormats(const SheetModel& sheet) {
    std::vector<std::uint16_t> formats(kMaxColumns, kDefaultCellFormat);
    for (const auto& [column, def] : sheet.columns)
        if (def.xf && column < kMaxColumns) formats[column] = *def.xf;
    return formats;
}

// Walks the substream from `offset` (its BOF) to its EOF; returns the position after.
std::size_t walkSheet(std::span<const std::uint8_t> stream, std::uint32_t offset, SheetModel& sheet,
                      SheetBuilder& builder) {
    RecordReader reader(stream, offset);
    Record r;
    if (offset >= stream.size() || !reader.next(r) || r.id != rec::kBof || r.body.size() < 4)
        throwDamaged("sheet '" + sheet.name + "' does not start where the workbook says", offset);
    std::uint16_t type = static_cast<std::uint16_t>(r.body[2] | (r.body[3] << 8));
    bool hasCells = type == rec::kBofWorksheet || type == rec::kBofMacroSheet;
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

}  // namespace

std::size_t readSheet(std::span<const std::uint8_t> stream, std::uint32_t offset, const SharedStrings& sharedStrings,
                      std::size_t xfCount, SheetModel& sheet, const SheetSource* source) {
    const std::size_t bytesLeft = offset < stream.size() ? stream.size() - offset : 0;
    const bool indexed = source && source->stream && source->strings && stream.data() == source->stream->data() &&
                         stream.size() < std::numeric_limits<std::uint32_t>::max();
    if (!indexed) {
        SheetBuilder builder(&sheet, sharedStrings, xfCount, bytesLeft, Pass::Whole);
        return walkSheet(stream, offset, sheet, builder);
    }
    SheetBuilder builder(&sheet, sharedStrings, xfCount, bytesLeft, Pass::Index);
    const std::size_t end = walkSheet(stream, offset, sheet, builder);
    if (builder.rowsInterleaved()) {
        // Rows met again after others: one more walk decodes every cell now.
        SheetBuilder cells(&sheet, sharedStrings, xfCount, bytesLeft, Pass::Cells);
        walkSheet(stream, offset, sheet, cells);
    } else if (!builder.spans().empty()) {
        std::vector<RowSpan>& spans = builder.spans();
        spans.resize(sheet.rows.count());
        sheet.rows.defer(std::make_shared<RowCellIndex>(*source, xfCount, std::move(spans),
                                                         std::move(builder.cellRecords()), columnFormats(sheet)));
    }
    return end;
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
