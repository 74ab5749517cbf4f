#pragma once
// The cell references of a chart's link formula (the AI record): the 3-D
// references and areas it lists, in order.
#include <cstdint>
#include <span>
#include <vector>

#include "automation/Chart.h"

namespace office::chart {

// Reads the tokens of `rgce`; stops at the first token a chart formula does
// not hold (what came before it is kept).
std::vector<automation::chart::CellRange> readFormulaRanges(std::span<const std::uint8_t> rgce);

}  // namespace office::chart
