#include "office/engine/EngineWorkbook.h"

#include <cstring>
#include <filesystem>

#include "automation/AutomationError.h"
#include "office/engine/EngineSheets.h"
#include "office/engine/EngineWorksheet.h"
#include "office/engine/PasswordHash.h"
#include "office/engine/RecentRead.h"
#include "office/engine/SheetRules.h"
#include "text/CaseFold.h"
#include "office/engine/WorkbookCodec.h"

namespace office::engine {

using automation::AutomationError;
namespace errnum = automation::errnum;
namespace excel = automation::excel;

std::string fileNameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string absolutePath(const std::string& path) {
    std::error_code error;
    auto absolute = std::filesystem::absolute(path, error);
    return (error ? std::filesystem::path(path) : absolute).lexically_normal().string();
}

void loadWorkbookFile(WorkbookCore& core, const std::string& path, const std::string& password) {
    RecentRead& recent = recentRead();
    if (auto model = recent.reuse(path, password, core.stamp)) {
        core.model = std::move(*model);
        core.macroProject.reset();
        return;
    }
    FileContents contents = readWholeFile(path);
    try {
        const ContentPrint print = contents.bytes.size() <= RecentRead::kLargestFile
                                       ? ContentPrint::of(contents.bytes)
                                       : ContentPrint{};
        core.model = decodeWorkbook(std::move(contents.bytes), password);
        core.macroProject.reset();  // read again from the new model when asked
        if (print.size > 0) recent.keep(print, password, core.model);
    } catch (const AutomationError& error) {
        throw AutomationError(error.number(), error.description(), path, error.offset());
    } catch (const std::exception& error) {
        throw AutomationError(errnum::kApplicationDefined,
                              "'" + fileNameOf(path) + "' cannot be read: " + error.what(), path);
    }
    core.stamp = contents.stamp;
}

std::string EngineWorkbook::Name() const {
    core_->checkUsable();
    return core_->name;
}

std::string EngineWorkbook::FullName() const {
    core_->checkUsable();
    return core_->fullPath;
}

bool EngineWorkbook::ReadOnly() const {
    core_->checkUsable();
    return core_->readOnly;
}

std::vector<std::size_t> EngineWorkbook::worksheetIndexes() const {
    core_->checkUsable();
    std::vector<std::size_t> indexes;
    for (std::size_t i = 0; i < core_->model.sheets.size(); ++i)
        if (core_->model.sheets[i].kind == SheetKind::Worksheet) indexes.push_back(i);
    return indexes;
}

std::shared_ptr<excel::Worksheet> EngineWorkbook::handleFor(std::size_t index) {
    return std::make_shared<EngineWorksheet>(core_, core_->sheetIds[index]);
}

long EngineWorkbook::WorksheetCount() const { return static_cast<long>(worksheetIndexes().size()); }

std::shared_ptr<excel::Worksheet> EngineWorkbook::WorksheetAt(long index) {
    auto indexes = worksheetIndexes();
    if (index < 1 || index > static_cast<long>(indexes.size()))
        throw AutomationError(errnum::kSubscriptOutOfRange, "Subscript out of range");
    return handleFor(indexes[static_cast<std::size_t>(index - 1)]);
}

std::shared_ptr<excel::Worksheet> EngineWorkbook::Worksheets(const std::string& name) {
    for (std::size_t i : worksheetIndexes())
        if (text::equalsIgnoringCase(core_->model.sheets[i].name, name)) return handleFor(i);
    throw AutomationError(errnum::kSubscriptOutOfRange, "Subscript out of range");
}

std::shared_ptr<excel::Worksheet> EngineWorkbook::AddWorksheet() {
    core_->checkUsable();
    return addWorksheetAt(std::min<std::size_t>(core_->model.activeSheet, core_->model.sheets.size()));
}

std::shared_ptr<excel::Worksheet> EngineWorkbook::AddWorksheetAfter(excel::Sheet& after) {
    const SheetHandle* handle = handleOf(after);
    if (!handle || handle->sharedCore() != core_)
        raise("Add method of Sheets class failed: the sheet to add after is not in this workbook.");
    return addWorksheetAt(handle->index() + 1);
}

std::shared_ptr<excel::Worksheet> EngineWorkbook::addWorksheetAt(std::size_t at) {
    WorkbookModel& model = core_->model;
    checkStructureUnprotected(model);
    SheetModel sheet;
    sheet.name = defaultSheetName(model);
    core_->insertSheet(at, std::move(sheet));
    if (model.firstVisibleTab > at) model.firstVisibleTab = static_cast<std::uint16_t>(at);
    model.activeSheet = static_cast<std::uint16_t>(at);
    return handleFor(at);
}

std::shared_ptr<excel::Sheet> EngineWorkbook::ActiveSheet() {
    core_->checkUsable();
    const std::size_t active = core_->model.activeSheet;
    if (active >= core_->model.sheets.size()) return nullptr;
    return sheetAt(core_, active);
}

std::vector<std::size_t> EngineWorkbook::sheetIndexes() const {
    core_->checkUsable();
    std::vector<std::size_t> indexes;
    for (std::size_t i = 0; i < core_->model.sheets.size(); ++i)
        if (core_->model.sheets[i].kind != SheetKind::VbModule) indexes.push_back(i);
    return indexes;
}

long EngineWorkbook::SheetCount() const { return static_cast<long>(sheetIndexes().size()); }

std::shared_ptr<excel::Sheet> EngineWorkbook::SheetAt(long index) {
    auto indexes = sheetIndexes();
    if (index < 1 || index > static_cast<long>(indexes.size()))
        throw AutomationError(errnum::kSubscriptOutOfRange, "Subscript out of range");
    return sheetAt(core_, indexes[static_cast<std::size_t>(index - 1)]);
}

std::shared_ptr<excel::Sheet> EngineWorkbook::Sheets(const std::string& name) {
    for (std::size_t i : sheetIndexes())
        if (text::equalsIgnoringCase(core_->model.sheets[i].name, name)) return sheetAt(core_, i);
    throw AutomationError(errnum::kSubscriptOutOfRange, "Subscript out of range");
}

std::vector<std::string> EngineWorkbook::SheetNames() const {
    core_->checkUsable();
    std::vector<std::string> names;
    for (const SheetModel& sheet : core_->model.sheets)
        if (sheet.kind != SheetKind::VbModule) names.push_back(sheet.name);
    return names;
}

void EngineWorkbook::Save() {
    core_->checkUsable();
    if (core_->fullPath.empty())
        raise("'" + core_->name + "' has never been saved; save it under a name with SaveAs first.");
    if (core_->readOnly && core_->unwritableError != 0)
        raise("Cannot save '" + core_->fullPath + "': you may not write this file or its folder (" +
              std::strerror(core_->unwritableError) + ").");
    if (core_->readOnly)
        raise("'" + core_->name + "' is read-only. To save a copy, click OK, then give the workbook a new name in "
              "the Save As dialog box.");
    core_->writeTo(core_->fullPath, core_->password);
}

void EngineWorkbook::SaveAs(const std::string& path, const std::optional<std::string>& password) {
    core_->checkUsable();
    const std::string target = absolutePath(path);
    if (target == core_->fullPath) {
        if (password) core_->password = *password;
        Save();
        return;
    }
    for (const auto& other : core_->app->openBooks)
        if (other != core_ && other->fullPath == target)
            raise("A workbook named '" + fileNameOf(target) + "' is open already; close it before saving over it.");
    auto lock = FileLock::acquire(target, core_->app->lockWait);
    if (!lock) raise("Cannot save '" + target + "': another program has it open.");
    core_->writeTo(target, password.value_or(core_->password));
    if (password) core_->password = *password;
    core_->lock = std::move(*lock);
    core_->fullPath = target;
    core_->name = fileNameOf(target);
    core_->readOnly = false;
}

void EngineWorkbook::Close(bool saveChanges) {
    core_->checkUsable();
    if (saveChanges) Save();
    core_->close();
}

void EngineWorkbook::ChangeFileAccess(excel::FileAccess mode) {
    core_->checkUsable();
    if (mode == excel::FileAccess::ReadWrite) {
        if (!core_->readOnly) raise("The workbook is already open for read/write access.");
        core_->takeWriteAccess(std::chrono::milliseconds(0));
        if (core_->unwritableError != 0)
            raise("'" + core_->fullPath + "' cannot be opened for writing: " + std::strerror(core_->unwritableError) +
                  ".");
        if (core_->readOnly) return;  // still held elsewhere: stays read-only
        try {
            reloadIfChanged();
        } catch (...) {  // the file became unreadable: give the lock back
            core_->lock.release();
            core_->readOnly = true;
            throw;
        }
    } else if (mode == excel::FileAccess::ReadOnly) {
        if (core_->readOnly) raise("The workbook is already open for read-only access.");
        if (core_->fullPath.empty()) raise("'" + core_->name + "' has never been saved and has no file to share.");
        core_->lock.release();
        core_->readOnly = true;
    } else {
        raise("Unable to set the file access: " + std::to_string(static_cast<int>(mode)) + " is no access mode.");
    }
}

// Sheets keep their handles across the re-read when their names still exist.
void EngineWorkbook::reloadIfChanged() {
    if (stampOf(core_->fullPath) == core_->stamp) return;
    std::vector<std::pair<std::string, std::uint64_t>> previous;
    for (std::size_t i = 0; i < core_->model.sheets.size(); ++i)
        previous.emplace_back(core_->model.sheets[i].name, core_->sheetIds[i]);
    loadWorkbookFile(*core_, core_->fullPath, core_->password);
    core_->assignSheetIds(previous);
}

void EngineWorkbook::Protect(const std::string& password, bool structure, bool windows) {
    core_->checkUsable();
    WorkbookProtection& protection = core_->model.protection;
    if ((protection.structure || protection.windows) && protection.passwordHash != 0 &&
        protectionPasswordHash(password) != protection.passwordHash)
        raise("The workbook is protected with another password already.");
    protection = {structure, windows, protectionPasswordHash(password)};
}

void EngineWorkbook::Unprotect(const std::string& password) {
    core_->checkUsable();
    WorkbookProtection& protection = core_->model.protection;
    if (!protection.structure && !protection.windows) return;
    if (protection.passwordHash != 0 && protectionPasswordHash(password) != protection.passwordHash)
        raise("The password you supplied is not correct. Verify that the CAPS LOCK key is off and be sure to use "
              "the correct capitalization.");
    protection = {};
}

}  // namespace office::engine
