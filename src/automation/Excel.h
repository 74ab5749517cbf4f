#pragma once
// The Excel object model as the program calls it: an application with its
// workbooks, their worksheets and ranges. Every failed call raises
// AutomationError (number, description). Objects are handed out as shared
// pointers; a range stays usable while its worksheet exists.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/Variant.h"
#include "automation/Vbe.h"

namespace automation::excel {

// Constant values as Excel defines them.
enum class SheetVisibility : int { Visible = -1, Hidden = 0, VeryHidden = 2 };
enum class FileAccess : int { ReadOnly = 3, ReadWrite = 2 };
enum class Direction : int { Down = -4121, Up = -4162, ToLeft = -4159, ToRight = -4161 };
enum class FindLookIn : int { Values = -4163, Formulas = -4123 };
enum class LookAt : int { Whole = 1, Part = 2 };
enum class Underline : int { None = -4142, Single = 2, Double = -4119 };

class Worksheet;

class Font {
public:
    virtual ~Font() = default;
    virtual bool Bold() const = 0;
    virtual void SetBold(bool bold) = 0;
    virtual Underline GetUnderline() const = 0;
    virtual void SetUnderline(Underline underline) = 0;
};

// A rectangular block of cells, whole rows ("Rows(5)", "1:3") or whole columns
// ("A:A", "K:K") included.
class Range {
public:
    virtual ~Range() = default;

    // Top-left cell.
    virtual long Row() const = 0;
    virtual long Column() const = 0;
    // Absolute address as Excel writes it: "$A$5", "$A:$A", "$3:$3", "$A$1:$K$1".
    virtual std::string Address() const = 0;

    // Value of the top-left cell; setting writes every cell of the range.
    virtual Variant Value() const = 0;
    virtual void SetValue(const Variant& value) = 0;

    // Whole-cell or part search over the values, starting after the range's
    // first cell and wrapping round; nullptr when nothing matches. Text is
    // compared without regard to case, numbers by the text they show.
    virtual std::shared_ptr<Range> Find(const Variant& what, FindLookIn lookIn, LookAt lookAt) = 0;
    // The next match after `after` (a cell found before), wrapping round; the
    // caller stops when the address repeats.
    virtual std::shared_ptr<Range> FindNext(const Range& after) = 0;

    // Ctrl+arrow from the top-left cell.
    virtual std::shared_ptr<Range> End(Direction direction) = 0;

    // Removes the range's rows (or columns) and moves the ones below (right) up.
    virtual void Delete() = 0;
    // Copies values and formatting onto the destination's top-left cell.
    virtual void Copy(Range& destination) = 0;

    // Hidden state of the range's whole columns (or rows).
    virtual bool Hidden() const = 0;
    virtual void SetHidden(bool hidden) = 0;

    virtual Font& GetFont() = 0;
    virtual Worksheet& Parent() = 0;
};

class Worksheet {
public:
    virtual ~Worksheet() = default;
    virtual std::string Name() const = 0;
    virtual void SetName(const std::string& name) = 0;
    virtual SheetVisibility Visible() const = 0;
    virtual void SetVisible(SheetVisibility visibility) = 0;

    // 1-based row and column.
    virtual std::shared_ptr<Range> Cells(long row, long column) = 0;
    // "A1", "A1:K1", "A:A", "K:K", "A:Z", "3:3".
    virtual std::shared_ptr<Range> GetRange(const std::string& address) = 0;
    virtual std::shared_ptr<Range> Rows(long row) = 0;
    virtual std::shared_ptr<Range> Columns(const std::string& address) = 0;

    virtual void Delete() = 0;
};

class Workbook {
public:
    virtual ~Workbook() = default;
    virtual std::string Name() const = 0;      // file name without folder
    virtual std::string FullName() const = 0;  // full path ("" before the first save)
    virtual bool ReadOnly() const = 0;

    virtual long WorksheetCount() const = 0;
    // 1-based position among the worksheets.
    virtual std::shared_ptr<Worksheet> WorksheetAt(long index) = 0;
    // By name, ignoring case; AutomationError 9 "Subscript out of range" if missing.
    virtual std::shared_ptr<Worksheet> Worksheets(const std::string& name) = 0;
    // A new empty worksheet placed before the active sheet (Excel's default),
    // which becomes the active sheet.
    virtual std::shared_ptr<Worksheet> AddWorksheet() = 0;
    // Names of all sheets (worksheets and chart sheets) in workbook order.
    virtual std::vector<std::string> SheetNames() const = 0;

    virtual void Save() = 0;
    // Saves under a new name; with a password the file gets that open password.
    virtual void SaveAs(const std::string& path, const std::optional<std::string>& password = {}) = 0;
    virtual void Close(bool saveChanges = false) = 0;
    // Switches between read-only and read/write access. Asking for the access
    // the workbook already has raises an error; see the engine for the details.
    virtual void ChangeFileAccess(FileAccess mode) = 0;

    virtual void Protect(const std::string& password, bool structure = true, bool windows = false) = 0;
    virtual void Unprotect(const std::string& password) = 0;
};

struct OpenOptions {
    std::optional<std::string> password;
    std::optional<int> updateLinks;
    bool readOnly = false;
};

class Workbooks {
public:
    virtual ~Workbooks() = default;
    virtual std::shared_ptr<Workbook> Open(const std::string& path, const OpenOptions& options = {}) = 0;
    virtual std::shared_ptr<Workbook> Add() = 0;
    virtual long Count() const = 0;
};

class Application {
public:
    virtual ~Application() = default;
    virtual Workbooks& GetWorkbooks() = 0;
    // The workbook opened or added last and not closed since; nullptr if none.
    virtual std::shared_ptr<Workbook> ActiveWorkbook() = 0;
    virtual std::shared_ptr<Worksheet> ActiveSheet() = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool DisplayAlerts() const = 0;
    virtual void SetDisplayAlerts(bool display) = 0;
    // The macro editor of this instance.
    virtual vbe::VBE& GetVBE() = 0;
    // Closes every workbook without saving and ends the instance; later calls
    // on it or its objects raise an error.
    virtual void Quit() = 0;
    // Tavolex's own addition: the files this engine keeps beside the
    // workbook `path` (its lock and queue files), which go when the workbook is
    // removed for good. None by default.
    virtual std::vector<std::string> CompanionFiles(const std::string& path) const {
        (void)path;
        return {};
    }
};

}  // namespace automation::excel
