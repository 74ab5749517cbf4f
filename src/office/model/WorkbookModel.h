#pragma once
// The in-memory workbook the engine works on and the BIFF8 reader and writer
// translate to and from: sheets in order with their visibility, cells with
// values and a cell format, row and column settings, and the font and format
// tables the cell formats point into.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "automation/Variant.h"
#include "office/cfb/CompoundFile.h"

namespace office {

enum class SheetVisibility : std::uint8_t { Visible = 0, Hidden = 1, VeryHidden = 2 };
enum class SheetKind : std::uint8_t { Worksheet = 0, MacroSheet = 1, Chart = 2, VbModule = 6 };

struct FontDef {
    std::string name = "Arial";
    std::uint16_t heightTwips = 200;  // 10 points
    std::uint16_t weight = 400;       // 700 = bold
    bool italic = false;
    bool strikeout = false;
    std::uint8_t underline = 0;       // 0 none, 1 single, 2 double, 0x21 single accounting, 0x22 double accounting
    std::uint16_t colorIndex = 0x7FFF;
    std::uint8_t family = 0;
    std::uint8_t charset = 0;
    bool bold() const { return weight >= 700; }
    bool operator==(const FontDef&) const = default;
};

// One cell format (XF). `font` is an index into WorkbookModel::fonts (the
// writer maps it to the file's font index, which skips 4). The remaining XF
// bytes (alignment, borders, fill, protection) are kept as read so that a
// read-modify-write keeps the look of other programs' files.
struct XfDef {
    std::uint16_t font = 0;
    std::uint16_t format = 0;  // number format index (0 = General)
    bool isStyle = false;
    std::uint16_t parentStyle = 0;  // for cell XFs: the style XF they derive from
    std::uint8_t protection = 0x01;  // XF bits: 0x01 locked, 0x02 formula hidden, 0x08 quote prefix
    std::array<std::uint8_t, 14> rest{};  // XF bytes 6..19 as in the file (alignment .. fill)
    bool operator==(const XfDef&) const = default;
};

struct Cell {
    automation::Variant value;
    std::uint16_t xf = 15;  // the default cell format
    bool operator==(const Cell&) const = default;
};

struct RowDef {
    std::vector<Cell> cells;             // index = column - 1; trailing empties allowed
    std::optional<std::uint16_t> xf;     // row-wide format (set on a whole row)
    std::uint16_t heightTwips = 255;
    bool customHeight = false;
    bool hidden = false;
    bool operator==(const RowDef&) const = default;
};

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
    std::vector<RowDef> rows;                    // index = row - 1
    std::map<std::uint16_t, ColumnDef> columns;  // key = column - 1

    // 1-based row and column; nullptr when the cell has never been written.
    const Cell* cell(std::uint32_t row, std::uint32_t column) const;
    // Grows the row table as needed.
    Cell& cellAt(std::uint32_t row, std::uint32_t column);
    RowDef& rowAt(std::uint32_t row);
    // Last row holding a non-empty cell or a row setting (0 for an empty sheet).
    std::uint32_t lastUsedRow() const;
    std::uint32_t lastUsedColumn() const;
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
    std::vector<XfDef> xfs;                           // at least 16: 0..14 styles, 15 default cell
    std::map<std::uint16_t, std::string> numberFormats;  // user formats (index >= 164)
    std::uint16_t activeSheet = 0;                    // index into sheets
    std::uint16_t firstVisibleTab = 0;
    WorkbookProtection protection;

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
    // none exists yet; likewise for fonts.
    std::uint16_t xfWithFont(std::uint16_t baseXf, const FontDef& font);
    std::uint16_t findOrAddFont(const FontDef& font);
    const FontDef& fontOfXf(std::uint16_t xf) const;

    bool operator==(const WorkbookModel&) const = default;
};

}  // namespace office
