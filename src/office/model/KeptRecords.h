#pragma once
// Parts of a workbook the engine does not interpret but keeps for a faithful
// round trip: whole records as read, and the parsed formula of a cell.
#include <cstdint>
#include <vector>

namespace office {

// One record as it stood in the file (a CONTINUE that followed it is a
// record of its own).
struct RawRecord {
    std::uint16_t id = 0;
    std::vector<std::uint8_t> body;
    bool operator==(const RawRecord&) const = default;
};

// A cell's formula as the file holds it: the FORMULA record's bytes after the
// cached value (options, cce, the parsed expression and its extra data), and
// the SHRFMLA, ARRAY or TABLE record that came after the cell. Formulas refer
// to sheets and names by their index in WorkbookModel::links.
struct Formula {
    std::vector<std::uint8_t> parsed;
    std::vector<RawRecord> attached;
    bool operator==(const Formula&) const = default;
};

}  // namespace office
