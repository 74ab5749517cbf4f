#pragma once
// The File Information Block at the start of a Word document's
// "WordDocument" stream ([MS-DOC] 2.5): which table stream holds the
// document's tables, whether it is encrypted, how long its main text is, and
// where the document properties (DOP) and the piece table (CLX) are.
#include <cstdint>

#include "office/io/LeView.h"

namespace office::doc {

struct Fib {
    std::uint16_t nFib = 0;
    bool encrypted = false;       // fEncrypted: RC4 or XOR obfuscation
    bool tableStream1 = false;    // fWhichTblStm: "1Table", else "0Table"
    std::uint32_t ccpText = 0;    // characters of the main document text
    std::uint32_t fcDop = 0, lcbDop = 0;  // in the table stream
    std::uint32_t fcClx = 0, lcbClx = 0;  // in the table stream
    std::uint32_t fcPlcfBtePapx = 0, lcbPlcfBtePapx = 0;  // in the table stream: paragraph properties
};

// What the first bytes of the stream say the document is.
enum class FibKind { Word97, Word6Or95, NotWord };

// Word 97 and later, Word 6 and 95, or not a Word document at all.
FibKind fibKind(const LeView& wordDocument);

// Reads a Word 97 (or later) FIB; TruncatedData when the stream ends inside it.
Fib readFib(const LeView& wordDocument);

}  // namespace office::doc
