#include "office/engine/WorkbookCore.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "automation/AutomationError.h"
#include "office/engine/EngineOleObject.h"
#include "office/engine/MacroProject.h"
#include "text/CaseFold.h"
#include "office/engine/RecentRead.h"
#include "office/engine/WorkbookCodec.h"

namespace office::engine {

void raise(const std::string& description) {
    throw automation::AutomationError(automation::errnum::kApplicationDefined, description);
}

void ApplicationState::checkRunning() const {
    if (quit) raise("The Excel application has been closed; its objects can no longer be used.");
}

void WorkbookCore::checkUsable() const {
    app->checkRunning();
    if (closed) raise("The workbook '" + name + "' has been closed; its objects can no longer be used.");
}

std::optional<std::size_t> WorkbookCore::indexOf(std::uint64_t id) const {
    auto it = std::find(sheetIds.begin(), sheetIds.end(), id);
    if (it == sheetIds.end()) return std::nullopt;
    return static_cast<std::size_t>(it - sheetIds.begin());
}

void WorkbookCore::assignSheetIds(const std::vector<std::pair<std::string, std::uint64_t>>& previous) {
    sheetIds.clear();
    for (const SheetModel& sheet : model.sheets) {
        auto kept = std::find_if(previous.begin(), previous.end(),
                                 [&](const auto& p) { return text::equalsIgnoringCase(p.first, sheet.name); });
        bool taken = kept != previous.end() &&
                     std::find(sheetIds.begin(), sheetIds.end(), kept->second) != sheetIds.end();
        sheetIds.push_back(kept != previous.end() && !taken ? kept->second : nextSheetId++);
    }
}

std::uint64_t WorkbookCore::insertSheet(std::size_t index, SheetModel sheet) {
    model.sheets.insert(model.sheets.begin() + static_cast<std::ptrdiff_t>(index), std::move(sheet));
    std::uint64_t id = nextSheetId++;
    sheetIds.insert(sheetIds.begin() + static_cast<std::ptrdiff_t>(index), id);
    return id;
}

void WorkbookCore::eraseSheet(std::size_t index) {
    std::vector<std::uint32_t> storages;  // of the sheet's embedded objects, which go with it
    for (const DrawingObject& object : model.sheets.at(index).drawings)
        if (object.kind == DrawingKind::OleObject) storages.push_back(object.oleStorage);
    model.sheets.erase(model.sheets.begin() + static_cast<std::ptrdiff_t>(index));
    sheetIds.erase(sheetIds.begin() + static_cast<std::ptrdiff_t>(index));
    dropUnusedStorages(model, storages);
}

void WorkbookCore::takeWriteAccess(std::chrono::milliseconds wait) {
    unwritableError = 0;
    const std::filesystem::path folder = std::filesystem::path(fullPath).parent_path();
    LockRefusal refusal;
    if (::access(fullPath.c_str(), W_OK) != 0) {
        unwritableError = errno;
    } else if (::access(folder.empty() ? "." : folder.c_str(), W_OK) != 0) {
        unwritableError = errno;  // a save renames a new file into the folder
    } else if (auto taken = FileLock::acquire(fullPath, wait, &refusal)) {
        lock = std::move(*taken);
    } else if (!refusal.busy) {
        unwritableError = refusal.error;
    }
    readOnly = !lock.held();
}

void WorkbookCore::writeTo(const std::string& path, const std::string& withPassword) {
    storeMacroProject(*this);
    // The file is about to change: the workbook kept from the last read goes
    // first, and its rows decoded for nothing but it with it.
    RecentRead& recent = recentRead();
    recent.forget();
    std::vector<std::uint8_t> clear;
    ContentPrinter printer;
    writeFileAtomically(path, [&](const BytesPut& put) {
        encodeWorkbook(model, withPassword, [&](std::span<const std::uint8_t> piece) {
            printer.add(piece);
            put(piece);
        }, &clear);
    });
    stamp = stampOf(path);
    // The stream written is kept in clear: the next open of the same bytes
    // (the store's list after a save) reads it without reading the file or
    // decrypting.
    if (!clear.empty()) recent.keepWritten(printer.print(), withPassword, std::move(clear), model.rootStorage);
}

void WorkbookCore::close() {
    if (closed) return;
    closed = true;
    lock.release();
    model = WorkbookModel{};
    macroProject.reset();
    auto& books = app->openBooks;
    books.erase(std::remove_if(books.begin(), books.end(), [this](const auto& b) { return b.get() == this; }),
                books.end());
}

void WorkbookCore::activate() {
    auto& books = app->openBooks;
    auto it = std::find_if(books.begin(), books.end(), [this](const auto& b) { return b.get() == this; });
    if (it != books.end()) std::rotate(it, it + 1, books.end());
}

}  // namespace office::engine
