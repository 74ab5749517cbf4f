#include "groups/QuickSortList.h"

#include <utility>
#include <vector>

#include "core/Text.h"

namespace groups {

namespace {

struct Entry {
    std::wstring key;
    std::string text;
};

// The middle position; a .5 is rounded to the even neighbour (0 and 5 give 2,
// 0 and 7 give 4).
int middle(int low, int high) {
    const int sum = low + high;
    int half = sum / 2;
    if (sum % 2 != 0 && half % 2 != 0) half += 1;
    return half;
}

void quickSort(std::vector<Entry>& entries, int low, int high) {
    int i = low;
    int j = high;
    const std::wstring pivot = entries[middle(low, high)].key;  // copied: does not follow swaps
    do {
        while (entries[i].key < pivot) ++i;
        while (entries[j].key > pivot) --j;
        if (i <= j) {
            std::swap(entries[i], entries[j]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (low < j) quickSort(entries, low, j);
    if (i < high) quickSort(entries, i, high);
}

}  // namespace

void QuickSortList(ui::ListBox& list, int low, int high) {
    if (low >= high) return;
    // Sorted on collation keys made once per entry, then written back.
    std::vector<Entry> entries(list.ListCount());
    for (int k = low; k <= high; ++k) entries[k] = {core::CollationKey(list.List(k)), list.List(k)};
    quickSort(entries, low, high);
    for (int k = low; k <= high; ++k)
        if (list.List(k) != entries[k].text) list.SetList(k, entries[k].text);
}

}  // namespace groups
