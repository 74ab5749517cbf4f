#pragma once
// The shared string table as the sheets' cells take their texts from it. Most
// texts of a long table are named by one cell only: the last cell to name a
// text takes it whole, the others get a copy, so no text is held twice.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace office::biff {

class SharedStrings {
public:
    // `texts` as read from SST. The uses are counted on one walk of the
    // records of the clear `stream`; when a sheet starts at an offset that is
    // not a record of that walk (a damaged or padded stream), every cell gets
    // a copy instead.
    SharedStrings(std::vector<std::string> texts, std::span<const std::uint8_t> stream,
                  std::span<const std::uint32_t> sheetOffsets);

    std::size_t size() const { return texts_.size(); }
    // The text for one more cell naming entry `index` (< size()).
    std::string take(std::uint32_t index);

private:
    std::vector<std::string> texts_;
    std::vector<std::uint32_t> usesLeft_;  // empty: every use copies
};

}  // namespace office::biff
