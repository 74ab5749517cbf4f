// The shared string table hands each text to the last cell naming it and
// copies for the others: every cell must still get its text, also when the
// stream's records do not line up with where the sheets start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "office/biff/BiffRecords.h"
#include "office/biff/RecordWriter.h"
#include "office/biff/SharedStrings.h"

namespace {

namespace rec = office::biff::rec;
using office::biff::RecordWriter;
using office::biff::SharedStrings;

const std::vector<std::string> kTexts = {"a text longer than the short string buffer", "second", ""};
const std::vector<std::uint32_t> kNamed = {0, 1, 0, 2, 0, 1};

// LABELSST records naming `indexes`, after a 4-byte record the sheet may start inside.
std::vector<std::uint8_t> cells(const std::vector<std::uint32_t>& indexes) {
    RecordWriter w;
    w.recordU16(rec::kCalcMode, 1);
    std::uint16_t row = 0;
    for (std::uint32_t index : indexes) {
        w.begin(rec::kLabelSst);
        w.u16(row++);
        w.u16(0);
        w.u16(15);
        w.u32(index);
        w.end();
    }
    return w.bytes();
}

std::vector<std::string> takeAll(SharedStrings& strings, const std::vector<std::uint32_t>& indexes) {
    std::vector<std::string> out;
    for (std::uint32_t index : indexes) out.push_back(strings.take(index));
    return out;
}

std::vector<std::string> expected(const std::vector<std::uint32_t>& indexes) {
    std::vector<std::string> out;
    for (std::uint32_t index : indexes) out.push_back(kTexts[index]);
    return out;
}

TEST(SharedStrings, EveryCellGetsItsTextWhateverTheOffsets) {
    const auto stream = cells(kNamed);
    const struct {
        const char* what;
        std::vector<std::uint32_t> offsets;
    } cases[] = {
        {"a sheet on a record", {6}},
        {"no sheet at all", {}},
        {"a sheet inside a record", {2}},
        {"a sheet past the end", {static_cast<std::uint32_t>(stream.size() + 100)}},
    };
    for (const auto& c : cases) {
        SharedStrings strings(kTexts, stream, c.offsets);
        EXPECT_EQ(takeAll(strings, kNamed), expected(kNamed)) << c.what;
    }
}

}  // namespace
