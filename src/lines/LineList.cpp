// The line list: one row per line of the group, sorted by the row text,
// which begins with the sort number; each row's id rides along at its end
// while it is sorted, then moves to LineIds.
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Text.h"
#include "groups/QuickSortList.h"
#include "lines/Us_Menu.h"
#include "store/DataLayout.h"
#include "store/LineRows.h"
#include "text/CaseFold.h"
#include "text/Utf.h"

namespace lines {

namespace {

// The "###" pattern: the number without leading zeros, empty for zero or empty.
std::string sortText(const automation::Variant& sort) {
    if (!sort.isNumeric()) return core::Trim(sort.toText());
    const double rounded = std::round(sort.toNumber());
    return rounded == 0 ? std::string() : automation::formatGeneralNumber(rounded);
}

// Blanks added or characters cut so the text is exactly `width` characters.
std::string fitted(const std::string& text, std::size_t width) {
    std::string out;
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size() && count < width; ++count) {
        const std::size_t start = i;
        text::nextCodePoint(text, i);
        out.append(text, start, i - start);
    }
    out.append(width - count, ' ');
    return out;
}

}  // namespace

double TrailingNumber(const std::string& text, long& position) {
    std::string digits;
    for (position = static_cast<long>(text.size()); position >= 1; --position) {
        const char c = text[static_cast<std::size_t>(position - 1)];
        if (c < '0' || c > '9') break;
        digits.insert(digits.begin(), c);
    }
    if (position < 0) position = 0;
    return digits.empty() ? 0 : std::stod(digits);
}

void Us_Menu::LoadGroupLines(std::int32_t lineId) {
    core::AppState& state = ctx_.state;
    auto& data = *state.DataSheet;
    std::vector<std::string> items;
    std::size_t longest = 0;
    // Ids and groups of every line are read in blocks; the other cells only
    // for the group's own lines.
    store::ForEachLine(data, store::kColGroup, [&](long row, std::span<const automation::Variant> cells) {
        const automation::Variant& id = cells[0];
        // The group as stored: the editor does not trim it.
        if (!text::equalsIgnoringCase(cells[1].toText(), state.SelectedGroup)) return true;
        const std::string code = data.Cells(row, store::kColExclusion)->Value().toText();
        const std::string rowText = fitted(sortText(data.Cells(row, store::kColSort)->Value()) + code, 4) + " " +
                                    core::Trim(data.Cells(row, store::kColDescription)->Value().toText());
        longest = std::max(longest, text::characterCount(rowText));
        items.push_back(rowText + std::string(10, ' ') + id.toText());
        return true;
    });
    ListBox1.setColumnWidths(automation::formatGeneralNumber(6.1 * static_cast<double>(longest)) + " pt");

    std::vector<groups::SortEntry> entries = groups::MakeSortEntries(items);
    if (entries.size() >= 2) groups::QuickSortEntries(entries, 0, static_cast<int>(entries.size()) - 1);

    state.LineIds.clear();
    std::vector<std::string> shown;
    int selected = -1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string item = core::Trim(entries[i].text);
        long position = 0;
        const double id = TrailingNumber(item, position);
        // Ids are whole numbers that fit 32 bits; anything else counts as no id.
        const bool fits = id >= 0 && id <= std::numeric_limits<std::int32_t>::max();
        state.LineIds.push_back(fits ? static_cast<std::int32_t>(id) : 0);
        shown.push_back(core::Trim(item.substr(0, static_cast<std::size_t>(position))));
        if (lineId != 0 && state.LineIds.back() == lineId && selected < 0) selected = static_cast<int>(i);
    }
    ListBox1.SetItems(shown);
    if (selected >= 0) ListBox1.SetListIndex(selected);
}

}  // namespace lines
