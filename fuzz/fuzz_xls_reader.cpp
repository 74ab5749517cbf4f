// libFuzzer target: any bytes given to the .xls reader must either read or
// raise AutomationError; what reads must survive our writer and reader again.
// Inputs that are not compound files go straight to the Workbook-stream reader
// too, so mutations reach the BIFF8 records without breaking the container.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "office/biff/Biff8.h"
#include "office/cfb/CompoundFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const std::string password = "fuzz";
    office::WorkbookModel model;
    try {
        model = office::cfb::hasCompoundSignature(input) ? office::readXls(input, password)
                                                         : office::biff::readWorkbookStream(input, password);
    } catch (const automation::AutomationError&) {
        return 0;
    }
    bool hasVisible = false;
    for (const auto& sheet : model.sheets) hasVisible |= sheet.visibility == office::SheetVisibility::Visible;
    if (!hasVisible) return 0;  // the writer refuses such models by design
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
    return 0;
}
