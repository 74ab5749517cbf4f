#include "office/biff/CopiedCells.h"

#include <algorithm>
#include <limits>

#include "office/biff/BiffRecords.h"
#include "office/biff/SheetReader.h"

namespace office::biff {
namespace {

constexpr std::uint32_t kNotYet = std::numeric_limits<std::uint32_t>::max();
// A text's place in the new table's index, and its share of the texts made.
constexpr std::size_t kHeapPerText = 48;

std::uint16_t u16At(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t u32At(const std::uint8_t* p) { return u16At(p) | (static_cast<std::uint32_t>(u16At(p + 2)) << 16); }
void put16At(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

// Calls `visit(id, body)` for each record of `records`; false when they do not
// end where a record ends.
template <typename Visit>
bool forEachRecord(std::span<const std::uint8_t> records, Visit&& visit) {
    std::size_t at = 0;
    while (at + 4 <= records.size()) {
        const std::size_t size = u16At(records.data() + at + 2);
        if (at + 4 + size > records.size()) return false;
        if (!visit(u16At(records.data() + at), records.subspan(at + 4, size))) return false;
        at += 4 + size;
    }
    return at == records.size();
}

}  // namespace

CopiedCells::CopiedCells(const SheetModel& sheet, std::size_t rowCount, std::size_t xfCount,
                         SharedStringsWriter& strings) {
    from_ = CopyableCells::of(sheet.rows.pending());
    if (!from_) return;
    xfLimit_ = std::min(xfCount, from_->xfCount());
    newIndex_.assign(from_->strings().size(), kNotYet);
    strings.reserve(from_->strings().size());
    rows_.resize(rowCount);
    for (std::uint32_t row = 1; row <= rowCount; ++row) {
        const std::uint32_t source = sheet.rows.sourceOf(row);
        if (source == 0) continue;
        const std::span<const std::uint8_t> records = from_->records(source);
        if (records.empty() || !plan(records, source, rows_[row - 1])) continue;
        rows_[row - 1].records = records;
        addStrings(records, strings);
    }
}

std::size_t CopiedCells::textsFor(const SheetModel& sheet) {
    const CopyableCells* from = CopyableCells::of(sheet.rows.pending());
    return from ? from->strings().size() : 0;
}

std::size_t CopiedCells::heapFor(const SheetModel& sheet) {
    if (!CopyableCells::of(sheet.rows.pending())) return 0;
    // Each text read goes into the new table's index, and the few that are not plain ASCII are made.
    return sheet.rows.count() * sizeof(Row) + textsFor(sheet) * (sizeof(std::uint32_t) + kHeapPerText);
}

bool CopiedCells::plan(std::span<const std::uint8_t> records, std::uint32_t sourceRow, Row& row) const {
    std::size_t end = 0;  // past the last column so far
    bool first = true;
    return forEachRecord(records, [&](std::uint16_t id, std::span<const std::uint8_t> body) {
        if (body.size() < 6 || u16At(body.data()) + 1u != sourceRow) return false;
        const std::size_t column = u16At(body.data() + 2);
        std::size_t count = 1;
        // The formats of the record's cells: where the first is, how far apart.
        std::size_t xfAt = 4, xfStep = 0;
        switch (id) {
        case rec::kLabelSst:
            if (body.size() != 10 || u32At(body.data() + 6) >= from_->strings().size()) return false;
            break;
        case rec::kRk: if (body.size() != 10) return false; break;
        case rec::kNumber: if (body.size() != 14) return false; break;
        case rec::kBlank: if (body.size() != 6) return false; break;
        case rec::kBoolErr: if (body.size() != 8) return false; break;
        case rec::kMulRk:
            if ((body.size() - 6) % 6 != 0 || body.size() < 12) return false;
            count = (body.size() - 6) / 6;
            xfStep = 6;
            break;
        case rec::kMulBlank:
            if (body.size() % 2 != 0 || body.size() < 8) return false;
            count = (body.size() - 6) / 2;
            xfStep = 2;
            break;
        default: return false;  // a formula, an inline text, or no cell
        }
        if (xfStep && u16At(body.data() + body.size() - 2) + 1u != column + count) return false;
        if (column < end || column + count > kMaxColumns) return false;
        for (std::size_t i = 0; i < count; ++i)
            if (u16At(body.data() + xfAt + i * xfStep) >= xfLimit_) return false;
        if (first) row.firstColumn = static_cast<std::uint16_t>(column);
        first = false;
        end = column + count;
        row.endColumn = static_cast<std::uint16_t>(end);
        return true;
    }) && !first;
}

void CopiedCells::addStrings(std::span<const std::uint8_t> records, SharedStringsWriter& strings) {
    forEachRecord(records, [&](std::uint16_t id, std::span<const std::uint8_t> body) {
        if (id != rec::kLabelSst) return true;
        const std::uint32_t read = u32At(body.data() + 6);
        if (newIndex_[read] == kNotYet) newIndex_[read] = strings.add(from_->strings().view(read));
        else strings.addAgain(newIndex_[read]);
        return true;
    });
}

void CopiedCells::write(RecordWriter& out, std::uint32_t row) const {
    const std::span<const std::uint8_t> records = rows_[row - 1].records;
    const std::size_t start = out.size();
    out.raw(records.data(), records.size());
    std::uint8_t* bytes = out.bytes().data() + start;
    forEachRecord(records, [&](std::uint16_t id, std::span<const std::uint8_t> body) {
        std::uint8_t* written = bytes + (body.data() - records.data());
        put16At(written, static_cast<std::uint16_t>(row - 1));
        if (id == rec::kLabelSst) {
            const std::uint32_t index = newIndex_[u32At(body.data() + 6)];
            put16At(written + 6, static_cast<std::uint16_t>(index));
            put16At(written + 8, static_cast<std::uint16_t>(index >> 16));
        }
        return true;
    });
}

}  // namespace office::biff
