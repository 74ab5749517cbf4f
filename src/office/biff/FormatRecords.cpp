#include "office/biff/FormatRecords.h"

#include "office/biff/BiffRecords.h"
#include "office/biff/BiffStrings.h"
#include "text/Utf.h"

namespace office::biff {
namespace {

// FONT grbit.
constexpr std::uint16_t kItalic = 0x0002;
constexpr std::uint16_t kStrikeout = 0x0008;

// XF type and protection word.
constexpr std::uint16_t kLocked = 0x0001;
constexpr std::uint16_t kFormulaHidden = 0x0002;
constexpr std::uint16_t kStyle = 0x0004;
constexpr std::uint16_t kQuotePrefix = 0x0008;
constexpr std::uint16_t kNoParent = 0xFFF0;  // a style's parent field

std::uint32_t bits(std::uint32_t word, int first, int count) { return (word >> first) & ((1u << count) - 1); }

BorderLine line(std::uint32_t style, std::uint32_t color) {
    return {static_cast<BorderStyle>(style), static_cast<std::uint8_t>(color)};
}

}  // namespace

FontDef readFont(ByteCursor& in) {
    FontDef font;
    font.heightTwips = in.u16();
    const std::uint16_t flags = in.u16();
    font.italic = (flags & kItalic) != 0;
    font.strikeout = (flags & kStrikeout) != 0;
    font.colorIndex = in.u16();
    font.weight = in.u16();
    const std::uint16_t script = in.u16();
    font.script = script <= 2 ? static_cast<FontScript>(script) : FontScript::Normal;
    font.underline = in.u8();
    font.family = in.u8();
    font.charset = in.u8();
    in.skip(1);
    font.name = readShortString(in);
    return font;
}

void writeFont(RecordWriter& out, const FontDef& font) {
    out.begin(rec::kFont);
    out.u16(font.heightTwips);
    out.u16(static_cast<std::uint16_t>((font.italic ? kItalic : 0) | (font.strikeout ? kStrikeout : 0)));
    out.u16(font.colorIndex);
    out.u16(font.weight);
    out.u16(static_cast<std::uint16_t>(font.script));
    out.u8(font.underline);
    out.u8(font.family);
    out.u8(font.charset);
    out.u8(0);
    out.shortString(text::utf8ToUtf16(font.name));
    out.end();
}

std::uint16_t modelFontIndex(std::uint16_t fileIndex) {
    if (fileIndex < 4) return fileIndex;
    if (fileIndex == 4) return 0;
    return static_cast<std::uint16_t>(fileIndex - 1);
}

std::uint16_t fileFontIndex(std::uint16_t modelIndex, std::size_t fontCount) {
    if (modelIndex >= fontCount) return 0;
    return modelIndex < 4 ? modelIndex : static_cast<std::uint16_t>(modelIndex + 1);
}

XfDef readXf(ByteCursor& in) {
    XfDef xf;
    xf.font = modelFontIndex(in.u16());
    xf.format = in.u16();
    const std::uint16_t type = in.u16();
    xf.protection.locked = (type & kLocked) != 0;
    xf.protection.formulaHidden = (type & kFormulaHidden) != 0;
    xf.isStyle = (type & kStyle) != 0;
    xf.quotePrefix = (type & kQuotePrefix) != 0;
    xf.parentStyle = xf.isStyle ? 0 : static_cast<std::uint16_t>(type >> 4);

    const std::uint8_t align = in.u8();
    xf.alignment.horizontal = static_cast<HorizontalAlignment>(bits(align, 0, 3));
    xf.alignment.wrap = bits(align, 3, 1) != 0;
    const std::uint32_t vertical = bits(align, 4, 3);
    xf.alignment.vertical = vertical <= 4 ? static_cast<VerticalAlignment>(vertical) : VerticalAlignment::Bottom;
    xf.alignment.justifyLastLine = bits(align, 7, 1) != 0;
    xf.alignment.rotation = in.u8();
    const std::uint8_t indent = in.u8();
    xf.alignment.indent = static_cast<std::uint8_t>(bits(indent, 0, 4));
    xf.alignment.shrinkToFit = bits(indent, 4, 1) != 0;
    xf.alignment.readingOrder = static_cast<std::uint8_t>(bits(indent, 6, 2));
    const std::uint8_t used = in.u8();
    xf.groups = {bits(used, 2, 1) != 0, bits(used, 3, 1) != 0, bits(used, 4, 1) != 0,
                 bits(used, 5, 1) != 0, bits(used, 6, 1) != 0, bits(used, 7, 1) != 0};

    const std::uint32_t border1 = in.u32();
    const std::uint32_t border2 = in.u32();
    const std::uint16_t fill = in.u16();
    Borders& b = xf.borders;
    b.left = line(bits(border1, 0, 4), bits(border1, 16, 7));
    b.right = line(bits(border1, 4, 4), bits(border1, 23, 7));
    b.top = line(bits(border1, 8, 4), bits(border2, 0, 7));
    b.bottom = line(bits(border1, 12, 4), bits(border2, 7, 7));
    b.diagonal = line(bits(border2, 21, 4), bits(border2, 14, 7));
    b.diagonalDown = bits(border1, 30, 1) != 0;
    b.diagonalUp = bits(border1, 31, 1) != 0;
    xf.fill.pattern = static_cast<std::uint8_t>(bits(border2, 26, 6));
    xf.fill.foreground = static_cast<std::uint8_t>(bits(fill, 0, 7));
    xf.fill.background = static_cast<std::uint8_t>(bits(fill, 7, 7));
    xf.pivotButton = bits(fill, 14, 1) != 0;
    return xf;
}

void writeXf(RecordWriter& out, const XfDef& xf, std::size_t fontCount, std::size_t xfCount) {
    out.begin(rec::kXf);
    out.u16(fileFontIndex(xf.font, fontCount));
    out.u16(xf.format);
    std::uint16_t type = 0;
    if (xf.protection.locked) type |= kLocked;
    if (xf.protection.formulaHidden) type |= kFormulaHidden;
    if (xf.quotePrefix) type |= kQuotePrefix;
    if (xf.isStyle) type |= kStyle | kNoParent;
    else type |= static_cast<std::uint16_t>((xf.parentStyle < xfCount ? xf.parentStyle : 0) << 4);
    out.u16(type);

    const Alignment& a = xf.alignment;
    out.u8(static_cast<std::uint8_t>((static_cast<unsigned>(a.horizontal) & 7) | (a.wrap ? 0x08 : 0) |
                                     ((static_cast<unsigned>(a.vertical) & 7) << 4) | (a.justifyLastLine ? 0x80 : 0)));
    out.u8(a.rotation);
    out.u8(static_cast<std::uint8_t>((a.indent & 0x0F) | (a.shrinkToFit ? 0x10 : 0) | ((a.readingOrder & 3) << 6)));
    const XfAttributeGroups& g = xf.groups;
    out.u8(static_cast<std::uint8_t>((g.numberFormat ? 0x04 : 0) | (g.font ? 0x08 : 0) | (g.alignment ? 0x10 : 0) |
                                     (g.border ? 0x20 : 0) | (g.fill ? 0x40 : 0) | (g.protection ? 0x80 : 0)));

    const Borders& b = xf.borders;
    auto style = [](const BorderLine& l) { return static_cast<std::uint32_t>(l.style) & 0x0F; };
    auto color = [](std::uint8_t c) { return static_cast<std::uint32_t>(c) & 0x7F; };
    out.u32(style(b.left) | (style(b.right) << 4) | (style(b.top) << 8) | (style(b.bottom) << 12) |
            (color(b.left.color) << 16) | (color(b.right.color) << 23) | (b.diagonalDown ? 1u << 30 : 0) |
            (b.diagonalUp ? 1u << 31 : 0));
    out.u32(color(b.top.color) | (color(b.bottom.color) << 7) | (color(b.diagonal.color) << 14) |
            (style(b.diagonal) << 21) | ((static_cast<std::uint32_t>(xf.fill.pattern) & 0x3F) << 26));
    out.u16(static_cast<std::uint16_t>(color(xf.fill.foreground) | (color(xf.fill.background) << 7) |
                                       (xf.pivotButton ? 0x4000 : 0)));
    out.end();
}

Palette readPalette(ByteCursor& in) {
    Palette palette = defaultPalette();
    const std::size_t count = std::min<std::size_t>(in.u16(), palette.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t r = in.u8(), g = in.u8(), b = in.u8();
        in.skip(1);
        palette[i] = (r << 16) | (g << 8) | b;
    }
    return palette;
}

void writePalette(RecordWriter& out, const Palette& palette) {
    out.begin(rec::kPalette);
    out.u16(static_cast<std::uint16_t>(palette.size()));
    for (std::uint32_t rgb : palette) {
        out.u8(static_cast<std::uint8_t>(rgb >> 16));
        out.u8(static_cast<std::uint8_t>(rgb >> 8));
        out.u8(static_cast<std::uint8_t>(rgb));
        out.u8(0);
    }
    out.end();
}

}  // namespace office::biff
