// The records the BIFF8 writer produces: globals order, sheet offsets, the
// shared string table split over CONTINUE with its EXTSST index, window
// flags, cell record choice, and which bytes RC4 leaves in clear.
#include <gtest/gtest.h>

#include <algorithm>

#include "office/biff/Biff8.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/RecordCipher.h"
#include "office/biff/RecordReader.h"
#include "office/biff/Rk.h"

namespace {

namespace rec = office::biff::rec;
using office::biff::Record;
using office::biff::RecordReader;

std::vector<Record> records(const std::vector<std::uint8_t>& stream) {
    std::vector<Record> out;
    RecordReader reader(stream);
    Record r;
    while (reader.next(r)) out.push_back(r);
    return out;
}

std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) { return u16(b, at) | (u16(b, at + 2) << 16); }

office::WorkbookModel threeSheets() {
    office::WorkbookModel m = office::WorkbookModel::withDefaults();
    for (const char* name : {"Hidden", "Visible", "Chart"}) m.sheets.emplace_back().name = name;
    m.sheets[0].visibility = office::SheetVisibility::Hidden;
    m.sheets[2].kind = office::SheetKind::Chart;
    m.activeSheet = 0;  // hidden: the writer must pick a visible sheet instead
    m.sheets[1].cellAt(1, 1).value = 3.0;
    m.sheets[0].cellAt(2, 2).value = "text";
    return m;
}

TEST(BiffWriter, GlobalsOrderAndSheetOffsets) {
    const auto stream = office::biff::writeWorkbookStream(threeSheets(), "");
    auto all = records(stream);
    std::vector<std::uint16_t> globals;
    for (const Record& r : all) {
        globals.push_back(r.id);
        if (r.id == rec::kEof) break;
    }
    // Each of these once, in this order, with others in between.
    const std::uint16_t order[] = {rec::kBof,    rec::kInterfaceHdr, rec::kMms,        rec::kInterfaceEnd,
                                   rec::kWriteAccess, rec::kCodePage, rec::kDsf,        rec::kTabId,
                                   rec::kFnGroupCount, rec::kWindowProtect, rec::kProtect, rec::kPassword,
                                   rec::kWindow1, rec::kFont,        rec::kXf,         rec::kStyle,
                                   rec::kBoundSheet, rec::kCountry,  rec::kSst,        rec::kExtSst,
                                   rec::kEof};
    std::size_t at = 0;
    for (std::uint16_t id : order) {
        auto it = std::find(globals.begin() + static_cast<std::ptrdiff_t>(at), globals.end(), id);
        ASSERT_NE(it, globals.end()) << "record 0x" << std::hex << id << " missing or out of order";
        at = static_cast<std::size_t>(it - globals.begin());
    }
    EXPECT_EQ(std::count(globals.begin(), globals.end(), rec::kFont), 4);
    EXPECT_GE(std::count(globals.begin(), globals.end(), rec::kXf), 16);
    for (const Record& r : all)
        if (r.id == rec::kCodePage) {
            EXPECT_EQ(u16(r.body, 0), 1200);
        }

    // lbPlyPos of each sheet points at a BOF of the right kind.
    std::vector<std::uint16_t> kinds;
    for (const Record& r : all) {
        if (r.id != rec::kBoundSheet) continue;
        RecordReader at(stream, u32(r.body, 0));
        Record bof;
        ASSERT_TRUE(at.next(bof));
        ASSERT_EQ(bof.id, rec::kBof);
        kinds.push_back(u16(bof.body, 2));
    }
    EXPECT_EQ(kinds, (std::vector<std::uint16_t>{rec::kBofWorksheet, rec::kBofWorksheet, rec::kBofChart}));
}

