#include "groups/QuickSortList.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/Text.h"
#include "text/Collation.h"

namespace groups {

namespace {

// The middle position; a .5 is rounded to the even neighbour (0 and 5 give 2,
// 0 and 7 give 4).
int middle(int low, int high) {
    const int sum = low + high;
    int half = sum / 2;
    if (sum % 2 != 0 && half % 2 != 0) half += 1;
    return half;
}

}  // namespace

std::vector<SortEntry> MakeSortEntries(const std::vector<std::string>& texts) {
    // A long table names few groups many times: each distinct text is keyed
    // once (a collation key costs far more than a lookup).
    std::unordered_map<std::string_view, std::string> keys;
    std::vector<SortEntry> entries;
    entries.reserve(texts.size());
    for (const std::string& text : texts) {
        auto [at, added] = keys.try_emplace(text);
        if (added) at->second = text::displaySortKey(text);
        entries.push_back({at->second, text});
    }
    return entries;
}

void QuickSortEntries(std::vector<SortEntry>& entries, int low, int high) {
    if (low >= high) return;
    int i = low;
    int j = high;
    const std::string pivot = entries[middle(low, high)].key;  // copied: does not follow swaps
    do {
        while (entries[i].key < pivot) ++i;
        while (entries[j].key > pivot) --j;
        if (i <= j) {
            std::swap(entries[i], entries[j]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (low < j) QuickSortEntries(entries, low, j);
    if (i < high) QuickSortEntries(entries, i, high);
}

void QuickSortList(ui::ListBox& list, int low, int high) {
    if (low >= high) return;
    // Sorted on collation keys made once per entry, then written back.
    std::vector<std::string> texts;
    for (int k = low; k <= high; ++k) texts.push_back(list.List(k));
    std::vector<SortEntry> entries = MakeSortEntries(texts);
    QuickSortEntries(entries, 0, high - low);
    for (int k = low; k <= high; ++k)
        if (list.List(k) != entries[k - low].text) list.SetList(k, entries[k - low].text);
}

std::vector<std::string> SortedWithoutDuplicates(const std::vector<std::string>& texts) {
    // A long table names few groups many times. When no two different texts
    // share a key, each run of equal keys holds one text only, and sorting
    // the distinct texts gives the same list as sorting them all.
    std::unordered_map<std::string_view, std::string> keys;
    for (const std::string& text : texts) {
        auto [at, added] = keys.try_emplace(text);
        if (added) at->second = text::displaySortKey(text);
    }
    std::vector<std::pair<std::string_view, std::string_view>> distinct;  // key, text
    distinct.reserve(keys.size());
    for (const auto& [text, key] : keys) distinct.emplace_back(key, text);
    std::sort(distinct.begin(), distinct.end());
    const bool sharedKey = std::adjacent_find(distinct.begin(), distinct.end(), [](const auto& a, const auto& b) {
                               return a.first == b.first;
                           }) != distinct.end();
    std::vector<std::string> sorted;
    if (!sharedKey) {
        for (const auto& entry : distinct) sorted.emplace_back(entry.second);
        return sorted;
    }
    // Texts that differ only in letter case: which one stays depends on where
    // the whole sort leaves each of them.
    std::vector<SortEntry> entries = MakeSortEntries(texts);
    if (entries.size() >= 2) QuickSortEntries(entries, 0, static_cast<int>(entries.size()) - 1);
    for (std::size_t k = 0; k < entries.size(); ++k)
        if (k + 1 == entries.size() || entries[k].key != entries[k + 1].key) sorted.push_back(std::move(entries[k].text));
    return sorted;
}

}  // namespace groups
