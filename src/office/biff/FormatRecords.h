#pragma once
// The file encoding of cell formats, in one place: FONT, XF and PALETTE
// records to and from the model's typed fonts, cell formats and palette.
#include <cstddef>
#include <cstdint>

#include "office/biff/ByteCursor.h"
#include "office/biff/RecordWriter.h"
#include "office/model/CellFormat.h"

namespace office::biff {

FontDef readFont(ByteCursor& in);
void writeFont(RecordWriter& out, const FontDef& font);

// The file's font index 4 does not exist: the fifth FONT record is index 5.
std::uint16_t modelFontIndex(std::uint16_t fileIndex);
std::uint16_t fileFontIndex(std::uint16_t modelIndex, std::size_t fontCount);

// XF body (20 bytes). `fontCount` and `xfCount` bound the indexes written.
XfDef readXf(ByteCursor& in);
void writeXf(RecordWriter& out, const XfDef& xf, std::size_t fontCount, std::size_t xfCount);

Palette readPalette(ByteCursor& in);
void writePalette(RecordWriter& out, const Palette& palette);

}  // namespace office::biff
