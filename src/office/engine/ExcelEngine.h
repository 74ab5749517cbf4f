#pragma once
// The in-process office engine's Excel: each call gives a new, hidden instance
// that works on .xls files directly.
#include <memory>

#include "automation/Excel.h"
#include "automation/Pictures.h"

namespace office::engine {

// `pictures` draws chart pictures and object icons for this instance.
std::shared_ptr<automation::excel::Application> createExcelApplication(
    std::shared_ptr<automation::PictureMaker> pictures = nullptr);

}  // namespace office::engine
