#pragma once
// The file encoding of a sheet's settings: window (WINDOW2, SCL, PANE,
// SELECTION), page setup (print options, header and footer, centring,
// margins, SETUP), protection and merged cells.
#include <cstdint>

#include "office/biff/ByteCursor.h"
#include "office/biff/RecordWriter.h"
#include "office/model/SheetSettings.h"

namespace office::biff {

// Each reader takes the body of its record; true when the record was one of its kind.
bool readWindowRecord(std::uint16_t id, ByteCursor& in, SheetWindow& window);
bool readPageSetupRecord(std::uint16_t id, ByteCursor& in, PageSetup& setup);
bool readProtectionRecord(std::uint16_t id, ByteCursor& in, SheetProtection& protection);
void readMergedCells(ByteCursor& in, std::vector<CellRect>& blocks);

// PRINTHEADERS, PRINTGRIDLINES; the WSBOOL word with the fit-to-page flag.
void writePrintOptions(RecordWriter& out, const PageSetup& setup);
std::uint16_t wsBoolFlags(const PageSetup& setup);
// HEADER, FOOTER, HCENTER, VCENTER, the four margins and SETUP.
void writePageSetup(RecordWriter& out, const PageSetup& setup);
void writeProtection(RecordWriter& out, const SheetProtection& protection);
// WINDOW2 (selected and shown when `active`), SCL, PANE, SELECTION.
void writeWindow(RecordWriter& out, const SheetWindow& window, bool active);
void writeMergedCells(RecordWriter& out, const std::vector<CellRect>& blocks);

// Paper code written when a page setup has printer settings but no paper: A4.
constexpr std::uint16_t kPaperA4 = 9;

}  // namespace office::biff
