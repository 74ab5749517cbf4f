#include "BiffModelCompare.h"

#include <sstream>

#include "office/biff/ChartStreams.h"
#include "office/biff/OfficeArt.h"

namespace bifftest {
namespace {

std::uint16_t implied(const office::SheetModel& sheet, const office::RowDef& row, std::size_t col) {
    if (row.xf) return *row.xf;
    auto it = sheet.columns.find(static_cast<std::uint16_t>(col));
    if (it != sheet.columns.end() && it->second.xf) return *it->second.xf;
    return 15;
}

bool rowHasSettings(const office::RowDef& row) {
    return row.xf || row.customHeight || row.hidden || row.heightTwips != 255;
}

std::string describe(const automation::Variant& v) {
    std::ostringstream out;
    out << static_cast<int>(v.type()) << ":";
    if (v.isNumber()) out.precision(17), out << v.number();
    else out << v.toText();
    return out.str();
}

// Drawing and shape ids are given anew on every write: take them out of the comparison.
void clearShapeIds(std::vector<std::uint8_t>& shape) {
    if (shape.empty()) return;
    office::biff::art::walk(shape, 0, shape.size(), 0, [&](const office::biff::art::ArtRecord& r) {
        if (r.type == office::biff::art::kFsp && r.length >= 8) office::biff::art::putU32(shape, r.body(), 0);
    });
}

void clearChartIds(std::vector<std::uint8_t>& chart) {
    if (!chart.empty() && office::biff::chartDrawingShapeCount(chart) > 0)
        office::biff::renumberChartDrawing(chart, office::biff::DrawingIds{0, 0, 1});
}

// A read object carries the bytes it came with, one the engine made does
// not: compare those only when both have them.
std::string drawingDifference(const office::DrawingObject& x, const office::DrawingObject& y) {
    if (x.kind != y.kind) return "kind";
    if (x.anchor != y.anchor) return "anchor";
    if (x.objectId != y.objectId) return "object id";
    if (x.hidden != y.hidden) return "hidden";
    if (x.kind == office::DrawingKind::Picture && x.picture != y.picture) return "picture";
    if (x.chartStream != y.chartStream) return "chart substream";
    if (!x.shape.empty() && !y.shape.empty() && (x.shape != y.shape || x.hostRecords != y.hostRecords))
        return "shape bytes";
    return "";
}

}  // namespace

office::WorkbookModel canonical(const office::WorkbookModel& model) {
    office::WorkbookModel m = model;
    if (m.styles.empty()) m.styles.push_back({0x0293, {0x00, 0x80, 0x00, 0xFF}});  // the writer's Normal style
    for (auto& sheet : m.sheets) {
        if (sheet.kind == office::SheetKind::Chart) {
            office::SheetModel kept;  // a chart sheet keeps its name, state and substream only
            kept.name = sheet.name;
            kept.kind = sheet.kind;
            kept.visibility = sheet.visibility;
            kept.codeName = sheet.codeName;
            kept.chartStream = sheet.chartStream;
            clearChartIds(kept.chartStream);
            sheet = std::move(kept);
            continue;
        }
        // What the writer fills in: a paper for valid printer settings, a block per selection.
        if (sheet.pageSetup.printerSettingsValid && sheet.pageSetup.paperSize == 0) sheet.pageSetup.paperSize = 9;
        for (auto& selection : sheet.window.selections)
            if (selection.ranges.empty())
                selection.ranges.push_back({selection.activeRow, selection.activeColumn, selection.activeRow,
                                            selection.activeColumn});
        // Objects that cannot be written are left out.
        std::erase_if(sheet.drawings, [&](const office::DrawingObject& o) {
            return o.kind == office::DrawingKind::Picture && (o.picture == 0 || o.picture > m.pictures.size());
        });
        for (auto& object : sheet.drawings) {
            clearShapeIds(object.shape);
            clearChartIds(object.chartStream);
        }
        for (auto it = sheet.columns.begin(); it != sheet.columns.end();) {
            office::ColumnDef& c = it->second;
            if (c.xf == std::optional<std::uint16_t>(15)) c.xf.reset();
            if (c.width == 0 && !c.hidden && !c.xf) {
                it = sheet.columns.erase(it);
                continue;
            }
            if (c.width == 0) c.width = 2340;  // what the writer gives a default-width column
            ++it;
        }
        for (auto& row : sheet.rows.all())
            while (!row.cells.empty() && row.cells.back().value.isEmpty() &&
                   row.cells.back().xf == implied(sheet, row, row.cells.size() - 1))
                row.cells.pop_back();
        while (!sheet.rows.all().empty() && sheet.rows.all().back().cells.empty() && !rowHasSettings(sheet.rows.all().back()))
            sheet.rows.all().pop_back();
    }
    return m;
}

std::string firstDifference(const office::WorkbookModel& a, const office::WorkbookModel& b) {
    if (a.fonts != b.fonts) return "fonts";
    if (a.xfs != b.xfs) return "xfs";
    if (a.numberFormats != b.numberFormats) return "number formats";
    if (a.activeSheet != b.activeSheet) return "active sheet";
    if (a.firstVisibleTab != b.firstVisibleTab) return "first visible tab";
    if (a.protection != b.protection) return "workbook protection";
    if (a.palette != b.palette) return "palette";
    if (a.dates1904 != b.dates1904) return "date system";
    if (a.pictures != b.pictures) return "picture store";
    if (a.styles != b.styles) return "styles";
    if (a.links != b.links) return "names and external references";
    if (!(a.rootStorage == b.rootStorage)) return "other streams";
    if (a.hasVbaProject != b.hasVbaProject || a.codeName != b.codeName) return "VBA project markers";
    if (a.sheets.size() != b.sheets.size()) return "sheet count";
    for (std::size_t s = 0; s < a.sheets.size(); ++s) {
        const auto& x = a.sheets[s];
        const auto& y = b.sheets[s];
        const std::string sheet = "sheet " + std::to_string(s) + " '" + x.name + "': ";
        if (x.name != y.name) return sheet + "name vs '" + y.name + "'";
        if (x.kind != y.kind) return sheet + "kind";
        if (x.visibility != y.visibility) return sheet + "visibility";
        if (x.codeName != y.codeName) return sheet + "code name";
        if (x.chartStream != y.chartStream) return sheet + "chart substream";
        if (x.defaultColumnWidth != y.defaultColumnWidth || x.defaultRowHeightTwips != y.defaultRowHeightTwips)
            return sheet + "default sizes";
        if (x.mergedCells != y.mergedCells) return sheet + "merged cells";
        if (x.window != y.window) return sheet + "window";
        if (x.pageSetup != y.pageSetup) return sheet + "page setup";
        if (x.protection != y.protection) return sheet + "protection";
        if (x.drawings.size() != y.drawings.size())
            return sheet + "drawings " + std::to_string(x.drawings.size()) + " vs " + std::to_string(y.drawings.size());
        for (std::size_t d = 0; d < x.drawings.size(); ++d)
            if (auto what = drawingDifference(x.drawings[d], y.drawings[d]); !what.empty())
                return sheet + "drawing " + std::to_string(d) + ": " + what;
        if (x.notes != y.notes || x.keptRecords != y.keptRecords) return sheet + "kept records";
        if (x.columns != y.columns) {
            std::string text = sheet + "columns:";
            for (const auto* side : {&x.columns, &y.columns}) {
                for (const auto& [index, c] : *side)
                    text += " " + std::to_string(index) + "/" + std::to_string(c.width) + "/" +
                            std::to_string(c.hidden) + "/" + std::to_string(c.xf.value_or(0));
                text += " vs";
            }
            return text;
        }
        if (x.rows.all().size() != y.rows.all().size())
            return sheet + "rows " + std::to_string(x.rows.all().size()) + " vs " + std::to_string(y.rows.all().size());
        for (std::size_t r = 0; r < x.rows.all().size(); ++r) {
            const auto& p = x.rows.all()[r];
            const auto& q = y.rows.all()[r];
            std::string where = sheet + "row " + std::to_string(r + 1) + ": ";
            if (p.xf != q.xf || p.heightTwips != q.heightTwips || p.customHeight != q.customHeight ||
                p.hidden != q.hidden)
                return where + "settings";
            if (p.cells.size() != q.cells.size())
                return where + "cells " + std::to_string(p.cells.size()) + " vs " + std::to_string(q.cells.size());
            for (std::size_t c = 0; c < p.cells.size(); ++c)
                if (!(p.cells[c] == q.cells[c]))
                    return where + "column " + std::to_string(c + 1) + ": " + describe(p.cells[c].value.toVariant()) + " xf " +
                           std::to_string(p.cells[c].xf) + " vs " + describe(q.cells[c].value.toVariant()) + " xf " +
                           std::to_string(q.cells[c].xf) + " (row format " +
                           std::to_string(p.xf.value_or(15)) + ", column format " +
                           std::to_string(implied(x, office::RowDef{}, c)) + ")";
        }
    }
    return "";
}

}  // namespace bifftest
