// libFuzzer target: any bytes given to the .xls reader must either read or
// raise AutomationError; what reads must survive our writer and reader again.
// Inputs that are not compound files go straight to the Workbook-stream reader
// too, so mutations reach the BIFF8 records without breaking the container;
// it reads them both with every cell decoded at once and as asked for. The
// model read with its cells decoded as asked for is written too: the writer
// copies the records of rows still undecoded, and that must read back as well.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "office/biff/Biff8.h"
#include "office/cfb/CompoundFile.h"

namespace {

// Equal cells, a number that is not a number (a damaged file may hold one)
// equal to the same bits.
bool sameCell(const office::Cell& a, const office::Cell& b) {
    if (a.value.isNumber() && b.value.isNumber()) {
        const double x = a.value.number(), y = b.value.number();
        return std::memcmp(&x, &y, sizeof x) == 0 && a.xf == b.xf &&
               (a.formula == b.formula || (a.formula && b.formula && *a.formula == *b.formula));
    }
    return a == b;
}

bool sameRows(const std::vector<office::RowDef>& a, const std::vector<office::RowDef>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t r = 0; r < a.size(); ++r) {
        if (a[r].cells.size() != b[r].cells.size() || a[r].xf != b[r].xf || a[r].heightTwips != b[r].heightTwips ||
            a[r].customHeight != b[r].customHeight || a[r].hidden != b[r].hidden)
            return false;
        for (std::size_t c = 0; c < a[r].cells.size(); ++c)
            if (!sameCell(a[r].cells[c], b[r].cells[c])) return false;
    }
    return true;
}

// A Workbook stream read with every cell decoded at once, and read again with
// its cells decoded as asked for: both read or both refuse, and every cell
// peeked at, then every row, is the same.
std::optional<office::WorkbookModel> readBothWays(std::span<const std::uint8_t> input, const std::string& password) {
    std::optional<office::WorkbookModel> now, later;
    try {
        now = office::biff::readWorkbookStream(input, password);
    } catch (const automation::AutomationError&) {
    }
    try {
        later = office::biff::readWorkbookStream(std::vector<std::uint8_t>(input.begin(), input.end()), password);
    } catch (const automation::AutomationError&) {
    }
    if (now.has_value() != later.has_value()) std::abort();
    if (!now) return now;
    std::size_t peeks = 0;  // a sparse sheet spans the whole grid
    for (std::size_t i = 0; i < now->sheets.size(); ++i) {
        const office::SheetModel& expected = now->sheets[i];
        const office::SheetModel& lazy = later->sheets[i];
        if (lazy.rows.count() != expected.rows.count()) std::abort();
        for (std::uint32_t row = 1; row <= lazy.rows.count() && peeks < 4096; ++row) {
            if (lazy.rows.width(row) != expected.rows.width(row)) std::abort();
            for (std::uint32_t column = 1; column <= lazy.rows.width(row) + 1 && peeks < 4096; ++column, ++peeks) {
                const office::Cell* cell = expected.cell(row, column);
                const std::optional<office::Cell> peeked = lazy.peek(row, column);
                if (peeked.has_value() != (cell != nullptr) || (cell && !sameCell(*peeked, *cell))) std::abort();
            }
        }
    }
    // Then every row, and the rest of the model without them.
    office::WorkbookModel withoutRows = *now;
    for (std::size_t i = 0; i < now->sheets.size(); ++i) {
        if (!sameRows(later->sheets[i].rows.all(), now->sheets[i].rows.all())) std::abort();
        later->sheets[i].rows.all().clear();
        withoutRows.sheets[i].rows.all().clear();
    }
    if (!(*later == withoutRows)) std::abort();
    return now;
}

}  // namespace

// What reads must survive our writer and reader again, with its sheets.
void expectWrittenBack(const office::WorkbookModel& model, const std::string& password) {
    try {
        office::WorkbookModel back = office::readXls(office::writeXls(model, password), password);
        if (back.sheets.size() != model.sheets.size()) std::abort();
        for (std::size_t i = 0; i < model.sheets.size(); ++i)
            if (back.sheets[i].name != model.sheets[i].name || back.sheets[i].visibility != model.sheets[i].visibility)
                std::abort();
    } catch (const automation::AutomationError& error) {
        // Our own output must always read back; say why it did not, for the log.
        std::fprintf(stderr, "own output refused: %ld %s\n", error.number(), error.description().c_str());
        std::abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const std::string password = "fuzz";
    office::WorkbookModel model;
    std::optional<office::WorkbookModel> lazy;  // its cells decoded as asked for
    if (office::cfb::hasCompoundSignature(input)) {
        try {
            model = office::readXls(input, password);
            lazy = office::readXls(std::vector<std::uint8_t>(input.begin(), input.end()), password);
        } catch (const automation::AutomationError&) {
            return 0;
        }
        // The file read: its Workbook stream reads the same both ways.
        const office::cfb::Node root = office::cfb::readCompoundFile(input);
        if (const office::cfb::Node* stream = root.child("Workbook")) readBothWays(stream->data, password);
    } else {
        std::optional<office::WorkbookModel> read = readBothWays(input, password);
        if (!read) return 0;
        model = std::move(*read);
        lazy = office::biff::readWorkbookStream(std::vector<std::uint8_t>(input.begin(), input.end()), password);
    }
    bool hasVisible = false;
    for (const auto& sheet : model.sheets) hasVisible |= sheet.visibility == office::SheetVisibility::Visible;
    if (!hasVisible) return 0;  // the writer refuses such models by design
    expectWrittenBack(model, password);
    if (lazy) expectWrittenBack(*lazy, password);
    return 0;
}
