#pragma once
// The text a cell shows: its value under its number format code, as the
// spreadsheet shows it in a cell wide enough (no "###" for narrow columns).
// Sections (positive;negative;zero;text), literals ("text", \x, [$€-410]),
// digit placeholders 0 # ?, grouping and scaling commas, percent,
// scientific notation, dates and times. Colours and conditions in brackets
// are read over; fractions fall back to General; month and day names are
// English, the separators those of the code.
#include <cstdint>
#include <string>

#include "automation/Variant.h"

namespace office {

struct WorkbookModel;
struct Cell;

// The code of format `index`: a workbook's own, or the built-in one.
std::string NumberFormatCode(const WorkbookModel& model, std::uint16_t index);

std::string FormatValue(const automation::Variant& value, const std::string& code, bool dates1904 = false);

// The shown text of a cell of `model`.
std::string ShownText(const WorkbookModel& model, const Cell& cell);

}  // namespace office
