// libFuzzer target for the compound file reader: whatever it accepts must be
// writable and must read back identically.
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <vector>

#include "automation/AutomationError.h"
#include "office/cfb/CompoundFile.h"

namespace {

bool same(const office::cfb::Node& a, const office::cfb::Node& b) {
    if (a.name != b.name || a.isStorage != b.isStorage || a.data != b.data ||
        a.children.size() != b.children.size())
        return false;
    if (a.isStorage && a.clsid != b.clsid) return false;
    for (std::size_t i = 0; i < a.children.size(); ++i)
        if (!same(a.children[i], b.children[i])) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    office::cfb::Node root;
    bool accepted = true;
    try {
        root = office::cfb::readCompoundFile({data, size});
    } catch (const automation::AutomationError&) {
        accepted = false;
    }
    // Reading with the bytes given up (the Workbook stream moved into place
    // in them) must accept and refuse the same files and give the same tree.
    try {
        const auto taken = office::cfb::readCompoundFile(std::vector<std::uint8_t>(data, data + size), "Workbook");
        if (!accepted || !same(root, taken)) {
            std::fprintf(stderr, "reading in place gave another tree\n");
            std::abort();
        }
    } catch (const automation::AutomationError&) {
        if (accepted) {
            std::fprintf(stderr, "reading in place refused a file read by copying\n");
            std::abort();
        }
    }
    if (!accepted) return 0;  // rejected cleanly
    // Accepted: the writer must take it (no exception expected) and the result
    // must read back to the same tree.
    const auto bytes = office::cfb::writeCompoundFile(root);
    const auto again = office::cfb::readCompoundFile(bytes);
    if (!same(root, again)) {
        std::fprintf(stderr, "round trip changed the tree\n");
        std::abort();
    }
    return 0;
}
