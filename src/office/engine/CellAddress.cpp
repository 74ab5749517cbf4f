#include "office/engine/CellAddress.h"

#include <algorithm>
#include <cctype>

#include "office/model/WorkbookModel.h"

namespace office::engine {

bool RangeBounds::wholeRows() const { return firstColumn == 1 && lastColumn == kMaxColumns; }
bool RangeBounds::wholeColumns() const { return firstRow == 1 && lastRow == kMaxRows; }

RangeBounds cellBounds(std::uint32_t row, std::uint32_t column) { return {row, column, row, column}; }

std::string columnLetters(std::uint32_t column) {
    std::string letters;
    while (column > 0) {
        --column;
        letters.insert(letters.begin(), static_cast<char>('A' + column % 26));
        column /= 26;
    }
    return letters;
}

namespace {

// One side of an address: letters and/or digits, each optionally after '$'.
struct AddressPart {
    std::uint32_t column = 0;  // 0 when absent
    std::uint32_t row = 0;     // 0 when absent
};

std::optional<AddressPart> parsePart(std::string_view text) {
    AddressPart part;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '$') ++i;
    std::size_t lettersStart = i;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) {
        auto letter = static_cast<std::uint32_t>(std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
        part.column = part.column * 26 + letter;
        if (part.column > kMaxColumns) return std::nullopt;
        ++i;
    }
    bool hasLetters = i > lettersStart;
    bool dollarBeforeRow = hasLetters && i < text.size() && text[i] == '$';
    if (dollarBeforeRow) ++i;
    std::size_t digitsStart = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        part.row = part.row * 10 + static_cast<std::uint32_t>(text[i] - '0');
        if (part.row > kMaxRows) return std::nullopt;
        ++i;
    }
    bool hasDigits = i > digitsStart;
    if (i != text.size() || (!hasLetters && !hasDigits) || (dollarBeforeRow && !hasDigits)) return std::nullopt;
    if (hasDigits && part.row == 0) return std::nullopt;
    return part;
}

std::string trim(std::string_view text) {
    auto begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    auto end = text.find_last_not_of(" \t");
    return std::string(text.substr(begin, end - begin + 1));
}

}  // namespace

std::optional<RangeBounds> parseAddress(std::string_view address, bool allowLoneColumn) {
    std::string text = trim(address);
    auto colon = text.find(':');
    std::string_view left = std::string_view(text).substr(0, colon);
    std::string_view right = colon == std::string::npos ? left : std::string_view(text).substr(colon + 1);
    auto a = parsePart(left);
    auto b = parsePart(right);
    if (!a || !b) return std::nullopt;
    bool aCell = a->column && a->row, bCell = b->column && b->row;
    bool aColumn = a->column && !a->row, bColumn = b->column && !b->row;
    bool aRow = !a->column && a->row, bRow = !b->column && b->row;

    RangeBounds bounds;
    if (aCell && bCell) {
        bounds = {std::min(a->row, b->row), std::min(a->column, b->column),
                  std::max(a->row, b->row), std::max(a->column, b->column)};
    } else if (aColumn && bColumn) {
        if (colon == std::string::npos && !allowLoneColumn) return std::nullopt;
        bounds = {1, std::min(a->column, b->column), kMaxRows, std::max(a->column, b->column)};
    } else if (aRow && bRow) {
        if (colon == std::string::npos) return std::nullopt;  // "5" alone is no address
        bounds = {std::min(a->row, b->row), 1, std::max(a->row, b->row), kMaxColumns};
    } else {
        return std::nullopt;
    }
    return bounds;
}

std::string formatAddress(const RangeBounds& b) {
    auto cell = [](std::uint32_t row, std::uint32_t column) {
        return "$" + columnLetters(column) + "$" + std::to_string(row);
    };
    if (b.wholeRows())
        return "$" + std::to_string(b.firstRow) + ":$" + std::to_string(b.lastRow);
    if (b.wholeColumns())
        return "$" + columnLetters(b.firstColumn) + ":$" + columnLetters(b.lastColumn);
    if (b.singleCell()) return cell(b.firstRow, b.firstColumn);
    return cell(b.firstRow, b.firstColumn) + ":" + cell(b.lastRow, b.lastColumn);
}

}  // namespace office::engine
