#include "office/chart/ChartData.h"

#include "office/biff/BiffRecords.h"
#include "office/biff/BiffStrings.h"
#include "office/biff/RecordReader.h"

namespace office::chart {
namespace {

using automation::chart::CellRange;
using automation::chart::Chart;
using automation::chart::Label;

constexpr std::uint16_t kSupBook = 0x01AE;
constexpr std::uint16_t kExternSheet = 0x0017;
constexpr std::uint16_t kSelfReference = 0x0401;  // SUPBOOK's cch for "this workbook"

class CellWalker {
public:
    CellWalker(std::span<const int> externSheets, const CellSource& cells) : externSheets_(externSheets), cells_(cells) {}

    // Every cell of `source` row by row, up to kMaxPoints; false (and no cell
    // visited) when a range is not in this workbook.
    template <typename Visit>
    bool walk(const std::vector<CellRange>& source, Visit&& visit) const {
        if (source.empty()) return false;
        for (const CellRange& r : source)
            if (sheetOf(r) < 0) return false;
        std::size_t count = 0;
        for (const CellRange& r : source)
            for (std::uint32_t row = r.firstRow; row <= r.lastRow; ++row)
                for (std::uint32_t column = r.firstColumn; column <= r.lastColumn; ++column) {
                    if (count++ == kMaxPoints) return true;
                    visit(cells_(sheetOf(r), row, column));
                }
        return true;
    }

    void fillLabel(Label& label) const {
        std::string text;
        const bool found = walk(label.source, [&](const CellContent& cell) {
            if (!text.empty()) text += ' ';
            text += shown(cell);
        });
        if (found) label.text = std::move(text);
    }

    static std::string shown(const CellContent& cell) {
        return cell.shown.empty() ? cell.value.toText() : cell.shown;
    }

private:
    int sheetOf(const CellRange& r) const {
        return r.externSheet < externSheets_.size() ? externSheets_[r.externSheet] : -1;
    }

    std::span<const int> externSheets_;
    const CellSource& cells_;
};

std::optional<double> numberOf(const CellContent& cell) {
    if (cell.value.isNumber()) return cell.value.number();
    return std::nullopt;
}

}  // namespace

std::vector<int> externSheetTable(std::span<const std::uint8_t> clearStream) {
    std::vector<bool> selfBooks;  // per SUPBOOK: does it name this workbook?
    std::vector<int> table;
    biff::RecordReader reader(clearStream);
    biff::Record record;
    while (reader.next(record) && record.id != biff::rec::kEof) {
        if (record.id == kSupBook) {
            selfBooks.push_back(record.body.size() == 4 && record.body[2] == (kSelfReference & 0xFF) &&
                                record.body[3] == (kSelfReference >> 8));
        } else if (record.id == kExternSheet) {
            biff::ContinuedBytes in(record, reader);
            const std::size_t count = in.u16();
            table.clear();
            for (std::size_t i = 0; i < count; ++i) {
                const std::uint16_t book = in.u16();
                const auto first = static_cast<std::int16_t>(in.u16());
                in.u16();  // last sheet: a chart series names one sheet
                const bool self = book < selfBooks.size() && selfBooks[book];
                table.push_back(self && first >= 0 ? first : -1);
            }
        }
    }
    return table;
}

std::vector<int> externSheetTable(std::span<const RawRecord> links) {
    std::vector<std::uint8_t> records;
    for (const RawRecord& r : links) {
        const auto size = static_cast<std::uint16_t>(std::min<std::size_t>(r.body.size(), 0xFFFF));
        records.insert(records.end(), {std::uint8_t(r.id), std::uint8_t(r.id >> 8), std::uint8_t(size),
                                       std::uint8_t(size >> 8)});
        records.insert(records.end(), r.body.begin(), r.body.begin() + size);
    }
    return externSheetTable(records);
}

CellSource modelCells(const WorkbookModel& model) {
    return [&model](int sheet, std::uint32_t row, std::uint32_t column) {
        CellContent content;
        if (sheet >= 0 && static_cast<std::size_t>(sheet) < model.sheets.size())
            if (const Cell* cell = model.sheets[sheet].cell(row + 1, column + 1)) content.value = cell->value.toVariant();
        return content;
    };
}

void fillFromCells(Chart& chart, std::span<const int> externSheets, const CellSource& cells) {
    const CellWalker walker(externSheets, cells);
    for (auto& s : chart.series) {
        walker.fillLabel(s.name);
        std::vector<std::optional<double>> values;
        if (walker.walk(s.valuesSource, [&](const CellContent& cell) { values.push_back(numberOf(cell)); }))
            s.values = std::move(values);
        std::vector<std::string> categories;
        std::vector<std::optional<double>> xValues;
        if (walker.walk(s.categoriesSource, [&](const CellContent& cell) {
                categories.push_back(CellWalker::shown(cell));
                xValues.push_back(numberOf(cell));
            })) {
            s.categories = std::move(categories);
            s.xValues = std::move(xValues);
        }
    }
    if (chart.title) walker.fillLabel(*chart.title);
    if (chart.categoryAxis.title) walker.fillLabel(*chart.categoryAxis.title);
    if (chart.valueAxis.title) walker.fillLabel(*chart.valueAxis.title);
}

}  // namespace office::chart
