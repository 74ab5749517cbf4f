#pragma once
// A workbook handle over a WorkbookCore: sheets, saving, closing, switching
// between read-only and read/write access, protection.
#include <memory>

#include "automation/Excel.h"
#include "office/engine/WorkbookCore.h"

namespace office::engine {

class EngineWorkbook final : public automation::excel::Workbook {
public:
    explicit EngineWorkbook(std::shared_ptr<WorkbookCore> core) : core_(std::move(core)) {}

    std::string Name() const override;
    std::string FullName() const override;
    bool ReadOnly() const override;
    long WorksheetCount() const override;
    std::shared_ptr<automation::excel::Worksheet> WorksheetAt(long index) override;
    std::shared_ptr<automation::excel::Worksheet> Worksheets(const std::string& name) override;
    std::shared_ptr<automation::excel::Worksheet> AddWorksheet() override;
    std::vector<std::string> SheetNames() const override;
    long SheetCount() const override;
    std::shared_ptr<automation::excel::Sheet> SheetAt(long index) override;
    std::shared_ptr<automation::excel::Sheet> Sheets(const std::string& name) override;
    std::shared_ptr<automation::excel::Sheet> ActiveSheet() override;
    // Raises 1004 when `after` is no sheet of this workbook.
    std::shared_ptr<automation::excel::Worksheet> AddWorksheetAfter(automation::excel::Sheet& after) override;

    // Raises 1004 when the workbook was never saved (use SaveAs) or is
    // read-only; for a file or folder that may not be written, with the reason.
    void Save() override;
    // Without a password the workbook keeps the one it has; "" removes it.
    void SaveAs(const std::string& path, const std::optional<std::string>& password = {}) override;
    void Close(bool saveChanges = false) override;
    // ReadWrite on a workbook held for writing raises 1004 "The workbook is
    // already open for read/write access." and changes nothing; so does it
    // on a workbook whose file or folder may not be written, naming why. On a
    // read-only workbook it completes without error: when the lock is free now
    // the workbook becomes writable (re-read first if the file changed on
    // disk), otherwise it stays read-only. ReadOnly releases the lock; on a
    // workbook that is read-only already it raises 1004.
    void ChangeFileAccess(automation::excel::FileAccess mode) override;

    // Stores the flags and the password's hash in the model. A wrong password
    // on Unprotect raises 1004.
    void Protect(const std::string& password, bool structure = true, bool windows = false) override;
    void Unprotect(const std::string& password) override;

    const std::shared_ptr<WorkbookCore>& core() const { return core_; }

private:
    // Indexes into model.sheets of the worksheets (chart sheets left out), or
    // of every sheet the surface shows (worksheets and chart sheets).
    std::vector<std::size_t> worksheetIndexes() const;
    std::vector<std::size_t> sheetIndexes() const;
    std::shared_ptr<automation::excel::Worksheet> handleFor(std::size_t index);
    std::shared_ptr<automation::excel::Worksheet> addWorksheetAt(std::size_t at);
    void reloadIfChanged();

    std::shared_ptr<WorkbookCore> core_;
};

// The file name part of a path.
std::string fileNameOf(const std::string& path);
// An absolute, normalised path without following links.
std::string absolutePath(const std::string& path);

// Reads the workbook at `path` into `core` (model, sheet ids, stamp). Errors of
// the reader keep their text and gain the file path.
void loadWorkbookFile(WorkbookCore& core, const std::string& path, const std::string& password);

}  // namespace office::engine
