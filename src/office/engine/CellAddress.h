#pragma once
// A1-style addresses: parsing "A1", "$A$1:$K$1", "A:Z", "3:3" into row and
// column bounds, and writing them back the way Excel's Address shows them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace office::engine {

// 1-based, inclusive bounds of a rectangular block on the BIFF8 grid.
struct RangeBounds {
    std::uint32_t firstRow = 1;
    std::uint32_t firstColumn = 1;
    std::uint32_t lastRow = 1;
    std::uint32_t lastColumn = 1;

    bool wholeRows() const;     // spans every column
    bool wholeColumns() const;  // spans every row
    bool singleCell() const { return firstRow == lastRow && firstColumn == lastColumn; }
    std::uint32_t rowCount() const { return lastRow - firstRow + 1; }
    std::uint32_t columnCount() const { return lastColumn - firstColumn + 1; }
    bool contains(std::uint32_t row, std::uint32_t column) const {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool operator==(const RangeBounds&) const = default;
};

RangeBounds cellBounds(std::uint32_t row, std::uint32_t column);

// "A".."IV" for 1..256.
std::string columnLetters(std::uint32_t column);

// Parses a cell, block, whole-column or whole-row address, with or without
// '$'. A lone column ("K") is accepted only when `allowLoneColumn` is set, as
// Columns("K") does. nullopt for anything else or anything off the grid.
std::optional<RangeBounds> parseAddress(std::string_view address, bool allowLoneColumn = false);

// "$A$5", "$A$1:$K$1", "$A:$A", "$3:$5".
std::string formatAddress(const RangeBounds& bounds);

}  // namespace office::engine
