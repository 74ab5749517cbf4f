#include "office/engine/EngineApplication.h"

#include <filesystem>

#include "office/engine/EngineWindow.h"
#include "office/engine/EngineWorkbook.h"
#include "office/engine/EngineWorksheet.h"
#include "office/engine/ExcelEngine.h"

namespace office::engine {

namespace excel = automation::excel;

std::shared_ptr<excel::Application> createExcelApplication(std::shared_ptr<automation::PictureMaker> pictures,
                                                           std::chrono::milliseconds lockWait) {
    auto app = std::make_shared<EngineApplication>();
    app->state()->pictures = std::move(pictures);
    app->state()->lockWait = lockWait;
    return app;
}

EngineApplication::EngineApplication()
    : state_(std::make_shared<ApplicationState>()), workbooks_(state_), vbe_(state_) {}

EngineApplication::~EngineApplication() {
    if (!state_->quit) Quit();
}

excel::Workbooks& EngineApplication::GetWorkbooks() {
    state_->checkRunning();
    return workbooks_;
}

std::shared_ptr<excel::Workbook> EngineApplication::ActiveWorkbook() {
    state_->checkRunning();
    if (state_->openBooks.empty()) return nullptr;
    return std::make_shared<EngineWorkbook>(state_->openBooks.back());
}

std::shared_ptr<excel::Worksheet> EngineApplication::ActiveSheet() {
    state_->checkRunning();
    if (state_->openBooks.empty()) return nullptr;
    const auto& core = state_->openBooks.back();
    const std::size_t active = core->model.activeSheet;
    if (active >= core->model.sheets.size() || core->model.sheets[active].kind != SheetKind::Worksheet) return nullptr;
    return std::make_shared<EngineWorksheet>(core, core->sheetIds[active]);
}

std::shared_ptr<excel::Window> EngineApplication::ActiveWindow() {
    state_->checkRunning();
    if (state_->openBooks.empty()) return nullptr;
    return std::make_shared<EngineWindow>(state_->openBooks.back());
}

double EngineApplication::InchesToPoints(double inches) const {
    state_->checkRunning();
    return inches * 72;
}

bool EngineApplication::Visible() const {
    state_->checkRunning();
    return visible_;
}

void EngineApplication::SetVisible(bool visible) {
    state_->checkRunning();
    visible_ = visible;
}

bool EngineApplication::DisplayAlerts() const {
    state_->checkRunning();
    return displayAlerts_;
}

void EngineApplication::SetDisplayAlerts(bool display) {
    state_->checkRunning();
    displayAlerts_ = display;
}

automation::vbe::VBE& EngineApplication::GetVBE() {
    state_->checkRunning();
    return vbe_;
}

void EngineApplication::Quit() {
    state_->checkRunning();
    auto books = std::move(state_->openBooks);  // close() edits the list
    state_->openBooks.clear();
    for (const auto& book : books) book->close();
    state_->lastFind.reset();
    state_->quit = true;
}

std::vector<std::string> EngineApplication::CompanionFiles(const std::string& path) const {
    const std::string workbook = absolutePath(path);
    return {FileLock::sidecarFor(workbook), FileLock::queueFor(workbook)};
}

std::shared_ptr<excel::Workbook> EngineApplication::EngineWorkbooks::Open(const std::string& path,
                                                                         const excel::OpenOptions& options) {
    state_->checkRunning();
    const std::string fullPath = absolutePath(path);
    for (const auto& book : state_->openBooks)
        if (book->fullPath == fullPath) return std::make_shared<EngineWorkbook>(book);

    auto core = std::make_shared<WorkbookCore>();
    core->app = state_;
    core->fullPath = fullPath;
    core->name = fileNameOf(fullPath);
    core->password = options.password.value_or("");
    // Lock before reading, so that what we read is what nobody else is writing.
    // A file or folder we may not write opens read-only, as in Excel.
    std::error_code ignored;
    if (!options.readOnly && std::filesystem::is_regular_file(fullPath, ignored))
        core->takeWriteAccess(state_->lockWait);
    core->readOnly = !core->lock.held();
    loadWorkbookFile(*core, fullPath, core->password);
    core->assignSheetIds();
    state_->openBooks.push_back(core);
    return std::make_shared<EngineWorkbook>(core);
}

std::shared_ptr<excel::Workbook> EngineApplication::EngineWorkbooks::Add() {
    state_->checkRunning();
    auto core = std::make_shared<WorkbookCore>();
    core->app = state_;
    core->name = "Book" + std::to_string(state_->nextBookNumber++);
    core->model = WorkbookModel::withDefaults();
    SheetModel sheet;
    sheet.name = "Sheet1";
    core->model.sheets.push_back(std::move(sheet));
    core->assignSheetIds();
    state_->openBooks.push_back(core);
    return std::make_shared<EngineWorkbook>(core);
}

long EngineApplication::EngineWorkbooks::Count() const {
    state_->checkRunning();
    return static_cast<long>(state_->openBooks.size());
}

}  // namespace office::engine
