#include "store/LineRows.h"

#include <algorithm>
#include <string>

#include "core/Text.h"
#include "store/DataLayout.h"

namespace store {

namespace {
// Rows read in one call: a block of a thousand lines' ids and groups stays
// small enough to be carved from memory the process holds already.
constexpr long kBlockRows = 1000;

// The table's columns are A to K: one letter names each.
static_assert(kColSort <= 26);

// Whether a cell shows nothing but blanks: the DATA table ends at the first
// such id.
bool IsBlank(const automation::Variant& value) {
    // Numbers, booleans and errors always show something.
    return value.isText() ? core::Trim(value.text()).empty() : value.isEmpty();
}
}  // namespace

void ForEachLine(automation::excel::Worksheet& data, Column columns,
                 const std::function<bool(long row, std::span<const automation::Variant> cells)>& visit) {
    const std::string lastColumn(1, static_cast<char>('A' + columns - 1));
    for (long first = kFirstLineRow; first <= kLastLineRow; first += kBlockRows) {
        const long last = std::min(first + kBlockRows - 1, kLastLineRow);
        const automation::excel::ValueBlock block =
            data.GetRange("A" + std::to_string(first) + ":" + lastColumn + std::to_string(last))->Values();
        for (long i = 0; i < block.rows; ++i) {
            const std::span<const automation::Variant> cells(block.values.data() + i * block.columns,
                                                             static_cast<std::size_t>(block.columns));
            if (IsBlank(cells[0]) || !visit(first + i, cells)) return;
        }
        // The sheet ends within the block: the rows below hold nothing.
        if (block.rows < last - first + 1) return;
    }
}

}  // namespace store
