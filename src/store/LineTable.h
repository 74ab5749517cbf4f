#pragma once
// Rules for adding lines to the DATA table that the group commands and the
// line editor share: where a new line goes, whether the table has room for
// it, and which id it gets.
#include <cstdint>
#include <string>
#include <unordered_set>

#include "automation/Excel.h"
#include "core/Context.h"

namespace store {

// The row a new line goes to: the first empty row after the block of ids
// that runs down column A from A1 (Excel's end-of-block move, plus one);
// row 2 when column A holds the header only.
long NewLineRow(automation::excel::Worksheet& data);

// Whether `count` new lines from `row` on stay within the rows every reader
// looks at (up to row 9999): lines written further down would be lost to
// the program.
bool TableHasRoom(long row, long count = 1);
// The message for a table without room, in the user's language.
std::string TableFullMessage(const core::Context& ctx);

// Hands out new line ids. A new id is the id above its row plus 1, or 1 when
// that is not a number; when that id is already in the table, it is one more
// than the largest numeric id instead, so ids stay unique.
class LineIdAllocator {
public:
    // Reads the ids of the table (rows 2 to 9999, up to the first empty id).
    explicit LineIdAllocator(automation::excel::Worksheet& data);
    // The id for a new line written below a row whose id is `above`; it
    // counts as taken from then on.
    double next(const automation::Variant& above);

private:
    bool taken(double id) const;
    void take(double id);

    // Ids as their cells show them: whole numbers by their value (a number
    // cell of ten thousand is not formatted to be compared), every other id
    // by its text.
    std::unordered_set<std::int64_t> wholeIds_;
    std::unordered_set<std::string> shownIds_;
    double largest_ = 0;
};

}  // namespace store
