#pragma once
// The in-process office engine's Excel: each call gives a new, hidden instance
// that works on .xls files directly.
#include <chrono>
#include <memory>

#include "automation/Excel.h"
#include "automation/Pictures.h"
#include "office/engine/FileLock.h"

namespace office::engine {

// `pictures` draws chart pictures and object icons for this instance;
// `lockWait` is how long opening a workbook another holder has locked waits
// for its turn before the workbook opens read-only.
std::shared_ptr<automation::excel::Application> createExcelApplication(
    std::shared_ptr<automation::PictureMaker> pictures = nullptr,
    std::chrono::milliseconds lockWait = kInteractiveLockWait);

}  // namespace office::engine
