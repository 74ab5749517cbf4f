#pragma once
// The in-process office engine's Excel: each call gives a new, hidden instance
// that works on .xls files directly.
#include <memory>

#include "automation/Excel.h"

namespace office::engine {

std::shared_ptr<automation::excel::Application> createExcelApplication();

}  // namespace office::engine
