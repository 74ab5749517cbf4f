#pragma once
// What a sheet keeps besides its cells: merged blocks, the window (zoom,
// gridlines, headings, panes, selection), the page setup and the protection.
// Rows and columns are 1-based, as in SheetModel::cell.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace office {

// A block of cells, first and last included.
struct CellRect {
    std::uint32_t firstRow = 1, firstColumn = 1, lastRow = 1, lastColumn = 1;
    bool contains(std::uint32_t row, std::uint32_t column) const {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool operator==(const CellRect&) const = default;
};

// Frozen panes keep the rows above `splitRow` and the columns left of
// `splitColumn` in place (counts); a split window holds its split position
// in twips instead.
struct WindowPane {
    bool frozen = true;
    std::uint32_t splitColumn = 0;
    std::uint32_t splitRow = 0;
    std::uint32_t topRow = 1;      // first row shown in the lower panes
    std::uint32_t leftColumn = 1;  // first column shown in the right panes
    std::uint8_t activePane = 3;   // 0 lower right, 1 upper right, 2 lower left, 3 upper left
    bool operator==(const WindowPane&) const = default;
};

struct WindowSelection {
    std::uint8_t pane = 3;
    std::uint32_t activeRow = 1, activeColumn = 1;
    std::vector<CellRect> ranges;  // empty: the active cell alone
    std::uint16_t activeRange = 0;
    bool operator==(const WindowSelection&) const = default;
};

struct SheetWindow {
    bool showGridlines = true;
    bool showHeadings = true;  // row and column headings
    bool showZeros = true;
    bool showFormulas = false;
    bool showOutlineSymbols = true;
    bool rightToLeft = false;
    bool pageBreakPreview = false;
    bool automaticGridColor = true;
    std::uint16_t gridColor = 0x40;  // palette index when not automatic
    std::uint32_t topRow = 1;        // first row and column shown
    std::uint32_t leftColumn = 1;
    std::uint16_t zoom = 100;        // percent, 10..400
    std::uint16_t pageBreakZoom = 0; // percent in page-break preview; 0 = Excel's default
    std::optional<WindowPane> pane;
    std::vector<WindowSelection> selections;  // one per pane; empty = A1 selected
    bool operator==(const SheetWindow&) const = default;
};

// Margins in inches, as the file stores them.
struct PageSetup {
    double leftMargin = 0.75, rightMargin = 0.75, topMargin = 1.0, bottomMargin = 1.0;
    double headerMargin = 0.5, footerMargin = 0.5;
    bool landscape = false;
    bool centerHorizontally = false, centerVertically = false;
    std::uint16_t scale = 100;        // print zoom in percent, when not fitting to pages
    bool fitToPages = false;
    std::uint16_t fitWidth = 1, fitHeight = 1;  // pages wide and tall when fitting (0 = as many as needed)
    std::uint16_t paperSize = 0;      // Excel's paper code; 0 = the printer's default
    std::uint16_t firstPageNumber = 1;
    bool useFirstPageNumber = false;  // otherwise numbering is automatic
    bool overThenDown = false;        // page order
    bool blackAndWhite = false, draft = false;
    bool printGridlines = false, printHeadings = false;
    // Paper, scale, orientation, resolution and copies count only when this
    // is set (who changes one of them sets it); a paper of 0 is then written as A4.
    bool printerSettingsValid = false;
    std::uint16_t resolution = 0, verticalResolution = 0, copies = 1;
    std::string header, footer;       // Excel's header and footer codes ("&C&A")
    bool operator==(const PageSetup&) const = default;
};

// Sheet protection as Worksheet.Protect sets it; the hash is the legacy
// 16-bit hash of the password (0 = none).
struct SheetProtection {
    bool contents = false;
    bool objects = false;
    bool scenarios = false;
    std::uint16_t passwordHash = 0;
    // What the user may select while the sheet is protected. Like Excel, the
    // engine keeps it with the open workbook only: files do not carry it.
    enum class Selection : std::uint8_t { Any, UnlockedCells, None } selection = Selection::Any;
    bool operator==(const SheetProtection&) const = default;
};

}  // namespace office
