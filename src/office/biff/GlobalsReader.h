#pragma once
// The workbook globals substream: fonts, formats, XFs, the sheet list with the
// offsets of their substreams, the shared string table and the window settings.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "office/model/WorkbookModel.h"

namespace office::biff {

struct Globals {
    WorkbookModel model;                 // sheets hold name, kind, visibility only
    std::vector<std::uint32_t> sheetOffsets;  // lbPlyPos per sheet
    std::vector<CellText> sharedStrings;
};

// `stream` is the clear (decrypted) Workbook stream; reading starts after the
// globals BOF at `start` and stops at its EOF.
Globals readGlobals(std::span<const std::uint8_t> stream, std::size_t start);

}  // namespace office::biff
