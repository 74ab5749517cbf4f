#pragma once
// The shared string table as the sheets' cells take their texts from it: each
// text is made once, and every cell naming it holds a reference to it. A
// table read from a stream that stays in memory makes each text only when a
// cell first asks for it: a store's table holds a text for every line's
// description and path, and most commands look at none of them.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "office/biff/BiffStrings.h"
#include "office/model/CellText.h"

namespace office::biff {

class SharedStrings {
public:
    SharedStrings() = default;
    explicit SharedStrings(std::vector<CellText> texts) : texts_(std::move(texts)) {}
    // The entries of `table` (its records checked already) start at `starts`.
    SharedStrings(ContinuedBytes table, std::vector<ContinuedBytes::Position> starts)
        : texts_(starts.size()), made_(starts.size(), 0), table_(std::move(table)), starts_(std::move(starts)) {}

    std::size_t size() const { return texts_.size(); }
    // The text of entry `index` (< size()), shared with the cell that takes it.
    const CellText& operator[](std::uint32_t index) const {
        if (!made_.empty() && !made_[index]) make(index);
        return texts_[index];
    }

    // The same text as a view, valid as long as this table: a plain ASCII
    // text is read where it lies in the table, without making it.
    std::string_view view(std::uint32_t index) const;

private:
    void make(std::uint32_t index) const;

    mutable std::vector<CellText> texts_;
    mutable std::vector<std::uint8_t> made_;  // empty when every text is made
    mutable std::optional<ContinuedBytes> table_;
    std::vector<ContinuedBytes::Position> starts_;
};

}  // namespace office::biff
