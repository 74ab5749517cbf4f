#pragma once
// The Excel object model as the program calls it: an application with its
// workbooks, their worksheets and ranges. Every failed call raises
// AutomationError (number, description). Objects are handed out as shared
// pointers; a range stays usable while its worksheet exists.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/Variant.h"
#include "automation/Vbe.h"
#include "automation/Word.h"

namespace automation::excel {

// Constant values as Excel defines them.
enum class SheetVisibility : int { Visible = -1, Hidden = 0, VeryHidden = 2 };
enum class FileAccess : int { ReadOnly = 3, ReadWrite = 2 };
enum class Direction : int { Down = -4121, Up = -4162, ToLeft = -4159, ToRight = -4161 };
enum class FindLookIn : int { Values = -4163, Formulas = -4123 };
enum class LookAt : int { Whole = 1, Part = 2 };
enum class Underline : int { None = -4142, Single = 2, Double = -4119 };
enum class SheetType : int { Worksheet = -4167, Chart = -4109 };
enum class WindowState : int { Maximized = -4137, Minimized = -4140, Normal = -4143 };
enum class PasteType : int { All = -4104, Formats = -4122, Values = -4163 };
enum class PictureFormat : int { Picture = -4147, Bitmap = 2 };
enum class PictureAppearance : int { Screen = 1, Printer = 2 };
enum class PageOrientation : int { Portrait = 1, Landscape = 2 };
enum class HAlign : int { General = 1, Left = -4131, Center = -4108, Right = -4152 };
enum class VAlign : int { Top = -4160, Center = -4108, Bottom = -4107 };
enum class LineStyle : int { None = -4142, Continuous = 1 };
enum class SelectionMode : int { NoRestrictions = 0, UnlockedCells = 1, NoSelection = -4142 };

class Sheet;
class Worksheet;

// The values of a block of cells, as Excel's Value of a range of several
// cells gives them: an array of rows, each with the block's columns.
struct ValueBlock {
    long rows = 0;
    long columns = 0;
    std::vector<Variant> values;  // row by row
    // 1-based within the block.
    const Variant& at(long row, long column) const {
        return values[static_cast<std::size_t>((row - 1) * columns + (column - 1))];
    }
};

class Font {
public:
    virtual ~Font() = default;
    virtual bool Bold() const = 0;
    virtual void SetBold(bool bold) = 0;
    virtual Underline GetUnderline() const = 0;
    virtual void SetUnderline(Underline underline) = 0;
    // In points.
    virtual double Size() const = 0;
    virtual void SetSize(double points) = 0;
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
    // Value of every cell, read in one call: far cheaper than a call for
    // each cell when many rows are read. The rows stop at the sheet's last
    // row in use (those below hold nothing); whole rows stop at the last
    // column in use. Blocks too large to hold raise 1004.
    virtual ValueBlock Values() const = 0;

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

    // Copies the range to the application's clipboard (Excel's Copy without
    // a destination); PasteSpecial puts it onto this range's top-left cell.
    virtual void Copy() = 0;
    virtual void PasteSpecial(PasteType paste) = 0;
    // Makes the range the sheet's selection (its first cell the active one).
    virtual void Select() = 0;

    // Hidden state of the range's whole columns (or rows).
    virtual bool Hidden() const = 0;
    virtual void SetHidden(bool hidden) = 0;

    // Position and size in points, from the sheet's top-left corner.
    virtual double Left() const = 0;
    virtual double Top() const = 0;
    virtual double Width() const = 0;
    virtual double Height() const = 0;

    virtual Font& GetFont() = 0;
    virtual Worksheet& Parent() = 0;

    // Cell formatting of every cell of the range.
    virtual void SetHorizontalAlignment(HAlign align) = 0;
    virtual void SetVerticalAlignment(VAlign align) = 0;
    virtual void SetWrapText(bool wrap) = 0;
    // Borders.LineStyle: the four edges of every cell.
    virtual void SetBorderLineStyle(LineStyle style) = 0;
    // Of the range's rows, in points; of its columns, in characters of the default font.
    virtual void SetRowHeight(double points) = 0;
    virtual void SetColumnWidth(double characters) = 0;

