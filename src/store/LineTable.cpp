#include "store/LineTable.h"

#include <algorithm>
#include <cmath>

#include "core/Text.h"
#include "store/DataLayout.h"
#include "store/LineRows.h"

namespace store {

namespace {
// Excel's end-of-block move runs to the sheet's last row when only the
// header is filled.
constexpr long kEmptyTableRow = 60000;
}  // namespace

long NewLineRow(automation::excel::Worksheet& data) {
    const long row = data.GetRange("A1")->End(automation::excel::Direction::Down)->Row() + 1;
    return row > kEmptyTableRow ? kFirstLineRow : row;
}

bool TableHasRoom(long row, long count) { return row + count - 1 <= kLastLineRow; }

std::string TableFullMessage(const core::Context& ctx) {
    return ctx.tr("The base workbook is full: its table holds lines up to row 9999 only.\rDelete lines or groups "
                  "you no longer need, then try again.",
                  "Il file base e' pieno: la sua tabella contiene righe solo fino alla riga 9999.\rEliminare righe o "
                  "gruppi non piu' necessari, poi riprovare.");
}

LineIdAllocator::LineIdAllocator(automation::excel::Worksheet& data) {
    ForEachLine(data, kColId, [&](long, std::span<const automation::Variant> cells) {
        const automation::Variant& id = cells[0];
        if (id.isNumber()) take(id.number());
        else shownIds_.insert(core::Trim(id.toText()));
        if (id.isNumeric()) largest_ = std::max(largest_, id.toNumber());
        return true;
    });
}

namespace {
// A whole number below 10^15 shows as its digits, one text for each value.
bool shownAsDigits(double number) { return number == std::trunc(number) && std::fabs(number) < 1e15; }
}  // namespace

bool LineIdAllocator::taken(double id) const {
    // A text id, or a number shown rounded, may show the same digits.
    if (shownAsDigits(id) && wholeIds_.count(static_cast<std::int64_t>(id)) != 0) return true;
    return !shownIds_.empty() && shownIds_.count(automation::formatGeneralNumber(id)) != 0;
}

void LineIdAllocator::take(double id) {
    if (shownAsDigits(id)) wholeIds_.insert(static_cast<std::int64_t>(id));
    else shownIds_.insert(automation::formatGeneralNumber(id));
}

double LineIdAllocator::next(const automation::Variant& above) {
    double id = above.isNumeric() ? above.toNumber() + 1 : 1;
    if (taken(id)) id = largest_ + 1;
    take(id);
    largest_ = std::max(largest_, id);
    return id;
}

}  // namespace store
