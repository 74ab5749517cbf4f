#pragma once
// Helpers for the engine tests: an application with a shorter lock wait, and
// workbooks made from a model built in the test.
#include <memory>

#include "automation/Excel.h"
#include "office/engine/EngineApplication.h"
#include "office/engine/EngineWorkbook.h"
#include "office/engine/ExcelEngine.h"

namespace enginetest {

inline std::shared_ptr<automation::excel::Application> newApplication(
    std::chrono::milliseconds lockWait = office::engine::kInteractiveLockWait) {
    auto app = office::engine::createExcelApplication();
    dynamic_cast<office::engine::EngineApplication&>(*app).state()->lockWait = lockWait;
    return app;
}

// A never-saved workbook holding `model` as it is (chart sheets, fonts...).
inline std::shared_ptr<automation::excel::Workbook> adoptModel(automation::excel::Application& app,
                                                              office::WorkbookModel model) {
    auto core = std::make_shared<office::engine::WorkbookCore>();
    core->app = dynamic_cast<office::engine::EngineApplication&>(app).state();
    core->name = "Model";
    core->model = std::move(model);
    core->assignSheetIds();
    core->app->openBooks.push_back(core);
    return std::make_shared<office::engine::EngineWorkbook>(core);
}

inline office::SheetModel sheetNamed(const std::string& name,
                                     office::SheetKind kind = office::SheetKind::Worksheet,
                                     office::SheetVisibility visibility = office::SheetVisibility::Visible) {
    office::SheetModel sheet;
    sheet.name = name;
    sheet.kind = kind;
    sheet.visibility = visibility;
    return sheet;
}

}  // namespace enginetest
