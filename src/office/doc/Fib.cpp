#include "office/doc/Fib.h"

namespace office::doc {

namespace {

constexpr std::uint16_t kWord97Ident = 0xA5EC;  // wIdent of Word 97 and later
constexpr std::uint16_t kWord6Ident = 0xA5DC;   // wIdent of Word 6 and Word 95
constexpr std::uint16_t kFirstWord97Fib = 0x00C1;

// FibBase
constexpr std::size_t kIdent = 0x00;
constexpr std::size_t kNFib = 0x02;
constexpr std::size_t kFlags = 0x0A;
constexpr std::uint16_t kEncryptedFlag = 0x0100;
constexpr std::uint16_t kTableStreamFlag = 0x0200;
constexpr std::size_t kFibBaseSize = 32;

// Indexes into FibRgLw97 (32-bit values) and FibRgFcLcb97 (fc/lcb pairs).
constexpr std::size_t kCcpTextIndex = 3;
constexpr std::size_t kPapxPair = 13;
constexpr std::size_t kDopPair = 31;
constexpr std::size_t kClxPair = 33;

}  // namespace

FibKind fibKind(const LeView& stream) {
    if (!stream.has(0, kFibBaseSize)) return FibKind::NotWord;
    const std::uint16_t ident = stream.u16(kIdent);
    const std::uint16_t nFib = stream.u16(kNFib);
    if (ident == kWord97Ident && nFib >= kFirstWord97Fib) return FibKind::Word97;
    if (ident == kWord6Ident || ident == kWord97Ident) return FibKind::Word6Or95;
    return FibKind::NotWord;
}

Fib readFib(const LeView& stream) {
    Fib fib;
    fib.nFib = stream.u16(kNFib);
    const std::uint16_t flags = stream.u16(kFlags);
    fib.encrypted = (flags & kEncryptedFlag) != 0;
    fib.tableStream1 = (flags & kTableStreamFlag) != 0;

    // FibBase, then three counted blocks: 16-bit values, 32-bit values, and
    // the fc/lcb pairs. Each count says how long its block is in this file.
    std::uint64_t at = kFibBaseSize;
    const std::uint16_t csw = stream.u16(at);
    at += 2 + 2ull * csw;
    const std::uint16_t cslw = stream.u16(at);
    const std::uint64_t rgLw = at + 2;
    at = rgLw + 4ull * cslw;
    const std::uint16_t cbRgFcLcb = stream.u16(at);
    const std::uint64_t rgFcLcb = at + 2;

    if (cslw <= kCcpTextIndex) throw TruncatedData{rgLw};
    fib.ccpText = stream.u32(rgLw + 4 * kCcpTextIndex);
    if (cbRgFcLcb <= kClxPair) throw TruncatedData{rgFcLcb};
    fib.fcDop = stream.u32(rgFcLcb + 8 * kDopPair);
    fib.lcbDop = stream.u32(rgFcLcb + 8 * kDopPair + 4);
    fib.fcPlcfBtePapx = stream.u32(rgFcLcb + 8 * kPapxPair);
    fib.lcbPlcfBtePapx = stream.u32(rgFcLcb + 8 * kPapxPair + 4);
    fib.fcClx = stream.u32(rgFcLcb + 8 * kClxPair);
    fib.lcbClx = stream.u32(rgFcLcb + 8 * kClxPair + 4);
    return fib;
}

}  // namespace office::doc
