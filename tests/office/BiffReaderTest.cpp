// The BIFF8 reader on hand-made Workbook streams: string tables spread over
// CONTINUE records, every cell record, formula results, formats and settings,
// nested chart substreams and the font index that does not exist.
#include <gtest/gtest.h>

#include <functional>

#include "automation/AutomationError.h"
#include "office/biff/Biff8.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/RecordWriter.h"
#include "HandMadeStreams.h"

namespace {

namespace rec = office::biff::rec;
using automation::Variant;
using office::biff::RecordWriter;

using testsupport::bof;
using testsupport::nothing;
const auto stream = testsupport::workbookStream;

void cellHeader(RecordWriter& w, std::uint16_t id, std::uint16_t row, std::uint16_t col, std::uint16_t xf = 15) {
    w.begin(id);
    w.u16(row);
    w.u16(col);
    w.u16(xf);
}

Variant at(const office::WorkbookModel& m, int row, int col) {
    const office::Cell* c = m.sheets.at(0).cell(row, col);
    return c ? c->value.toVariant() : Variant();
}

TEST(BiffReader, SharedStringsAcrossContinueRecords) {
    auto sst = [](RecordWriter& w) {
        w.begin(rec::kSst);
        w.u32(4);
        w.u32(4);
        // 0: "abcdef" compressed, split after "abc"; the CONTINUE switches to 16-bit.
        w.u16(6);
        w.u8(0x00);
        w.raw(reinterpret_cast<const std::uint8_t*>("abc"), 3);
        w.end();
        w.begin(rec::kContinue);
        w.u8(0x01);
        w.chars(u"d\u00E9\u20AC", false);
        // 1: rich text (2 runs) with phonetic data, both split by the next CONTINUE.
        w.u16(2);
        w.u8(0x0C);
        w.u16(2);
        w.u32(6);
        w.chars(u"xy", true);
        w.zeros(5);
        w.end();
        w.begin(rec::kContinue);
        w.zeros(3 + 6);  // rest of the runs and the phonetic block: no flag byte here
        // 2: a non-BMP character whose surrogate pair is split between records.
        w.u16(3);
        w.u8(0x01);
        w.chars(u"A\xD83D", false);
        w.end();
        w.begin(rec::kContinue);
        w.u8(0x01);
        w.chars(u"\xDE00", false);
        // 3: empty string ending the table.
        w.u16(0);
        w.u8(0);
        w.end();
    };
    auto cells = [](RecordWriter& w) {
        for (std::uint16_t i = 0; i < 4; ++i) {
            cellHeader(w, rec::kLabelSst, i, 0);
            w.u32(i);
            w.end();
        }
    };
    auto model = office::biff::readWorkbookStream(stream(nothing, sst, cells), "");
    EXPECT_EQ(at(model, 1, 1), Variant("abcd\u00E9\u20AC"));
    EXPECT_EQ(at(model, 2, 1), Variant("xy"));
    EXPECT_EQ(at(model, 3, 1), Variant("A\U0001F600"));
    EXPECT_EQ(at(model, 4, 1), Variant(""));
    EXPECT_TRUE(at(model, 4, 1).isText());
}

TEST(BiffReader, NumberRecordsAndBooleansAndErrors) {
    auto cells = [](RecordWriter& w) {
        cellHeader(w, rec::kNumber, 0, 0);
        w.f64(-1234.5678);
        w.end();
        cellHeader(w, rec::kRk, 0, 1);
        w.u32((static_cast<std::uint32_t>(-7) << 2) | 0x2);  // integer -7
        w.end();
        cellHeader(w, rec::kRk, 0, 2);
        w.u32((12345u << 2) | 0x3);  // 123.45
        w.end();
        cellHeader(w, rec::kRk, 0, 3);
        w.u32(0x3FF00000);  // 1.0 as the top of a double
        w.end();
        w.begin(rec::kMulRk);  // row 2, columns B..D
        w.u16(1);
        w.u16(1);
        for (std::uint32_t v : {1u, 2u, 3u}) {
            w.u16(15);
            w.u32((v << 2) | 0x2);
        }
        w.u16(3);
        w.end();
        cellHeader(w, rec::kBoolErr, 2, 0);
        w.u8(1);
        w.u8(0);
        w.end();
        cellHeader(w, rec::kBoolErr, 2, 1);
        w.u8(0x07);
        w.u8(1);
        w.end();
        cellHeader(w, rec::kLabel, 3, 0);
        w.unicodeString(u"\u00C5 label \u4E2D");
        w.end();
    };
    auto model = office::biff::readWorkbookStream(stream(nothing, nothing, cells), "");
    EXPECT_EQ(at(model, 1, 1), Variant(-1234.5678));
    EXPECT_EQ(at(model, 1, 2), Variant(-7.0));
    EXPECT_EQ(at(model, 1, 3), Variant(123.45));
    EXPECT_EQ(at(model, 1, 4), Variant(1.0));
    EXPECT_EQ(at(model, 2, 1), Variant());
    EXPECT_EQ(at(model, 2, 2), Variant(1.0));
    EXPECT_EQ(at(model, 2, 4), Variant(3.0));
    EXPECT_EQ(at(model, 3, 1), Variant::boolean(true));
    EXPECT_EQ(at(model, 3, 2), Variant::error(0x07));
    EXPECT_EQ(at(model, 4, 1), Variant("\u00C5 label \u4E2D"));
}

void formula(RecordWriter& w, std::uint16_t row, std::uint8_t type, std::uint8_t value) {
    cellHeader(w, rec::kFormula, row, 1);
    std::uint8_t result[8] = {type, 0, value, 0, 0, 0, 0xFF, 0xFF};
    w.raw(result, 8);
    w.u16(0);
    w.u32(0);
    w.u16(0);  // empty formula: the reader takes only the cached result
    w.end();
}

TEST(BiffReader, FormulaCachedResults) {
    auto cells = [](RecordWriter& w) {
        cellHeader(w, rec::kFormula, 0, 1);
        w.f64(5150);
        w.u16(0);
        w.u32(0);
        w.u16(0);
        w.end();
        // Text result in STRING, after a shared formula record, continued once.
        formula(w, 1, 0, 0);
        w.begin(0x04BC);
        w.zeros(10);
        w.end();
        w.begin(rec::kString);
        w.u16(5);
        w.u8(0);
        w.raw(reinterpret_cast<const std::uint8_t*>("ab"), 2);
        w.end();
        w.begin(rec::kContinue);
        w.u8(1);
        w.chars(u"c\u00FC\u0100", false);
        w.end();
        formula(w, 2, 1, 1);     // TRUE
        formula(w, 3, 2, 0x2A);  // #N/A
        formula(w, 4, 3, 0);     // empty text
        formula(w, 5, 0, 0);     // text result whose STRING never comes
        cellHeader(w, rec::kNumber, 6, 1);
        w.f64(1);
        w.end();
        w.begin(rec::kString);  // a stray STRING must not land on another cell
        w.unicodeString(u"stray");
        w.end();
    };
    auto model = office::biff::readWorkbookStream(stream(nothing, nothing, cells), "");
    EXPECT_EQ(at(model, 1, 2), Variant(5150.0));
    EXPECT_EQ(at(model, 2, 2), Variant("abc\u00FC\u0100"));
    EXPECT_EQ(at(model, 3, 2), Variant::boolean(true));
    EXPECT_EQ(at(model, 4, 2), Variant::error(0x2A));
    EXPECT_EQ(at(model, 5, 2), Variant(""));
    EXPECT_EQ(at(model, 6, 2), Variant(""));
    EXPECT_EQ(at(model, 7, 2), Variant(1.0));
}

void font(RecordWriter& w, std::uint16_t weight, std::uint8_t underline, const std::u16string& name) {
    w.begin(rec::kFont);
    w.u16(240);
    w.u16(0x02);  // italic
    w.u16(0x7FFF);
    w.u16(weight);
    w.u16(0);
    w.u8(underline);
    w.u8(2);
    w.u8(0);
    w.u8(0);
    w.shortString(name);
    w.end();
}

void xf(RecordWriter& w, std::uint16_t fileFont, std::uint16_t format, std::uint16_t flags) {
    w.begin(rec::kXf);
    w.u16(fileFont);
    w.u16(format);
    w.u16(flags);
    for (std::uint8_t i = 0; i < 14; ++i) w.u8(i);
    w.end();
}

TEST(BiffReader, FontsFormatsXfsRowsAndColumns) {
    auto globals = [](RecordWriter& w) {
        w.begin(rec::kWindow1);
        w.zeros(10);
        w.u16(0);  // active tab
        w.u16(0);
        w.zeros(4);
        w.end();
        for (int i = 0; i < 4; ++i) font(w, 400, 0, u"Arial");
        font(w, 700, 1, u"Calibri");  // file font index 5: model font 4
        w.begin(rec::kFormat);
        w.u16(164);
        w.unicodeString(u"0.000\" \u20AC\"");
        w.end();
        for (int i = 0; i < 16; ++i) xf(w, 0, 0, i < 15 ? 0xFFF5 : 0x0001);
        xf(w, 5, 164, 0x0003);  // XF 16: the bold font, locked + hidden, parent 0
        xf(w, 4, 0, 0x0011);    // XF 17: names the missing font 4, parent style 1
    };
    auto cells = [](RecordWriter& w) {
        w.begin(rec::kColInfo);  // columns C..E hidden, width 3000, XF 16
        w.u16(2);
        w.u16(4);
        w.u16(3000);
        w.u16(16);
        w.u16(1);
        w.u16(0);
        w.end();
        w.begin(rec::kRow);  // row 2: bold row format, custom height 400, hidden
        w.u16(1);
        w.u16(0);
        w.u16(0);
        w.u16(400);
        w.u32(0);
        w.u16(0x0100 | 0x0080 | 0x0040 | 0x0020);
        w.u16(16);
        w.end();
        cellHeader(w, rec::kBlank, 1, 3, 16);
        w.end();
        w.begin(rec::kMulBlank);  // row 3, B..C with XF 17, 999 (out of range: 15)
        w.u16(2);
        w.u16(1);
        w.u16(17);
        w.u16(999);
        w.u16(2);
        w.end();
    };
    auto model = office::biff::readWorkbookStream(stream(globals, nothing, cells), "");
    ASSERT_EQ(model.fonts.size(), 5u);
    EXPECT_EQ(model.fonts[4].name, "Calibri");
    EXPECT_TRUE(model.fonts[4].bold());
    EXPECT_TRUE(model.fonts[4].italic);
    EXPECT_EQ(model.fonts[4].underline, 1);
    EXPECT_EQ(model.fonts[4].heightTwips, 240);
    EXPECT_EQ(model.fonts[4].family, 2);
    EXPECT_EQ(model.numberFormats.at(164), "0.000\" \u20AC\"");
    ASSERT_EQ(model.xfs.size(), 18u);
    EXPECT_TRUE(model.xfs[0].isStyle);
    EXPECT_FALSE(model.xfs[15].isStyle);
    EXPECT_EQ(model.xfs[16].font, 4);
    EXPECT_EQ(model.xfs[16].format, 164);
    EXPECT_TRUE(model.xfs[16].protection.locked);
    EXPECT_TRUE(model.xfs[16].protection.formulaHidden);
    // Bytes 6..19 hold 0..13: rotation 1, indent 2, fill colours from the last word 0x0D0C.
    EXPECT_EQ(model.xfs[16].alignment.rotation, 1);
    EXPECT_EQ(model.xfs[16].alignment.indent, 2);
    EXPECT_EQ(model.xfs[16].fill.foreground, 0x0C);
    EXPECT_EQ(model.xfs[16].fill.background, 0x1A);
    EXPECT_EQ(model.xfs[17].font, 0);
    EXPECT_EQ(model.xfs[17].parentStyle, 1);
    EXPECT_TRUE(model.fontOfXf(16).bold());

    const auto& sheet = model.sheets[0];
    for (std::uint16_t c : {2, 3, 4}) {
        ASSERT_TRUE(sheet.columns.count(c));
        EXPECT_TRUE(sheet.columns.at(c).hidden);
        EXPECT_EQ(sheet.columns.at(c).width, 3000);
        EXPECT_EQ(sheet.columns.at(c).xf, std::optional<std::uint16_t>(16));
    }
    EXPECT_FALSE(sheet.columns.count(5));
    ASSERT_GE(sheet.rows.all().size(), 3u);
    EXPECT_EQ(sheet.rows.all()[1].xf, std::optional<std::uint16_t>(16));
    EXPECT_EQ(sheet.rows.all()[1].heightTwips, 400);
    EXPECT_TRUE(sheet.rows.all()[1].customHeight);
    EXPECT_TRUE(sheet.rows.all()[1].hidden);
    EXPECT_EQ(sheet.cell(2, 4)->xf, 16);
    EXPECT_EQ(sheet.cell(3, 2)->xf, 17);
    EXPECT_EQ(sheet.cell(3, 3)->xf, 15);
}

TEST(BiffReader, EmbeddedChartSubstreamIsSkipped) {
    auto cells = [](RecordWriter& w) {
        cellHeader(w, rec::kNumber, 0, 0);
        w.f64(1);
        w.end();
        bof(w, rec::kBofChart);
        cellHeader(w, rec::kNumber, 0, 0);  // inside the chart: not a cell of the sheet
        w.f64(99);
        w.end();
        bof(w, rec::kBofChart);  // deeper nesting still balances
        w.empty(rec::kEof);
        w.empty(rec::kEof);
        cellHeader(w, rec::kNumber, 1, 0);
        w.f64(2);
        w.end();
    };
    auto model = office::biff::readWorkbookStream(stream(nothing, nothing, cells), "");
    EXPECT_EQ(at(model, 1, 1), Variant(1.0));
    EXPECT_EQ(at(model, 2, 1), Variant(2.0));
}

void expectDamaged(const std::vector<std::uint8_t>& bytes, const std::string& fragment) {
    try {
        office::biff::readWorkbookStream(bytes, "");
        ADD_FAILURE() << "no error";
    } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), 1004);
        EXPECT_NE(e.description().find(fragment), std::string::npos) << e.description();
    }
}

