#include "office/chart/ChartFormula.h"

#include "office/biff/ByteCursor.h"

namespace office::chart {
namespace {

using automation::chart::CellRange;

// Token ids without their class bits (0x20 reference, 0x40 value, 0x60 array).
constexpr std::uint8_t kUnion = 0x10;
constexpr std::uint8_t kParen = 0x15;
constexpr std::uint8_t kMemFunc = 0x09;   // 0x29: a sub-expression's length, then the sub-expression
constexpr std::uint8_t kRef3d = 0x1A;     // 0x3A: ixti, row, column
constexpr std::uint8_t kArea3d = 0x1B;    // 0x3B: ixti, rows, columns
constexpr std::uint8_t kRefErr3d = 0x1C;  // references to deleted cells
constexpr std::uint8_t kAreaErr3d = 0x1D;

// The column field carries the relative-reference flags in its top bits.
std::uint16_t column(std::uint16_t field) { return field & 0x3FFF; }

}  // namespace

std::vector<CellRange> readFormulaRanges(std::span<const std::uint8_t> rgce) {
    std::vector<CellRange> ranges;
    biff::ByteCursor in(rgce, 0);
    while (in.remaining() > 0) {
        const std::uint8_t token = in.u8();
        const std::uint8_t base = (token & 0x60) ? (token & 0x1F) : token;
        if (token == kUnion || token == kParen) continue;
        if (base == kMemFunc && (token & 0x60)) {
            if (in.remaining() < 2) break;
            in.u16();
            continue;
        }
        if (!(token & 0x60)) break;
        if (base == kRef3d && in.remaining() >= 6) {
            CellRange r;
            r.externSheet = in.u16();
            r.firstRow = r.lastRow = in.u16();
            r.firstColumn = r.lastColumn = column(in.u16());
            ranges.push_back(r);
        } else if (base == kArea3d && in.remaining() >= 10) {
            CellRange r;
            r.externSheet = in.u16();
            r.firstRow = in.u16();
            r.lastRow = in.u16();
            r.firstColumn = column(in.u16());
            r.lastColumn = column(in.u16());
            if (r.lastRow < r.firstRow || r.lastColumn < r.firstColumn) break;
            ranges.push_back(r);
        } else if (base == kRefErr3d && in.remaining() >= 6) {
            in.skip(6);
        } else if (base == kAreaErr3d && in.remaining() >= 10) {
            in.skip(10);
        } else {
            break;
        }
    }
    return ranges;
}

}  // namespace office::chart
