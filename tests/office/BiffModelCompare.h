#pragma once
// Test helpers: the parts of a workbook model a .xls round trip keeps, in a
// canonical form, and a readable first difference between two models.
#include <string>

#include "office/model/WorkbookModel.h"

namespace bifftest {

// Trailing cells an absent record would give back, trailing default rows and
// columns without settings dropped; what the writer substitutes applied.
office::WorkbookModel canonical(const office::WorkbookModel& model);

// "" when equal, else where the first difference is.
std::string firstDifference(const office::WorkbookModel& a, const office::WorkbookModel& b);

}  // namespace bifftest