TEST(BiffReader, DamagedStreamsNameTheProblem) {
    expectDamaged({}, "empty");
    RecordWriter biff5;
    biff5.begin(rec::kBof);
    biff5.u16(0x0500);
    biff5.u16(rec::kBofGlobals);
    biff5.end();
    expectDamaged(biff5.bytes(), "Excel 5.0/95");
    auto missingString = [](RecordWriter& w) {
        cellHeader(w, rec::kLabelSst, 0, 0);
        w.u32(3);
        w.end();
    };
    expectDamaged(stream(nothing, nothing, missingString), "missing shared string");
    auto outside = [](RecordWriter& w) {
        w.begin(rec::kMulRk);  // 2 cells starting at column 255 run past the last column
        w.u16(0);
        w.u16(255);
        w.zeros(12);
        w.u16(256);
        w.end();
    };
    expectDamaged(stream(nothing, nothing, outside), "outside the sheet");
    auto shortSst = [](RecordWriter& w) {
        w.begin(rec::kSst);
        w.u32(2);
        w.u32(2);
        w.u16(1);
        w.u8(0);
        w.u8('a');
        w.end();
    };
    expectDamaged(stream(nothing, shortSst, nothing), "string table");
    // Two sheets naming the same substream.
    RecordWriter twice;
    bof(twice, rec::kBofGlobals);
    std::vector<std::size_t> fields;
    for (const char16_t* name : {u"A", u"B"}) {
        twice.begin(rec::kBoundSheet);
        fields.push_back(twice.size());
        twice.u32(0);
        twice.u16(0);
        twice.shortString(name);
        twice.end();
    }
    twice.empty(rec::kEof);
    for (std::size_t field : fields) twice.patchU32(field, static_cast<std::uint32_t>(twice.size()));
    bof(twice, rec::kBofWorksheet);
    twice.empty(rec::kEof);
    expectDamaged(twice.bytes(), "share one substream");
    auto cut = stream(nothing, nothing, nothing);
    cut.resize(cut.size() - 4);  // no sheet EOF
    expectDamaged(cut, "has no end");
    cut = stream(nothing, nothing, nothing);
    cut[cut.size() - 2] = 0x10;  // the last record claims 16 bytes it does not have
    expectDamaged(cut, "past the end");
}

}  // namespace
