#include "BiffModelCompare.h"

#include <sstream>

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

}  // namespace

office::WorkbookModel canonical(const office::WorkbookModel& model) {
    office::WorkbookModel m = model;
    for (auto& sheet : m.sheets) {
        if (sheet.kind == office::SheetKind::Chart) {
            sheet.rows.clear();
            sheet.columns.clear();
            continue;
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
        for (auto& row : sheet.rows)
            while (!row.cells.empty() && row.cells.back().value.isEmpty() &&
                   row.cells.back().xf == implied(sheet, row, row.cells.size() - 1))
                row.cells.pop_back();
        while (!sheet.rows.empty() && sheet.rows.back().cells.empty() && !rowHasSettings(sheet.rows.back()))
            sheet.rows.pop_back();
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
    if (a.sheets.size() != b.sheets.size()) return "sheet count";
    for (std::size_t s = 0; s < a.sheets.size(); ++s) {
        const auto& x = a.sheets[s];
        const auto& y = b.sheets[s];
        const std::string sheet = "sheet " + std::to_string(s) + " '" + x.name + "': ";
        if (x.name != y.name) return sheet + "name vs '" + y.name + "'";
        if (x.kind != y.kind) return sheet + "kind";
        if (x.visibility != y.visibility) return sheet + "visibility";
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
        if (x.rows.size() != y.rows.size())
            return sheet + "rows " + std::to_string(x.rows.size()) + " vs " + std::to_string(y.rows.size());
        for (std::size_t r = 0; r < x.rows.size(); ++r) {
            const auto& p = x.rows[r];
            const auto& q = y.rows[r];
            std::string where = sheet + "row " + std::to_string(r + 1) + ": ";
            if (p.xf != q.xf || p.heightTwips != q.heightTwips || p.customHeight != q.customHeight ||
                p.hidden != q.hidden)
                return where + "settings";
            if (p.cells.size() != q.cells.size())
                return where + "cells " + std::to_string(p.cells.size()) + " vs " + std::to_string(q.cells.size());
            for (std::size_t c = 0; c < p.cells.size(); ++c)
                if (!(p.cells[c] == q.cells[c]))
                    return where + "column " + std::to_string(c + 1) + ": " + describe(p.cells[c].value) + " xf " +
                           std::to_string(p.cells[c].xf) + " vs " + describe(q.cells[c].value) + " xf " +
                           std::to_string(q.cells[c].xf) + " (row format " +
                           std::to_string(p.xf.value_or(15)) + ", column format " +
                           std::to_string(implied(x, office::RowDef{}, c)) + ")";
        }
    }
    return a == b ? "" : "other fields";
}

}  // namespace bifftest
