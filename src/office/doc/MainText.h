#pragma once
// The main text of a Word 97-2003 document, read through its piece table
// ([MS-DOC] 2.4.1): the first ccpText characters, as UTF-16 code units
// (8-bit pieces give their byte values, which is enough for the control
// characters the page counting looks at).
#include <cstdint>
#include <string>
#include <vector>

#include "office/doc/Fib.h"
#include "office/io/LeView.h"

namespace office::doc {

struct MainText {
    // A run of characters stored one after another in the WordDocument stream.
    struct Piece {
        std::uint32_t firstCp = 0, endCp = 0;  // characters [firstCp, endCp)
        std::uint64_t offset = 0;              // stream offset of the first one
        unsigned bytesPerChar = 2;             // 1 for 8-bit pieces
    };
    std::u16string text;
    std::vector<Piece> pieces;  // in character order, covering the text

    // Stream offset of character `cp` (which must lie in the text).
    std::uint64_t offsetOf(std::uint32_t cp) const;
};

// Throws TruncatedData when a piece lies outside its stream and
// MalformedText for a piece table that cannot be one.
MainText readMainText(const LeView& wordDocument, const LeView& table, const Fib& fib);

struct MalformedText {
    const char* what;
};

// Control characters of the main text.
inline constexpr char16_t kCellMark = 0x07;       // end of a table cell or row
inline constexpr char16_t kLineBreak = 0x0B;
inline constexpr char16_t kPageBreak = 0x0C;      // also a section break
inline constexpr char16_t kParagraphMark = 0x0D;

}  // namespace office::doc
