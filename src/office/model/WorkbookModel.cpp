#include "office/model/WorkbookModel.h"

#include <algorithm>

namespace office {

const Cell* SheetModel::cell(std::uint32_t row, std::uint32_t column) const {
    const RowDef* def = column == 0 ? nullptr : rows.row(row);
    if (!def || column > def->cells.size()) return nullptr;
    return &def->cells[column - 1];
}

RowDef& SheetModel::rowAt(std::uint32_t row) { return rows.rowAt(row); }

Cell& SheetModel::cellAt(std::uint32_t row, std::uint32_t column) {
    RowDef& r = rowAt(row);
    // New cells take the format of their row, or else of their own column.
    while (r.cells.size() < column) {
        Cell blank;
        const auto index = static_cast<std::uint16_t>(r.cells.size());
        if (r.xf) blank.xf = *r.xf;
        else if (auto c = columns.find(index); c != columns.end() && c->second.xf) blank.xf = *c->second.xf;
        r.cells.push_back(blank);
    }
    return r.cells[column - 1];
}

std::uint32_t SheetModel::lastUsedRow() const {
    const std::vector<RowDef>& all = rows.all();
    for (std::size_t i = all.size(); i > 0; --i) {
        const RowDef& r = all[i - 1];
        if (r.xf || r.customHeight || r.hidden) return static_cast<std::uint32_t>(i);
        for (const Cell& c : r.cells)
            if (!c.value.isEmpty() || c.xf != kDefaultCellFormat) return static_cast<std::uint32_t>(i);
    }
    return 0;
}

std::uint32_t SheetModel::lastUsedColumn() const {
    std::uint32_t last = 0;
    for (const RowDef& r : rows.all())
        for (std::size_t c = r.cells.size(); c > last; --c)
            if (!r.cells[c - 1].value.isEmpty() || r.cells[c - 1].xf != kDefaultCellFormat) {
                last = static_cast<std::uint32_t>(c);
                break;
            }
    return last;
}

WorkbookModel WorkbookModel::withDefaults() {
    WorkbookModel model;
    model.fonts.assign(4, FontDef{});
    model.fonts[1].weight = 700;
    model.fonts[2].italic = true;
    model.fonts[3].weight = 700;
    model.fonts[3].italic = true;
    XfDef style;  // general, bottom aligned, no borders, no fill, locked
    style.isStyle = true;
    model.xfs.assign(kDefaultCellFormat, style);  // the style formats 0..14
    for (int i = 1; i < kDefaultCellFormat; ++i) model.xfs[i].font = (i <= 2) ? 1 : (i <= 4) ? 2 : 0;
    XfDef cell = style;
    cell.isStyle = false;
    cell.parentStyle = 0;
    model.xfs.push_back(cell);
    return model;
}

cfb::Node WorkbookModel::newRootStorage() {
    cfb::Node root;
    root.name = "Root Entry";
    root.isStorage = true;
    static const cfb::Clsid excelSheet8 = cfb::clsidFromString("{00020820-0000-0000-C000-000000000046}");
    root.clsid = excelSheet8;
    return root;
}

std::uint16_t WorkbookModel::findOrAddFont(const FontDef& font) {
    auto it = std::find(fonts.begin(), fonts.end(), font);
    if (it != fonts.end()) return static_cast<std::uint16_t>(it - fonts.begin());
    fonts.push_back(font);
    return static_cast<std::uint16_t>(fonts.size() - 1);
}

std::uint16_t WorkbookModel::findOrAddXf(const XfDef& xf) {
    auto it = std::find(xfs.begin(), xfs.end(), xf);
    if (it != xfs.end()) return static_cast<std::uint16_t>(it - xfs.begin());
    xfs.push_back(xf);
    return static_cast<std::uint16_t>(xfs.size() - 1);
}

const XfDef& WorkbookModel::xfAt(std::uint16_t xf) const {
    static const XfDef fallback;
    if (xf < xfs.size()) return xfs[xf];
    return kDefaultCellFormat < xfs.size() ? xfs[kDefaultCellFormat] : fallback;
}

const CellRect* SheetModel::mergedBlockAt(std::uint32_t row, std::uint32_t column) const {
    for (const CellRect& block : mergedCells)
        if (block.contains(row, column)) return &block;
    return nullptr;
}

std::uint16_t WorkbookModel::xfWithFont(std::uint16_t baseXf, const FontDef& font) {
    XfDef wanted = baseXf < xfs.size() ? xfs[baseXf] : xfs.at(kDefaultCellFormat);
    wanted.font = findOrAddFont(font);
    if (wanted.isStyle) {
        wanted.isStyle = false;
        wanted.parentStyle = baseXf;
    }
    return findOrAddXf(wanted);
}

const FontDef& WorkbookModel::fontOfXf(std::uint16_t xf) const {
    static const FontDef fallback;
    if (xf >= xfs.size()) return fonts.empty() ? fallback : fonts[0];
    std::uint16_t f = xfs[xf].font;
    return f < fonts.size() ? fonts[f] : (fonts.empty() ? fallback : fonts[0]);
}

}  // namespace office

// A sheet holds a cell for every column up to its last used one in every row:
// a cell's size is most of a store's memory.
static_assert(sizeof(office::Cell) <= 24, "a cell grew: see the note on Cell");
