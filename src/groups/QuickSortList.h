#pragma once
#include <string>
#include <vector>

#include "ui/model/Control.h"

namespace groups {

// Sorts the entries of `list` from position `low` to `high` (zero-based,
// inclusive) in place, ignoring case, in the display order of the user's
// locale. The list keeps its number of entries; entries are exchanged by text.
void QuickSortList(ui::ListBox& list, int low, int high);

// The same sort on texts held outside a list, with their collation keys, for
// callers that fill a list at once.
struct SortEntry {
    std::string key;  // the display sort key
    std::string text;
};
std::vector<SortEntry> MakeSortEntries(const std::vector<std::string>& texts);
void QuickSortEntries(std::vector<SortEntry>& entries, int low, int high);

// `texts` sorted as above, each run of equal keys giving way to its last
// text: the entries of a list freed of duplicates.
std::vector<std::string> SortedWithoutDuplicates(const std::vector<std::string>& texts);

}  // namespace groups