TEST(BiffWriter, ActiveSheetIsVisibleAndAloneSelected) {
    const auto stream = office::biff::writeWorkbookStream(threeSheets(), "");
    std::vector<std::uint16_t> window2Flags;
    for (const Record& r : records(stream)) {
        if (r.id == rec::kWindow1) {  // itabCur: "Visible"
            EXPECT_EQ(u16(r.body, 10), 1);
        }
        if (r.id == rec::kWindow2) window2Flags.push_back(u16(r.body, 0));
    }
    ASSERT_EQ(window2Flags.size(), 3u);
    EXPECT_EQ(window2Flags[0] & 0x0600, 0);
    EXPECT_EQ(window2Flags[1] & 0x0600, 0x0600);
    EXPECT_EQ(window2Flags[2] & 0x0600, 0);
}

TEST(BiffWriter, CellRecordsFollowTheValues) {
    office::WorkbookModel m = office::WorkbookModel::withDefaults();
    auto& sheet = m.sheets.emplace_back();
    sheet.name = "Cells";
    office::FontDef bold;
    bold.weight = 700;
    const std::uint16_t boldXf = m.xfWithFont(15, bold);
    sheet.cellAt(1, 1).value = 42.0;       // RK integer
    sheet.cellAt(1, 2).value = 0.1 + 0.2;  // no exact RK form: NUMBER
    sheet.cellAt(1, 3).value = 12.34;      // RK hundredths
    sheet.cellAt(1, 4).xf = boldXf;        // formatted, empty: BLANK
    sheet.rowAt(2).xf = boldXf;            // a bold row: ROW with its format
    sheet.rowAt(3).hidden = true;          // settings only: ROW without cells
    std::vector<std::uint16_t> cells;
    std::vector<Record> rows;
    const auto stream = office::biff::writeWorkbookStream(m, "");
    for (const Record& r : records(stream)) {
        if (r.id == rec::kRow) rows.push_back(r);
        if (r.id == rec::kRk || r.id == rec::kNumber || r.id == rec::kBlank) cells.push_back(r.id);
        if (r.id == rec::kBlank) {
            EXPECT_EQ(u16(r.body, 4), boldXf);
        }
        if (r.id == rec::kRk && u16(r.body, 2) == 2) {
            EXPECT_EQ(office::biff::decodeRk(u32(r.body, 6)), 12.34);
        }
        if (r.id == rec::kDimensions) {
            EXPECT_EQ(u32(r.body, 4), 1u);  // rows 0..0
            EXPECT_EQ(u16(r.body, 10), 4);  // columns 0..3
        }
    }
    EXPECT_EQ(cells, (std::vector<std::uint16_t>{rec::kRk, rec::kNumber, rec::kRk, rec::kBlank}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(u16(rows[0].body, 4), 4);  // last column + 1
    EXPECT_EQ(u16(rows[1].body, 12) & 0x0080, 0x0080);
    EXPECT_EQ(u16(rows[1].body, 14) & 0x0FFF, boldXf);
    EXPECT_EQ(u16(rows[2].body, 12) & 0x00A0, 0x0020);
}

TEST(BiffWriter, SharedStringsSplitOverContinueWithIndex) {
    office::WorkbookModel m = office::WorkbookModel::withDefaults();
    auto& sheet = m.sheets.emplace_back();
    sheet.name = "Strings";
    std::string wide;
    for (int i = 0; i < 7000; ++i) wide += "\u4E2D";  // 14000 bytes as 16-bit characters
    sheet.cellAt(1, 1).value = std::string(20000, 'a');
    sheet.cellAt(2, 1).value = wide;
    for (int r = 3; r < 400; ++r) sheet.cellAt(r, 1).value = "s" + std::to_string(r);
    sheet.cellAt(400, 1).value = "s3";  // repeated: counted, not stored again

    const auto stream = office::biff::writeWorkbookStream(m, "");
    auto all = records(stream);
    auto sst = std::find_if(all.begin(), all.end(), [](const Record& r) { return r.id == rec::kSst; });
    ASSERT_NE(sst, all.end());
    EXPECT_EQ(u32(sst->body, 0), 400u);  // uses
    EXPECT_EQ(u32(sst->body, 4), 399u);  // distinct strings
    std::vector<const Record*> parts{&*sst};
    for (auto it = std::next(sst); it != all.end() && it->id == rec::kContinue; ++it) parts.push_back(&*it);
    ASSERT_GE(parts.size(), 4u);
    for (const Record* p : parts) EXPECT_LE(p->body.size(), rec::kMaxBody);
    // Continuations inside the long strings start with their high-byte flag.
    EXPECT_EQ(parts[1]->body[0], 0x00);
    EXPECT_EQ(parts[2]->body[0], 0x00);
    EXPECT_EQ(parts[3]->body[0], 0x01);

    auto ext = std::next(sst, static_cast<std::ptrdiff_t>(parts.size()));
    ASSERT_EQ(ext->id, rec::kExtSst);
    const std::uint16_t perBucket = u16(ext->body, 0);
    EXPECT_GE(perBucket, 8);
    const std::size_t buckets = (ext->body.size() - 2) / 8;
    EXPECT_EQ(buckets, (399 + perBucket - 1) / perBucket);
    for (std::size_t b = 0; b < buckets; ++b) {
        const std::uint32_t ib = u32(ext->body, 2 + 8 * b);
        const std::uint16_t inRecord = u16(ext->body, 6 + 8 * b);
        // The offset inside the record (counting its header) agrees with the stream offset.
        auto holder = std::find_if(parts.begin(), parts.end(),
                                   [&](const Record* p) { return ib >= p->offset && ib < p->bodyOffset() + p->body.size(); });
        ASSERT_NE(holder, parts.end());
        EXPECT_EQ(ib - (*holder)->offset, inRecord);
        if (b == 0) {
            EXPECT_EQ(ib, sst->bodyOffset() + 8);
        }
        // Bucket b starts at string b * perBucket: "s<r>" with r = b * perBucket + 1.
        if (b > 0) {
            const std::string expected = "s" + std::to_string(b * perBucket + 1);
            ASSERT_EQ(u16(stream, ib), expected.size());
            EXPECT_EQ(std::string(stream.begin() + ib + 3, stream.begin() + ib + 3 + static_cast<std::ptrdiff_t>(expected.size())),
                      expected);
        }
    }
}

// Plain ASCII texts are written straight from their bytes, others through
// UTF-16: both are cut to what a cell holds, and read back alike.
TEST(BiffWriter, SharedStringsLongerThanACellHoldsAreCutAsciiOrNot) {
    office::WorkbookModel m = office::WorkbookModel::withDefaults();
    auto& sheet = m.sheets.emplace_back();
    sheet.name = "Long";
    std::string accented;
    for (int i = 0; i < 40000; ++i) accented += "\u00E9";
    sheet.cellAt(1, 1).value = std::string(40000, 'b');
    sheet.cellAt(2, 1).value = accented;
    sheet.cellAt(3, 1).value = std::string("ASCII and then \u00E9");
    const office::WorkbookModel read = office::biff::readWorkbookStream(office::biff::writeWorkbookStream(m, ""), "");
    const auto& cells = read.sheets.at(0);
    EXPECT_EQ(cells.cell(1, 1)->value.text(), std::string(32767, 'b'));
    EXPECT_EQ(cells.cell(2, 1)->value.text(), accented.substr(0, 2 * 32767));
    EXPECT_EQ(cells.cell(3, 1)->value.text(), "ASCII and then \u00E9");
}

// Records which bytes a cipher is asked to process, at which offsets.
class MarkingCipher : public office::crypto::BlockCipher {
public:
    void process(std::uint8_t* data, std::size_t n, std::uint64_t offset) override {
        for (std::size_t i = 0; i < n; ++i) data[i] ^= static_cast<std::uint8_t>(0xA5 ^ (offset + i));
    }
};

TEST(BiffWriter, EncryptionLeavesHeadersAndClearRecordsAlone) {
    const auto plain = office::biff::writeWorkbookStream(threeSheets(), "");
    const auto encrypted = office::biff::writeWorkbookStream(threeSheets(), "pw");
    auto recs = records(encrypted);
    ASSERT_GE(recs.size(), 3u);
    EXPECT_EQ(recs[0].id, rec::kBof);
    EXPECT_EQ(recs[1].id, rec::kFilePass);
    EXPECT_EQ(recs[1].body.size(), 54u);
    EXPECT_EQ(u16(recs[1].body, 0), 1);  // RC4
    EXPECT_EQ(recs[2].id, rec::kInterfaceHdr);
    EXPECT_EQ(u16(recs[2].body, 0), 1200);  // stays clear
    // The same record ids and sizes as the clear stream, shifted by FILEPASS.
    auto clearRecs = records(plain);
    ASSERT_EQ(recs.size(), clearRecs.size() + 1);
    for (std::size_t i = 1; i < clearRecs.size(); ++i) {
        EXPECT_EQ(recs[i + 1].id, clearRecs[i].id);
        EXPECT_EQ(recs[i + 1].body.size(), clearRecs[i].body.size());
        if (clearRecs[i].id == rec::kBof) {
            EXPECT_TRUE(std::equal(recs[i + 1].body.begin(), recs[i + 1].body.end(), clearRecs[i].body.begin()));
        }
        if (clearRecs[i].id == rec::kBoundSheet) {
            RecordReader at(encrypted, u32(recs[i + 1].body, 0));  // lbPlyPos readable without the key
            Record bof;
            ASSERT_TRUE(at.next(bof));
            EXPECT_EQ(bof.id, rec::kBof);
        }
    }
    // A WRITEACCESS body is not readable in the encrypted stream.
    for (std::size_t i = 0; i < clearRecs.size(); ++i)
        if (clearRecs[i].id == rec::kWriteAccess) {
            EXPECT_FALSE(std::equal(recs[i + 1].body.begin(), recs[i + 1].body.end(), clearRecs[i].body.begin()));
        }
}

TEST(BiffWriter, RecordCipherUsesAbsoluteOffsets) {
    const auto original = office::biff::writeWorkbookStream(threeSheets(), "");
    MarkingCipher cipher;
    const auto stream = office::biff::applyRecordCipher(original, 0, cipher);
    std::size_t changed = 0;
    for (const Record& r : records(original)) {
        const std::size_t header = r.offset;
        for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(stream[header + i], original[header + i]);
        const std::size_t clearBytes = r.id == rec::kBof || r.id == rec::kInterfaceHdr ? r.body.size()
                                       : r.id == rec::kBoundSheet                      ? 4
                                                                                       : 0;
        for (std::size_t i = 0; i < r.body.size(); ++i) {
            const std::size_t at = r.bodyOffset() + i;
            const std::uint8_t expected =
                i < clearBytes ? original[at] : static_cast<std::uint8_t>(original[at] ^ 0xA5 ^ static_cast<std::uint8_t>(at));
            EXPECT_EQ(stream[at], expected) << "record 0x" << std::hex << r.id << " byte " << std::dec << i;
            changed += stream[at] != original[at];
        }
    }
    EXPECT_GT(changed, 100u);
    EXPECT_EQ(office::biff::applyRecordCipher(stream, 0, cipher), original);  // the same walk decrypts
}

// A stream cut anywhere (inside a header, inside a body) is processed as far
// as it goes: exactly the bytes the whole stream has there.
TEST(BiffWriter, RecordCipherOnACutStreamIsThePrefixOfTheWhole) {
    const auto original = office::biff::writeWorkbookStream(threeSheets(), "");
    MarkingCipher cipher;
    const auto whole = office::biff::applyRecordCipher(original, 0, cipher);
    std::vector<std::size_t> cuts = {0, 1, 3, 4, 5};
    for (const Record& r : records(original))
        for (std::size_t d : {1, 2, 3, 5}) cuts.push_back(static_cast<std::size_t>(r.offset) + d);
    for (std::size_t cut : cuts) {
        if (cut > original.size()) continue;
        const std::vector<std::uint8_t> part(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(cut));
        const auto processed = office::biff::applyRecordCipher(part, 0, cipher);
        EXPECT_TRUE(std::equal(processed.begin(), processed.end(), whole.begin())) << "cut at " << cut;
    }
}

}  // namespace
