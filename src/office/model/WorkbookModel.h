#pragma once
// The in-memory workbook the engine works on and the BIFF8 reader and writer
// translate to and from: sheets in order with their visibility, cells with
// values, formulas and a cell format, row and column settings, merged blocks,
// the window, page setup and protection of each sheet, its drawn objects, and
// the workbook's fonts, formats, palette, pictures and other streams.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "office/cfb/CompoundFile.h"
#include "office/model/CellFormat.h"
#include "office/model/CellValue.h"
#include "office/model/Drawing.h"
#include "office/model/FormulaRef.h"
#include "office/model/KeptRecords.h"
#include "office/model/SheetRows.h"
#include "office/model/SheetSettings.h"

namespace office {

enum class SheetVisibility : std::uint8_t { Visible = 0, Hidden = 1, VeryHidden = 2 };
enum class SheetKind : std::uint8_t { Worksheet = 0, MacroSheet = 1, Chart = 2, VbModule = 6 };

struct ColumnDef {
    std::uint16_t width = 0;             // 1/256 of a character; 0 = the sheet default
    bool hidden = false;
    std::optional<std::uint16_t> xf;
    bool operator==(const ColumnDef&) const = default;
};

struct SheetModel {
    std::string name;
    SheetKind kind = SheetKind::Worksheet;
    SheetVisibility visibility = SheetVisibility::Visible;
    // The name the sheet's macro module has in the VBA project (CODENAME); empty without one.
    std::string codeName;
    SheetRows rows;                              // row - 1; cells decoded as asked for
    std::map<std::uint16_t, ColumnDef> columns;  // key = column - 1
    std::uint16_t defaultColumnWidth = 8;        // characters, for columns without a width
    std::uint16_t defaultRowHeightTwips = 255;   // rows without a height of their own
    std::vector<CellRect> mergedCells;
    SheetWindow window;
    PageSetup pageSetup;
    SheetProtection protection;
    std::vector<DrawingObject> drawings;         // in drawing order (last on top)
    // Kept as read: comments (NOTE, which name the objects of their text boxes),
    // and conditional formats, hyperlinks and data validation.
    std::vector<RawRecord> notes;
    std::vector<RawRecord> keptRecords;
    // A chart sheet: its whole substream, BOF to EOF, as the file held it.
    std::vector<std::uint8_t> chartStream;

    // 1-based row and column; nullptr when the cell has never been written.
    // Decodes the cell's row and keeps it: to look at many rows, peek.
    const Cell* cell(std::uint32_t row, std::uint32_t column) const;
    std::optional<Cell> peek(std::uint32_t row, std::uint32_t column) const { return rows.peek(row, column); }
    // Grows the row table as needed.
    Cell& cellAt(std::uint32_t row, std::uint32_t column);
    RowDef& rowAt(std::uint32_t row);
    // Last row holding a non-empty cell or a row setting (0 for an empty sheet).
    std::uint32_t lastUsedRow() const;
    std::uint32_t lastUsedColumn() const;
    // The merged block holding the cell, if any.
    const CellRect* mergedBlockAt(std::uint32_t row, std::uint32_t column) const;
    bool operator==(const SheetModel&) const = default;
};

// Limits of the BIFF8 grid.
constexpr std::uint32_t kMaxRows = 65536;
constexpr std::uint32_t kMaxColumns = 256;
constexpr std::size_t kMaxSheetNameLength = 31;

// Workbook protection as Workbook.Protect sets it; the hash is the PASSWORD
// record's value (0 = no password).
struct WorkbookProtection {
    bool structure = false;
    bool windows = false;
    std::uint16_t passwordHash = 0;
    bool operator==(const WorkbookProtection&) const = default;
};

struct WorkbookModel {
    std::vector<SheetModel> sheets;
    std::vector<FontDef> fonts;                       // at least 4
    std::vector<XfDef> xfs;                           // at least 16: 0..14 styles, 15 the default cell format
    std::map<std::uint16_t, std::string> numberFormats;  // user formats (index >= 164)
    Palette palette = defaultPalette();
    std::uint16_t activeSheet = 0;                    // index into sheets
    std::uint16_t firstVisibleTab = 0;
    WorkbookProtection protection;
    bool dates1904 = false;                           // dates count from 1904 (Macintosh) instead of 1900
    std::vector<StoredPicture> pictures;              // the picture store; objects name entries 1-based
    // Kept as read: the STYLE records (named styles; written as one Normal
    // style when empty), and the external references and defined names
    // (SUPBOOK, EXTERNNAME, XCT, CRN, EXTERNSHEET, NAME with their CONTINUE
    // records), which formulas, names and charts point into by position.
    std::vector<RawRecord> styles;
    std::vector<RawRecord> links;

    // The compound file's root storage without the Workbook stream: every other
    // stream and storage of the file (summary information, the VBA project
    // "_VBA_PROJECT_CUR", embedded objects "MBD...", "Ctls", ...) as read, and
    // written back unchanged beside the Workbook stream the writer makes. The
    // engine's own writers put the storages they own here. Its CLSID is the
    // file's root CLSID.
    cfb::Node rootStorage = newRootStorage();
    // The workbook has a VBA project (OBPROJ): Excel loads "_VBA_PROJECT_CUR"
    // only then.
    bool hasVbaProject = false;
    // The name of the workbook's macro module (CODENAME), "ThisWorkbook" in
    // Excel's files; empty without one.
    std::string codeName;

    // A fresh workbook with the default font, formats and no sheets.
    static WorkbookModel withDefaults();
    // An empty root storage with Excel's workbook CLSID.
    static cfb::Node newRootStorage();

    // The index of a cell format equal to `base` but with `font`, added when
    // none exists yet; likewise for fonts and whole cell formats.
    std::uint16_t xfWithFont(std::uint16_t baseXf, const FontDef& font);
    std::uint16_t findOrAddFont(const FontDef& font);
    std::uint16_t findOrAddXf(const XfDef& xf);
    const FontDef& fontOfXf(std::uint16_t xf) const;
    const XfDef& xfAt(std::uint16_t xf) const;  // the default cell format for a bad index

    bool operator==(const WorkbookModel&) const = default;
};

}  // namespace office
