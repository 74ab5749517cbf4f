#include "office/doc/ParagraphBreaks.h"

#include <algorithm>
#include <utility>

namespace office::doc {

namespace {

constexpr std::size_t kFkpSize = 512;
constexpr std::size_t kBxPapSize = 13;
constexpr std::uint32_t kPnMask = 0x3FFFFF;
constexpr std::uint16_t kSprmPageBreakBefore = 0x2407;
constexpr std::uint16_t kSprmTableDefinition = 0xD608;  // its operand has a 16-bit size

// Whether a paragraph's property list turns "page break before" on.
bool setsPageBreakBefore(const LeView& sprms) {
    for (std::uint64_t at = 0; at + 2 <= sprms.size();) {
        const std::uint16_t sprm = sprms.u16(at);
        at += 2;
        std::uint64_t operand = 0;
        switch (sprm >> 13) {  // spra: the operand's size
        case 0:
        case 1: operand = 1; break;
        case 2:
        case 4:
        case 5: operand = 2; break;
        case 3: operand = 4; break;
        case 7: operand = 3; break;
        default:
            if (sprm == kSprmTableDefinition) {
                operand = 2 + sprms.u16(at) - 1;
            } else {
                operand = 1 + sprms.u8(at);
            }
        }
        if (sprm == kSprmPageBreakBefore) return sprms.u8(at) != 0;
        at += operand;
    }
    return false;
}

// Stream ranges [begin, end) whose paragraph marks carry the break.
std::vector<std::pair<std::uint32_t, std::uint32_t>> breakRanges(const LeView& wordDocument, const LeView& table,
                                                                 const Fib& fib) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
    if (fib.lcbPlcfBtePapx < 12 || (fib.lcbPlcfBtePapx - 4) % 8 != 0) return ranges;
    const LeView plc(table.slice(fib.fcPlcfBtePapx, fib.lcbPlcfBtePapx));
    const std::size_t pages = (plc.size() - 4) / 8;
    for (std::size_t k = 0; k < pages; ++k) {
        const std::uint64_t pn = plc.u32(4 * (pages + 1) + 4 * k) & kPnMask;
        const LeView fkp(wordDocument.slice(pn * kFkpSize, kFkpSize));
        const std::size_t runs = fkp.u8(kFkpSize - 1);
        if (4 * (runs + 1) + kBxPapSize * runs > kFkpSize - 1) continue;  // not a page of runs
        for (std::size_t run = 0; run < runs; ++run) {
            const std::size_t papx = 2 * std::size_t{fkp.u8(4 * (runs + 1) + kBxPapSize * run)};
            if (papx == 0) continue;  // no properties of its own
            std::uint64_t length = 2ull * fkp.u8(papx) - 1;
            std::uint64_t start = papx + 1;
            if (fkp.u8(papx) == 0) {
                length = 2ull * fkp.u8(papx + 1);
                start = papx + 2;
            }
            if (length < 2 || start + length > kFkpSize - 1) continue;
            // The properties start with the style (2 bytes), then the list.
            if (setsPageBreakBefore(LeView(fkp.slice(start + 2, length - 2))))
                ranges.emplace_back(fkp.u32(4 * run), fkp.u32(4 * (run + 1)));
        }
    }
    std::sort(ranges.begin(), ranges.end());
    return ranges;
}

bool inRanges(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& ranges, std::uint64_t offset) {
    auto after = std::upper_bound(ranges.begin(), ranges.end(), std::make_pair(static_cast<std::uint32_t>(offset), UINT32_MAX));
    return after != ranges.begin() && offset < std::prev(after)->second && offset >= std::prev(after)->first;
}

}  // namespace

std::vector<std::uint32_t> breakBeforeParagraphs(const LeView& wordDocument, const LeView& table, const Fib& fib,
                                                  const MainText& main) {
    std::vector<std::uint32_t> starts;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
    try {
        ranges = breakRanges(wordDocument, table, fib);
    } catch (const TruncatedData&) {
        return starts;
    }
    if (ranges.empty()) return starts;
    std::uint32_t paragraphStart = 0;
    for (std::uint32_t cp = 0; cp < main.text.size(); ++cp) {
        const char16_t c = main.text[cp];
        if (c != kParagraphMark && c != kCellMark) continue;
        if (paragraphStart > 0 && inRanges(ranges, main.offsetOf(cp))) starts.push_back(paragraphStart);
        paragraphStart = cp + 1;
    }
    return starts;
}

}  // namespace office::doc
