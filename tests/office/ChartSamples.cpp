#include "office/ChartSamples.h"

#include <algorithm>
#include <stdexcept>

#include "office/XlsFile.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/RecordCipher.h"
#include "office/biff/RecordReader.h"
#include "office/cfb/CompoundFile.h"
#include "office/chart/ChartData.h"
#include "office/chart/ChartReader.h"
#include "office/chart/ChartSubstreams.h"
#include "office/crypto/Crypto.h"
#include "support/TestSupport.h"

namespace charttest {
namespace {

namespace rec = office::biff::rec;
using office::biff::Record;
using office::biff::RecordReader;

std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) { return u16(b, at) | (u16(b, at + 2) << 16); }

std::vector<std::uint8_t> clearStream(const std::vector<std::uint8_t>& file) {
    office::cfb::Node root = office::cfb::readCompoundFile(file);
    std::vector<std::uint8_t> stream = root.child("Workbook")->data;
    RecordReader reader(stream);
    Record r;
    reader.next(r);  // BOF
    while (reader.next(r) && r.id != rec::kEof) {
        if (r.id != rec::kFilePass) continue;
        auto cipher = office::crypto::openFilePass(r.body, office::crypto::kDefaultPassword);
        return office::biff::applyRecordCipher(stream, reader.position(), *cipher);
    }
    return stream;
}

}  // namespace

Records Records::parse(std::span<const std::uint8_t> substream) {
    Records out;
    RecordReader reader(substream);
    Record r;
    while (reader.next(r)) out.list.push_back({r.id, {r.body.begin(), r.body.end()}});
    return out;
}

std::vector<std::uint8_t> Records::bytes() const {
    std::vector<std::uint8_t> out;
    for (const One& r : list) {
        const auto size = static_cast<std::uint16_t>(r.body.size());
        out.insert(out.end(), {std::uint8_t(r.id), std::uint8_t(r.id >> 8), std::uint8_t(size), std::uint8_t(size >> 8)});
        out.insert(out.end(), r.body.begin(), r.body.end());
    }
    return out;
}

Records::One& Records::first(std::uint16_t id) {
    auto it = std::find_if(list.begin(), list.end(), [&](const One& r) { return r.id == id; });
    if (it == list.end()) throw std::runtime_error("no record " + std::to_string(id));
    return *it;
}

void Records::insertAfter(std::uint16_t id, One record) {
    auto it = std::find_if(list.begin(), list.end(), [&](const One& r) { return r.id == id; });
    list.insert(it == list.end() ? it : it + 1, std::move(record));
}

automation::chart::Chart WorkbookCharts::read(const FoundChart& c) const {
    return office::chart::readChart(substream(c), palette);
}

automation::chart::Chart WorkbookCharts::readAndFill(const FoundChart& c) const {
    auto chart = read(c);
    office::chart::fillFromCells(chart, externSheets, office::chart::modelCells(model));
    return chart;
}

WorkbookCharts loadCharts(const std::filesystem::path& path) {
    WorkbookCharts out;
    const auto file = testsupport::readFileBytes(path);
    out.model = office::readXls(file, "");
    out.stream = clearStream(file);
    out.externSheets = office::chart::externSheetTable(out.stream);
    out.palette.assign(out.model.palette.begin(), out.model.palette.end());
    std::vector<std::size_t> sheetStarts;  // BOF offsets in BOUNDSHEET order
    RecordReader globals(out.stream);
    Record r;
    while (globals.next(r) && r.id != rec::kEof) {
        if (r.id == rec::kBoundSheet) sheetStarts.push_back(u32(r.body, 0));
    }
    for (const auto& found : office::chart::findChartSubstreams(out.stream)) {
        auto sheet = std::find(sheetStarts.begin(), sheetStarts.end(), found.sheetOffset);
        const std::string name = sheet == sheetStarts.end() ? "" : out.model.sheets[sheet - sheetStarts.begin()].name;
        out.charts.push_back({name, found.offset == found.sheetOffset, found.offset, found.size});
    }
    return out;
}

}  // namespace charttest
