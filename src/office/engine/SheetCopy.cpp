#include "office/engine/SheetCopy.h"

#include <memory>

#include "office/engine/FormatTranslator.h"
#include "text/CaseFold.h"
#include "text/Utf.h"

namespace office::engine {
namespace {

bool nameTaken(const WorkbookModel& model, const std::string& name) {
    for (const SheetModel& sheet : model.sheets)
        if (text::equalsIgnoringCase(sheet.name, name)) return true;
    return false;
}

// `name` cut to at most `characters` characters.
std::string clipped(const std::string& name, std::size_t characters) {
    std::string out;
    std::size_t i = 0, count = 0;
    while (i < name.size() && count < characters) {
        const std::size_t start = i;
        text::nextCodePoint(name, i);
        out.append(name, start, i - start);
        ++count;
    }
    return out;
}

// The workbook a copied chart draws from: its cells, names and palette,
// without what charts never read.
std::shared_ptr<const WorkbookModel> chartSourceOf(const WorkbookModel& from) {
    auto source = std::make_shared<WorkbookModel>();
    source->palette = from.palette;
    source->links = from.links;
    source->fonts = from.fonts;
    source->xfs = from.xfs;
    source->numberFormats = from.numberFormats;
    source->dates1904 = from.dates1904;
    source->sheets.reserve(from.sheets.size());
    for (const SheetModel& sheet : from.sheets) {
        SheetModel& kept = source->sheets.emplace_back();
        kept.name = sheet.name;
        kept.kind = sheet.kind;
        kept.rows = sheet.rows;
    }
    return source;
}

}  // namespace

SheetModel copyOfSheet(const WorkbookModel& from, const SheetModel& sheet, WorkbookModel& to) {
    SheetModel copy = sheet;
    copy.codeName.clear();  // the copy has no macro module of its own
    // Comments name the objects of their text boxes, which do not travel;
    // nor do embedded objects, whose storages belong to their workbook.
    copy.notes.clear();
    std::erase_if(copy.drawings, [](const DrawingObject& o) {
        return o.kind == DrawingKind::Other || o.kind == DrawingKind::OleObject;
    });
    if (&from == &to) return copy;

    XfTranslator translate(from, to);
    for (RowDef& row : copy.rows.all()) {
        if (row.xf) row.xf = translate(*row.xf);
        for (Cell& cell : row.cells) {
            cell.xf = translate(cell.xf);
            cell.formula.reset();
        }
    }
    for (auto& [index, column] : copy.columns)
        if (column.xf) column.xf = translate(*column.xf);
    copy.keptRecords.clear();
    std::shared_ptr<const WorkbookModel> chartSource;
    for (DrawingObject& object : copy.drawings) {
        if (object.kind == DrawingKind::Picture) {
            object.picture = translatePicture(from, object.picture, to);
        } else if (!object.chartWorkbook) {
            if (!chartSource) chartSource = chartSourceOf(from);
            object.chartWorkbook = chartSource;
        }
    }
    return copy;
}

std::string nameForCopy(const WorkbookModel& to, const std::string& name) {
    if (!nameTaken(to, name)) return name;
    for (int n = 2;; ++n) {
        const std::string suffix = " (" + std::to_string(n) + ")";
        const std::string candidate = clipped(name, kMaxSheetNameLength - suffix.size()) + suffix;
        if (!nameTaken(to, candidate)) return candidate;
    }
}

}  // namespace office::engine
