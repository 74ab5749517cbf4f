#include "office/doc/MainText.h"

namespace office::doc {

namespace {

constexpr std::uint8_t kPrcMarker = 0x01;   // a block of property modifiers before the pieces
constexpr std::uint8_t kPcdtMarker = 0x02;  // the piece table itself
constexpr std::uint32_t kCompressedFlag = 0x40000000;
constexpr std::uint32_t kFcMask = 0x3FFFFFFF;
constexpr std::size_t kPcdSize = 8;

// The PlcPcd: n+1 character positions, then n piece descriptors.
LeView findPieceTable(const LeView& table, const Fib& fib) {
    const LeView clx(table.slice(fib.fcClx, fib.lcbClx));
    std::uint64_t at = 0;
    for (;;) {
        const std::uint8_t marker = clx.u8(at);
        if (marker == kPrcMarker) {
            const auto size = static_cast<std::int16_t>(clx.u16(at + 1));
            if (size < 0) throw MalformedText{"a property block has a negative size"};
            at += 3 + static_cast<std::uint64_t>(size);
        } else if (marker == kPcdtMarker) {
            return LeView(clx.slice(at + 5, clx.u32(at + 1)));
        } else {
            throw MalformedText{"the piece table has an unknown block"};
        }
    }
}

}  // namespace

std::uint64_t MainText::offsetOf(std::uint32_t cp) const {
    for (const Piece& piece : pieces)
        if (cp >= piece.firstCp && cp < piece.endCp) return piece.offset + std::uint64_t{cp - piece.firstCp} * piece.bytesPerChar;
    return 0;
}

MainText readMainText(const LeView& wordDocument, const LeView& table, const Fib& fib) {
    // Each character takes at least one byte of the stream.
    if (fib.ccpText > wordDocument.size()) throw MalformedText{"the text is longer than its stream"};
    const LeView pieces = findPieceTable(table, fib);
    if (pieces.size() < 4 + 12 || (pieces.size() - 4) % 12 != 0) throw MalformedText{"the piece table has a wrong size"};
    const std::size_t count = (pieces.size() - 4) / 12;
    const std::uint64_t descriptors = 4ull * (count + 1);

    MainText main;
    std::u16string& text = main.text;
    text.reserve(fib.ccpText);
    if (pieces.u32(0) != 0) throw MalformedText{"the piece table does not start at the first character"};
    for (std::size_t k = 0; k < count && text.size() < fib.ccpText; ++k) {
        const std::uint32_t first = pieces.u32(4 * k);
        const std::uint32_t last = pieces.u32(4 * (k + 1));
        if (last < first) throw MalformedText{"the pieces are out of order"};
        const std::size_t wanted = std::min<std::size_t>(last - first, fib.ccpText - text.size());
        const std::uint32_t fc = pieces.u32(descriptors + kPcdSize * k + 2);
        MainText::Piece piece;
        piece.firstCp = static_cast<std::uint32_t>(text.size());
        piece.endCp = static_cast<std::uint32_t>(text.size() + wanted);
        if (fc & kCompressedFlag) {
            piece.offset = (fc & kFcMask) / 2;
            piece.bytesPerChar = 1;
            for (std::uint8_t byte : wordDocument.slice(piece.offset, wanted)) text.push_back(byte);
        } else {
            piece.offset = fc & kFcMask;
            const auto bytes = wordDocument.slice(piece.offset, 2ull * wanted);
            for (std::size_t i = 0; i < wanted; ++i)
                text.push_back(static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
        }
        if (wanted > 0) main.pieces.push_back(piece);
    }
    if (text.size() < fib.ccpText) throw MalformedText{"the pieces end before the text does"};
    return main;
}

}  // namespace office::doc
