#include "office/biff/SheetSettingsRecords.h"

#include <algorithm>
#include <string>

#include "office/biff/BiffRecords.h"
#include "office/biff/BiffStrings.h"
#include "office/model/WorkbookModel.h"
#include "text/Utf.h"

namespace office::biff {
namespace {

// WINDOW2 flags.
constexpr std::uint16_t kShowFormulas = 0x0001;
constexpr std::uint16_t kShowGrid = 0x0002;
constexpr std::uint16_t kShowHeadings = 0x0004;
constexpr std::uint16_t kFrozen = 0x0008;
constexpr std::uint16_t kShowZeros = 0x0010;
constexpr std::uint16_t kDefaultGridColor = 0x0020;
constexpr std::uint16_t kRightToLeft = 0x0040;
constexpr std::uint16_t kShowOutline = 0x0080;
constexpr std::uint16_t kFrozenNoSplit = 0x0100;
constexpr std::uint16_t kSelected = 0x0200;
constexpr std::uint16_t kShown = 0x0400;
constexpr std::uint16_t kPageBreakPreview = 0x0800;

// SETUP flags.
constexpr std::uint16_t kOverThenDown = 0x0001;
constexpr std::uint16_t kPortrait = 0x0002;
constexpr std::uint16_t kNoPrinterSettings = 0x0004;
constexpr std::uint16_t kBlackAndWhite = 0x0008;
constexpr std::uint16_t kDraft = 0x0010;
constexpr std::uint16_t kNoOrientation = 0x0040;
constexpr std::uint16_t kUsePageNumber = 0x0080;

constexpr std::uint16_t kWsBoolDefault = 0x04C1;  // automatic page breaks, summary rows below and right, outline symbols
constexpr std::uint16_t kFitToPage = 0x0100;

constexpr std::size_t kMergedPerRecord = 1026;  // keeps MERGEDCELLS within one record

std::string headerText(ByteCursor& in) { return in.remaining() == 0 ? std::string() : readUnicodeString(in); }

void writeHeaderText(RecordWriter& out, std::uint16_t id, const std::string& text) {
    out.begin(id);
    if (!text.empty()) out.unicodeString(clipUnits(text::utf8ToUtf16(text), 255));
    out.end();
}

void writeMargin(RecordWriter& out, std::uint16_t id, double inches) {
    out.begin(id);
    out.f64(inches);
    out.end();
}

std::uint32_t clampedRow(std::uint32_t row) { return std::clamp<std::uint32_t>(row, 1, kMaxRows); }
std::uint32_t clampedColumn(std::uint32_t column) { return std::clamp<std::uint32_t>(column, 1, kMaxColumns); }

}  // namespace

bool readWindowRecord(std::uint16_t id, ByteCursor& in, SheetWindow& window) {
    switch (id) {
    case rec::kWindow2: {
        const std::uint16_t flags = in.u16();
        window.showFormulas = (flags & kShowFormulas) != 0;
        window.showGridlines = (flags & kShowGrid) != 0;
        window.showHeadings = (flags & kShowHeadings) != 0;
        window.showZeros = (flags & kShowZeros) != 0;
        window.automaticGridColor = (flags & kDefaultGridColor) != 0;
        window.rightToLeft = (flags & kRightToLeft) != 0;
        window.showOutlineSymbols = (flags & kShowOutline) != 0;
        window.pageBreakPreview = (flags & kPageBreakPreview) != 0;
        window.topRow = in.u16() + 1u;
        window.leftColumn = in.u16() + 1u;
        if (in.remaining() >= 2) window.gridColor = in.u16();
        if (in.remaining() >= 4) {  // worksheets; chart sheets stop here. The zoom itself is in SCL.
            in.skip(2);
            window.pageBreakZoom = in.u16();
        }
        if (flags & kFrozen) {
            if (!window.pane) window.pane.emplace();
            window.pane->frozen = true;
        } else if (window.pane) {
            window.pane->frozen = false;
        }
        return true;
    }
    case rec::kScl: {
        const std::uint16_t numerator = in.u16();
        const std::uint16_t denominator = in.u16();
        if (denominator != 0) window.zoom = static_cast<std::uint16_t>(std::clamp(numerator * 100 / denominator, 10, 400));
        return true;
    }
    case rec::kPane: {
        WindowPane pane;
        pane.frozen = window.pane ? window.pane->frozen : false;
        pane.splitColumn = in.u16();
        pane.splitRow = in.u16();
        pane.topRow = in.u16() + 1u;
        pane.leftColumn = in.u16() + 1u;
        pane.activePane = static_cast<std::uint8_t>(in.u8() & 3);
        window.pane = pane;
        return true;
    }
    case rec::kSelection: {
        WindowSelection selection;
        selection.pane = static_cast<std::uint8_t>(in.u8() & 3);
        selection.activeRow = in.u16() + 1u;
        selection.activeColumn = in.u16() + 1u;
        selection.activeRange = in.u16();
        const std::size_t count = in.u16();
        for (std::size_t i = 0; i < count && in.remaining() >= 6; ++i) {
            CellRect r;
            r.firstRow = in.u16() + 1u;
            r.lastRow = in.u16() + 1u;
            r.firstColumn = in.u8() + 1u;
            r.lastColumn = in.u8() + 1u;
            selection.ranges.push_back(r);
        }
        window.selections.push_back(std::move(selection));
        return true;
    }
    default:
        return false;
    }
}

bool readPageSetupRecord(std::uint16_t id, ByteCursor& in, PageSetup& setup) {
    switch (id) {
    case rec::kPrintHeaders: setup.printHeadings = in.u16() != 0; return true;
    case rec::kPrintGridlines: setup.printGridlines = in.u16() != 0; return true;
    case rec::kWsBool: setup.fitToPages = (in.u16() & kFitToPage) != 0; return true;
    case rec::kHeader: setup.header = headerText(in); return true;
    case rec::kFooter: setup.footer = headerText(in); return true;
    case rec::kHCenter: setup.centerHorizontally = in.u16() != 0; return true;
    case rec::kVCenter: setup.centerVertically = in.u16() != 0; return true;
    case rec::kLeftMargin: setup.leftMargin = in.f64(); return true;
    case rec::kRightMargin: setup.rightMargin = in.f64(); return true;
    case rec::kTopMargin: setup.topMargin = in.f64(); return true;
    case rec::kBottomMargin: setup.bottomMargin = in.f64(); return true;
    case rec::kSetup: {
        setup.paperSize = in.u16();
        setup.scale = in.u16();
        setup.firstPageNumber = in.u16();
        setup.fitWidth = in.u16();
        setup.fitHeight = in.u16();
        const std::uint16_t flags = in.u16();
        setup.overThenDown = (flags & kOverThenDown) != 0;
        setup.printerSettingsValid = (flags & kNoPrinterSettings) == 0;
        setup.landscape = (flags & (kPortrait | kNoOrientation)) == 0;
        setup.blackAndWhite = (flags & kBlackAndWhite) != 0;
        setup.draft = (flags & kDraft) != 0;
        setup.useFirstPageNumber = (flags & kUsePageNumber) != 0;
        setup.resolution = in.u16();
        setup.verticalResolution = in.u16();
        setup.headerMargin = in.f64();
        setup.footerMargin = in.f64();
        setup.copies = in.u16();
        if (!setup.printerSettingsValid) {  // paper, zoom, orientation and resolution mean nothing then
            const PageSetup defaults;
            setup.paperSize = defaults.paperSize;
            setup.scale = defaults.scale;
            setup.landscape = defaults.landscape;
            setup.resolution = defaults.resolution;
            setup.verticalResolution = defaults.verticalResolution;
            setup.copies = defaults.copies;
        }
        return true;
    }
    default:
        return false;
    }
}

bool readProtectionRecord(std::uint16_t id, ByteCursor& in, SheetProtection& protection) {
    switch (id) {
    case rec::kProtect: protection.contents = in.u16() != 0; return true;
    case rec::kObjProtect: protection.objects = in.u16() != 0; return true;
    case rec::kScenProtect: protection.scenarios = in.u16() != 0; return true;
    case rec::kPassword: protection.passwordHash = in.u16(); return true;
    default: return false;
    }
}

void readMergedCells(ByteCursor& in, std::vector<CellRect>& blocks) {
    const std::size_t count = in.u16();
    for (std::size_t i = 0; i < count && in.remaining() >= 8; ++i) {
        CellRect r;
        r.firstRow = in.u16() + 1u;
        r.lastRow = in.u16() + 1u;
        r.firstColumn = in.u16() + 1u;
        r.lastColumn = in.u16() + 1u;
        // Blocks turned inside out or off the grid are damage we do not keep.
        if (r.firstRow <= r.lastRow && r.firstColumn <= r.lastColumn && r.lastColumn <= kMaxColumns)
            blocks.push_back(r);
    }
}

void writePrintOptions(RecordWriter& out, const PageSetup& setup) {
    out.recordU16(rec::kPrintHeaders, setup.printHeadings ? 1 : 0);
    out.recordU16(rec::kPrintGridlines, setup.printGridlines ? 1 : 0);
}

std::uint16_t wsBoolFlags(const PageSetup& setup) {
    return static_cast<std::uint16_t>(kWsBoolDefault | (setup.fitToPages ? kFitToPage : 0));
}

void writePageSetup(RecordWriter& out, const PageSetup& setup) {
    writeHeaderText(out, rec::kHeader, setup.header);
    writeHeaderText(out, rec::kFooter, setup.footer);
    out.recordU16(rec::kHCenter, setup.centerHorizontally ? 1 : 0);
    out.recordU16(rec::kVCenter, setup.centerVertically ? 1 : 0);
    writeMargin(out, rec::kLeftMargin, setup.leftMargin);
    writeMargin(out, rec::kRightMargin, setup.rightMargin);
    writeMargin(out, rec::kTopMargin, setup.topMargin);
    writeMargin(out, rec::kBottomMargin, setup.bottomMargin);
    // Orientation, print zoom and paper only count when the printer settings are marked valid.
    const bool valid = setup.printerSettingsValid;
    std::uint16_t flags = 0;
    if (setup.overThenDown) flags |= kOverThenDown;
    if (!setup.landscape) flags |= kPortrait;
    if (!valid) flags |= kNoPrinterSettings;
    if (setup.blackAndWhite) flags |= kBlackAndWhite;
    if (setup.draft) flags |= kDraft;
    if (setup.useFirstPageNumber) flags |= kUsePageNumber;
    out.begin(rec::kSetup);
    out.u16(valid && setup.paperSize == 0 ? kPaperA4 : setup.paperSize);
    out.u16(setup.scale);
    out.u16(setup.firstPageNumber);
    out.u16(setup.fitWidth);
    out.u16(setup.fitHeight);
    out.u16(flags);
    out.u16(setup.resolution);
    out.u16(setup.verticalResolution);
    out.f64(setup.headerMargin);
    out.f64(setup.footerMargin);
    out.u16(setup.copies);
    out.end();
}

void writeProtection(RecordWriter& out, const SheetProtection& protection) {
    if (!protection.contents && !protection.objects && !protection.scenarios) return;
    out.recordU16(rec::kProtect, protection.contents ? 1 : 0);
    out.recordU16(rec::kScenProtect, protection.scenarios ? 1 : 0);
    out.recordU16(rec::kObjProtect, protection.objects ? 1 : 0);
    out.recordU16(rec::kPassword, protection.passwordHash);
}

void writeWindow(RecordWriter& out, const SheetWindow& window, bool active) {
    std::uint16_t flags = 0;
    if (window.showFormulas) flags |= kShowFormulas;
    if (window.showGridlines) flags |= kShowGrid;
    if (window.showHeadings) flags |= kShowHeadings;
    if (window.pane && window.pane->frozen) flags |= kFrozen | kFrozenNoSplit;
    if (window.showZeros) flags |= kShowZeros;
    if (window.automaticGridColor) flags |= kDefaultGridColor;
    if (window.rightToLeft) flags |= kRightToLeft;
    if (window.showOutlineSymbols) flags |= kShowOutline;
    if (active) flags |= kSelected | kShown;
    if (window.pageBreakPreview) flags |= kPageBreakPreview;
    out.begin(rec::kWindow2);
    out.u16(flags);
    out.u16(static_cast<std::uint16_t>(clampedRow(window.topRow) - 1));
    out.u16(static_cast<std::uint16_t>(clampedColumn(window.leftColumn) - 1));
    out.u16(window.gridColor);
    out.u16(0);
    out.u16(window.pageBreakZoom);
    out.u16(window.zoom == 100 ? 0 : window.zoom);
    out.u32(0);
    out.end();
    if (window.zoom != 100) {
        out.begin(rec::kScl);
        out.u16(std::clamp<std::uint16_t>(window.zoom, 10, 400));
        out.u16(100);
        out.end();
    }
    if (window.pane) {
        const WindowPane& pane = *window.pane;
        out.begin(rec::kPane);
        out.u16(static_cast<std::uint16_t>(std::min<std::uint32_t>(pane.splitColumn, 0xFFFF)));
        out.u16(static_cast<std::uint16_t>(std::min<std::uint32_t>(pane.splitRow, 0xFFFF)));
        out.u16(static_cast<std::uint16_t>(clampedRow(pane.topRow) - 1));
        out.u16(static_cast<std::uint16_t>(clampedColumn(pane.leftColumn) - 1));
        out.u8(pane.activePane & 3);
        out.u8(0);
        out.end();
    }
    for (const WindowSelection& selection : window.selections) {
        out.begin(rec::kSelection);
        out.u8(selection.pane & 3);
        out.u16(static_cast<std::uint16_t>(clampedRow(selection.activeRow) - 1));
        out.u16(static_cast<std::uint16_t>(clampedColumn(selection.activeColumn) - 1));
        // A selection always holds a block; the active cell alone when none is given.
        std::vector<CellRect> ranges = selection.ranges;
        if (ranges.empty()) ranges.push_back({selection.activeRow, selection.activeColumn, selection.activeRow,
                                              selection.activeColumn});
        ranges.resize(std::min<std::size_t>(ranges.size(), (rec::kMaxBody - 9) / 6));
        out.u16(selection.activeRange < ranges.size() ? selection.activeRange : 0);
        out.u16(static_cast<std::uint16_t>(ranges.size()));
        for (const CellRect& r : ranges) {
            out.u16(static_cast<std::uint16_t>(clampedRow(r.firstRow) - 1));
            out.u16(static_cast<std::uint16_t>(clampedRow(r.lastRow) - 1));
            out.u8(static_cast<std::uint8_t>(clampedColumn(r.firstColumn) - 1));
            out.u8(static_cast<std::uint8_t>(clampedColumn(r.lastColumn) - 1));
        }
        out.end();
    }
}

void writeMergedCells(RecordWriter& out, const std::vector<CellRect>& blocks) {
    for (std::size_t start = 0; start < blocks.size(); start += kMergedPerRecord) {
        const std::size_t end = std::min(blocks.size(), start + kMergedPerRecord);
        out.begin(rec::kMergedCells);
        out.u16(static_cast<std::uint16_t>(end - start));
        for (std::size_t i = start; i < end; ++i) {
            out.u16(static_cast<std::uint16_t>(clampedRow(blocks[i].firstRow) - 1));
            out.u16(static_cast<std::uint16_t>(clampedRow(blocks[i].lastRow) - 1));
            out.u16(static_cast<std::uint16_t>(clampedColumn(blocks[i].firstColumn) - 1));
            out.u16(static_cast<std::uint16_t>(clampedColumn(blocks[i].lastColumn) - 1));
        }
        out.end();
    }
}

}  // namespace office::biff
