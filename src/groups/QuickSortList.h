#pragma once
#include "ui/model/Control.h"

namespace groups {

// Sorts the entries of `list` from position `low` to `high` (zero-based,
// inclusive) in place, case-insensitively in the user's collation. The list
// keeps its number of entries; entries are exchanged by text.
void QuickSortList(ui::ListBox& list, int low, int high);

}  // namespace groups