    // Sorts the range's rows top to bottom, ascending by the column of
    // `key` (a cell): numbers first, then texts ignoring case, empty cells
    // last; equal keys keep their order. With `header` the first row stays.
    // Only the range's columns move.
    virtual void Sort(const Range& key, bool header) = 0;
};

// An embedded chart on a worksheet.
class ChartObject {
public:
    virtual ~ChartObject() = default;
    virtual std::string Name() const = 0;
    // Position and size in points.
    virtual double Left() const = 0;
    virtual double Top() const = 0;
    virtual double Width() const = 0;
    virtual double Height() const = 0;
    // Puts a picture of the chart on the clipboard.
    virtual void CopyPicture(PictureFormat format = PictureFormat::Picture,
                             PictureAppearance appearance = PictureAppearance::Screen) = 0;
    virtual void Delete() = 0;
};

// An object embedded in a worksheet (a copy of a file, never a link), shown
// as the icon of its file kind.
class OLEObject {
public:
    virtual ~OLEObject() = default;
    // "Object 1", "Object 2", ... as Excel names them on their sheet.
    virtual std::string Name() const = 0;
    // The class it is embedded as: "Word.Document.8", "PowerPoint.Show.8" or
    // "Package" (any other file); objects read from a file keep theirs.
    virtual std::string progID() const = 0;
    // Opens the object in its application: an embedded Word document opens,
    // as a copy, in the running Word (one is started when none runs) and
    // becomes its active document. Other kinds raise 1004.
    virtual void Activate() = 0;
    // The document of an activated Word object (activating it first when it
    // is not open); other kinds raise 1004.
    virtual std::shared_ptr<word::Document> Object() = 0;
    // Raises 1004 when the sheet's objects are protected.
    virtual void Delete() = 0;
    // Tavolex's own additions: the embedded file as it was embedded (a
    // package's bytes, or a document rebuilt from its storage), and its name
    // ("" for a document, which keeps none).
    virtual std::vector<std::uint8_t> FileBytes() const = 0;
    virtual std::string FileName() const = 0;
    // Position and size in points.
    virtual double Left() const = 0;
    virtual double Top() const = 0;
    virtual double Width() const = 0;
    virtual double Height() const = 0;
    // Whether the object is drawn; a hidden one stays embedded. Raises 1004
    // when the sheet's objects are protected.
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
};

// A sheet's print settings. Margins in points.
class PageSetup {
public:
    virtual ~PageSetup() = default;
    virtual double LeftMargin() const = 0;
    virtual void SetLeftMargin(double points) = 0;
    virtual double RightMargin() const = 0;
    virtual void SetRightMargin(double points) = 0;
    virtual double TopMargin() const = 0;
    virtual void SetTopMargin(double points) = 0;
    virtual double BottomMargin() const = 0;
    virtual void SetBottomMargin(double points) = 0;
    virtual double HeaderMargin() const = 0;
    virtual void SetHeaderMargin(double points) = 0;
    virtual double FooterMargin() const = 0;
    virtual void SetFooterMargin(double points) = 0;
    // Print zoom in percent (10..400); 0 when the sheet is fitted to pages.
    virtual long Zoom() const = 0;
    virtual void SetZoom(long percent) = 0;
    virtual bool CenterHorizontally() const = 0;
    virtual void SetCenterHorizontally(bool center) = 0;
    virtual bool CenterVertically() const = 0;
    virtual void SetCenterVertically(bool center) = 0;
    virtual PageOrientation Orientation() const = 0;
    virtual void SetOrientation(PageOrientation orientation) = 0;
};

// What worksheets and chart sheets share.
class Sheet {
public:
    virtual ~Sheet() = default;
    virtual SheetType Type() const = 0;
    virtual std::string Name() const = 0;
    virtual void SetName(const std::string& name) = 0;
    virtual SheetVisibility Visible() const = 0;
    virtual void SetVisible(SheetVisibility visibility) = 0;
    // Makes it the active sheet of its workbook, and the workbook the active one.
    virtual void Activate() = 0;
    virtual void Delete() = 0;
};

class Worksheet : public Sheet {
public:
    // 1-based row and column.
    virtual std::shared_ptr<Range> Cells(long row, long column) = 0;
    // "A1", "A1:K1", "A:A", "K:K", "A:Z", "3:3".
    virtual std::shared_ptr<Range> GetRange(const std::string& address) = 0;
    virtual std::shared_ptr<Range> Rows(long row) = 0;
    virtual std::shared_ptr<Range> Columns(const std::string& address) = 0;
    // Every cell of the sheet.
    virtual std::shared_ptr<Range> AllCells() = 0;

