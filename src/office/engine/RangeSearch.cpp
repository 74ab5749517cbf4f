// Range.Find, FindNext and End: searches over the cell values of a range.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "office/engine/EngineRange.h"
#include "text/CaseFold.h"

namespace office::engine {

using automation::Variant;
namespace excel = automation::excel;

namespace {

bool filled(const SheetModel& sheet, std::uint32_t row, std::uint32_t column) {
    const std::optional<Cell> cell = sheet.peek(row, column);
    return cell && !cell->value.isEmpty();
}

// Ctrl+arrow along one line of cells. `at(i)` tells whether position i is
// filled; positions run from `position` towards `edge`, `lastUsed` is the
// furthest position that can be filled in that direction.
template <typename Filled>
std::uint32_t ctrlArrow(std::uint32_t position, std::uint32_t edge, std::uint32_t lastUsed, Filled at) {
    if (position == edge) return position;
    const bool forward = edge > position;
    auto step = [&](std::uint32_t p) { return forward ? p + 1 : p - 1; };
    auto beyondUsed = [&](std::uint32_t p) { return forward && p > lastUsed; };
    if (at(position) && at(step(position))) {
        // Inside a block: stop on its last filled cell.
        while (position != edge && at(step(position))) position = step(position);
        return position;
    }
    // At a block's end or on an empty cell: the next filled cell, else the edge.
    for (std::uint32_t p = step(position);; p = step(p)) {
        if (beyondUsed(p)) return edge;
        if (at(p)) return p;
        if (p == edge) return edge;
    }
}

// Whether a number cell can show a given text, told without formatting the
// number: a number shows up to 15 significant digits, so the text it shows
// reads back as a number within a few parts in 10^15 of it. A text that
// reads as no number at all matches no number cell.
class WholeNumberMatch {
public:
    explicit WholeNumberMatch(std::string_view text) {
        const char* end = text.data() + text.size();
        const auto [at, error] = std::from_chars(text.data(), end, number_);
        readsAsNumber_ = !text.empty() && error == std::errc() && at == end;
    }
    bool mayShowAs(double value) const {
        if (!readsAsNumber_) return false;
        const double apart = std::fabs(value - number_);
        return apart <= 1e-300 || apart <= 1e-12 * std::max(std::fabs(value), std::fabs(number_));
    }

private:
    double number_ = 0;
    bool readsAsNumber_ = false;
};

}  // namespace

std::shared_ptr<excel::Range> EngineRange::Find(const Variant& what, excel::FindLookIn, excel::LookAt lookAt) {
    // Only values exist in the model (formulas are kept as their results), so
    // both LookIn choices search the same text.
    sheet_->core().app->lastFind = FindSettings{what, lookAt};
    return searchAfter(bounds_.firstRow, bounds_.firstColumn);
}

std::shared_ptr<excel::Range> EngineRange::FindNext(const Range& after) {
    auto& settings = sheet_->core().app->lastFind;
    if (!settings) raise("FindNext needs a Find on this application first.");
    const long row = after.Row(), column = after.Column();
    if (!bounds_.contains(static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(column)))
        raise("FindNext: the cell " + after.Address() + " lies outside the range " + formatAddress(bounds_) + ".");
    return searchAfter(static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(column));
}

// Goes row by row (left to right within a row) from the cell after
// (row, column), wraps round to the range's first cell and ends with
// (row, column) itself. Cells beyond the used area are empty and never match,
// so the walk stays within it. An empty search text finds nothing.
std::shared_ptr<excel::Range> EngineRange::searchAfter(std::uint32_t row, std::uint32_t column) {
    const FindSettings settings = *sheet_->core().app->lastFind;
    const SheetModel& sheet = sheet_->sheet();
    const std::string what = settings.what.toText();
    const std::string wanted = text::foldCase(what);
    if (wanted.empty()) return nullptr;
    // A whole-cell search compares without making folded copies: it meets
    // every cell of a ten-thousand-row column.
    const WholeNumberMatch number(what);
    auto matches = [&](const CellValue& value) {
        if (settings.lookAt == excel::LookAt::Whole) {
            if (value.isText()) return text::equalsIgnoringCase(value.text(), what);
            if (value.isNumber() && !number.mayShowAs(value.number())) return false;
            return text::equalsIgnoringCase(value.toText(), what);
        }
        return text::foldCase(value.toText()).find(wanted) != std::string::npos;
    };

    RangeBounds area = bounds_;
    area.lastRow = std::min<std::uint32_t>(area.lastRow, sheet.rows.count());
    if (area.lastRow < area.firstRow) return nullptr;
    if (area.columnCount() > 1) {
        std::uint32_t width = 0;
        for (std::uint32_t r = area.firstRow; r <= area.lastRow; ++r) width = std::max(width, sheet.rows.width(r));
        area.lastColumn = std::min<std::uint32_t>(area.lastColumn, static_cast<std::uint32_t>(width));
        if (area.lastColumn < area.firstColumn) return nullptr;
    }

    const std::uint64_t w = area.columnCount();
    const std::uint64_t total = w * area.rowCount();
    std::uint64_t start;  // position of the first cell to look at
    if (row > area.lastRow) start = 0;
    else if (column > area.lastColumn) start = (row - area.firstRow + 1) * w;
    else start = (row - area.firstRow) * w + (column - area.firstColumn) + 1;

    for (std::uint64_t k = 0; k < total; ++k) {
        const std::uint64_t position = (start + k) % total;
        const auto r = static_cast<std::uint32_t>(area.firstRow + position / w);
        const auto c = static_cast<std::uint32_t>(area.firstColumn + position % w);
        const std::optional<Cell> cell = sheet.peek(r, c);
        if (!cell || cell->value.isEmpty()) continue;
        if (matches(cell->value)) return sheet_->rangeAt(cellBounds(r, c));
    }
    return nullptr;
}

std::shared_ptr<excel::Range> EngineRange::End(excel::Direction direction) {
    const SheetModel& sheet = sheet_->sheet();
    const std::uint32_t row = bounds_.firstRow, column = bounds_.firstColumn;
    const auto usedRows = sheet.rows.count();
    const auto usedColumns = sheet.rows.width(row);
    auto inColumn = [&](std::uint32_t r) { return filled(sheet, r, column); };
    auto inRow = [&](std::uint32_t c) { return filled(sheet, row, c); };
    switch (direction) {
    case excel::Direction::Down: return sheet_->rangeAt(cellBounds(ctrlArrow(row, kMaxRows, usedRows, inColumn), column));
    case excel::Direction::Up: return sheet_->rangeAt(cellBounds(ctrlArrow(row, 1, usedRows, inColumn), column));
    case excel::Direction::ToRight:
        return sheet_->rangeAt(cellBounds(row, ctrlArrow(column, kMaxColumns, usedColumns, inRow)));
    case excel::Direction::ToLeft: return sheet_->rangeAt(cellBounds(row, ctrlArrow(column, 1, usedColumns, inRow)));
    }
    raise("Unable to get the End property of the Range class: unknown direction.");
}

}  // namespace office::engine
