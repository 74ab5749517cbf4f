#pragma once
// The shared string table as the sheets' cells take their texts from it: each
// text is made once, and every cell naming it holds a reference to it.
#include <cstdint>
#include <vector>

#include "office/model/CellText.h"

namespace office::biff {

class SharedStrings {
public:
    explicit SharedStrings(std::vector<CellText> texts) : texts_(std::move(texts)) {}

    std::size_t size() const { return texts_.size(); }
    // The text of entry `index` (< size()), shared with the cell that takes it.
    const CellText& operator[](std::uint32_t index) const { return texts_[index]; }

private:
    std::vector<CellText> texts_;
};

}  // namespace office::biff