    // Copies the sheet, with its cells, formats and drawn objects, after
    // `after`, which may belong to another workbook of the instance. The copy
    // becomes the active sheet and its workbook the active workbook.
    virtual void Copy(Sheet& after) = 0;
    // Puts the clipboard's picture with its top-left corner on `destination`.
    virtual void Paste(Range& destination) = 0;

    // The embedded charts, 1-based, in drawing order.
    virtual long ChartObjectCount() = 0;
    virtual std::shared_ptr<ChartObject> ChartObjects(long index) = 0;

    // OLEObjects.Add: embeds a copy of `fileName` (`link` true is refused:
    // Tavolex embeds copies only) at the sheet's active cell, shown as the
    // icon of its kind with `iconLabel` under it (the file's name when
    // empty); `iconIndex` picks nothing, the desktop's icon stands for the
    // kind. A missing, unreadable or too large file, or a sheet whose
    // objects are protected, raises 1004 with the reason.
    virtual std::shared_ptr<OLEObject> AddOLEObject(const std::string& fileName, bool link, bool displayAsIcon,
                                                    long iconIndex, const std::string& iconLabel) = 0;
    // The embedded objects, 1-based, in drawing order; by name ignoring case.
    // 9 "Subscript out of range" when there is none.
    virtual long OLEObjectCount() = 0;
    virtual std::shared_ptr<OLEObject> OLEObjects(long index) = 0;
    virtual std::shared_ptr<OLEObject> OLEObjects(const std::string& name) = 0;

    virtual PageSetup& GetPageSetup() = 0;

    // Sheet protection; the password is kept as its 16-bit hash, as Excel does.
    virtual void Protect(const std::string& password, bool drawingObjects = true, bool contents = true,
                         bool scenarios = true) = 0;
    virtual void Unprotect(const std::string& password) = 0;
    virtual bool ProtectContents() const = 0;

    // What the user may select while the sheet is protected. As in Excel,
    // the setting lives with the open workbook and is not saved in the file.
    virtual SelectionMode EnableSelection() const = 0;
    virtual void SetEnableSelection(SelectionMode mode) = 0;
};

// A chart sheet.
class Chart : public Sheet {
public:
    // Puts a picture of the chart on the clipboard.
    virtual void CopyPicture(PictureFormat format = PictureFormat::Picture,
                             PictureAppearance appearance = PictureAppearance::Screen) = 0;
};

// The window of the active workbook.
class Window {
public:
    virtual ~Window() = default;
    virtual WindowState GetWindowState() const = 0;
    virtual void SetWindowState(WindowState state) = 0;
    // These act on the window's active sheet.
    virtual double Zoom() const = 0;
    virtual void SetZoom(double percent) = 0;
    virtual bool DisplayGridlines() const = 0;
    virtual void SetDisplayGridlines(bool display) = 0;
    virtual bool DisplayHeadings() const = 0;
    virtual void SetDisplayHeadings(bool display) = 0;
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
    // or after `after`; it becomes the active sheet.
    virtual std::shared_ptr<Worksheet> AddWorksheet() = 0;
    virtual std::shared_ptr<Worksheet> AddWorksheetAfter(Sheet& after) = 0;
    // Names of all sheets (worksheets and chart sheets) in workbook order.
    virtual std::vector<std::string> SheetNames() const = 0;
    // All sheets, worksheets and chart sheets, 1-based in workbook order; by
    // name ignoring case, AutomationError 9 "Subscript out of range" if missing.
    virtual long SheetCount() const = 0;
    virtual std::shared_ptr<Sheet> SheetAt(long index) = 0;
    virtual std::shared_ptr<Sheet> Sheets(const std::string& name) = 0;
    // The sheet the workbook's window shows.
    virtual std::shared_ptr<Sheet> ActiveSheet() = 0;

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
    // The active workbook's window; nullptr when no workbook is open.
    virtual std::shared_ptr<Window> ActiveWindow() = 0;
    virtual double InchesToPoints(double inches) const = 0;
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
