#pragma once
// The workbook globals substream: fonts, formats, XFs, the sheet list with the
// offsets of their substreams, the shared string table and the window settings.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "office/biff/SharedStrings.h"
#include "office/model/WorkbookModel.h"

namespace office::biff {

struct Globals {
    WorkbookModel model;                 // sheets hold name, kind, visibility only
    std::vector<std::uint32_t> sheetOffsets;  // lbPlyPos per sheet
    SharedStrings sharedStrings;
};

// `stream` is the clear (decrypted) Workbook stream; reading starts after the
// globals BOF at `start` and stops at its EOF. With `streamKept` the shared
// strings are checked now and made when first asked for, from `stream`.
Globals readGlobals(std::span<const std::uint8_t> stream, std::size_t start, bool streamKept = false);

}  // namespace office::biff
