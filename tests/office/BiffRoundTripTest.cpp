// Property tests: random workbooks written as BIFF8 (clear and RC4) and read
// back give the same model, in the parts a .xls file keeps.
#include <gtest/gtest.h>

#include <random>

#include "BiffModelCompare.h"
#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "office/biff/Biff8.h"

namespace {

using automation::Variant;
using office::WorkbookModel;

class RandomWorkbook {
public:
    explicit RandomWorkbook(unsigned seed) : rng_(seed) {}

    WorkbookModel make() {
        WorkbookModel m = WorkbookModel::withDefaults();
        office::FontDef bold;
        bold.weight = 700;
        office::FontDef underlined;
        underlined.underline = 1;
        underlined.name = "Times New Roman";
        office::FontDef big;
        big.heightTwips = 480;
        big.italic = true;
        big.colorIndex = 10;
        formats_ = {15, m.xfWithFont(15, bold), m.xfWithFont(15, underlined), m.xfWithFont(15, big)};
        m.numberFormats[164] = "#,##0.000";
        m.numberFormats[165] = "0.0\" \u20AC\"";
        m.xfs[formats_[3]].format = 165;
        m.xfs[formats_[3]].protection = 0x03;

        const int sheets = 1 + pick(4);
        for (int s = 0; s < sheets; ++s) {
            office::SheetModel& sheet = m.sheets.emplace_back();
            sheet.name = "S" + std::to_string(s) + (chance(50) ? " \u00E9\u4E2D\U0001F600" : "");
            int vis = pick(10);
            sheet.visibility = vis < 6 ? office::SheetVisibility::Visible
                               : vis < 8 ? office::SheetVisibility::Hidden
                                         : office::SheetVisibility::VeryHidden;
            if (chance(10)) {
                sheet.kind = office::SheetKind::Chart;
                continue;
            }
            fillSheet(sheet);
        }
        // At least one visible sheet, and the active one among them.
        m.sheets[pick(static_cast<int>(m.sheets.size()))].visibility = office::SheetVisibility::Visible;
        for (std::size_t i = 0; i < m.sheets.size(); ++i)
            if (m.sheets[i].visibility == office::SheetVisibility::Visible && chance(50))
                m.activeSheet = static_cast<std::uint16_t>(i);
        if (m.sheets[m.activeSheet].visibility != office::SheetVisibility::Visible)
            for (std::size_t i = 0; i < m.sheets.size(); ++i)
                if (m.sheets[i].visibility == office::SheetVisibility::Visible) {
                    m.activeSheet = static_cast<std::uint16_t>(i);
                    break;
                }
        m.firstVisibleTab = static_cast<std::uint16_t>(pick(static_cast<int>(m.sheets.size())));
        m.protection.structure = chance(20);
        m.protection.windows = chance(10);
        if (chance(50)) m.protection.passwordHash = static_cast<std::uint16_t>(pick(0x10000));
        return m;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }
    std::uint16_t format() { return formats_[pick(static_cast<int>(formats_.size()))]; }

    std::string text() {
        static const char* const pieces[] = {"a", "Z", " ", "\u00E9", "\u00FF", "\u0100", "\u4E2D",
                                             "\U0001F600", "\U00010348", "\"", "\t", "0"};
        int kind = pick(20);
        if (kind == 0) return "";
        std::size_t length = 1 + pick(12);
        if (kind == 1) length = 5000 + pick(6000);  // over 8224 bytes: CONTINUE records
        bool ascii = chance(50);
        std::string s;
        for (std::size_t i = 0; i < length; ++i) s += ascii ? std::string(1, char('a' + pick(26))) : pieces[pick(12)];
        return s;
    }

    double number() {
        switch (pick(8)) {
        case 0: return pick(2000) - 1000;                                     // RK integer
        case 1: return (pick(200000) - 100000) / 100.0;                       // RK x100 often
        case 2: return std::uniform_real_distribution<double>(-1e6, 1e6)(rng_);
        case 3: return std::ldexp(1.0, pick(200) - 100);                      // RK double top
        case 4: return (chance(50) ? 1 : -1) * 1e300 * (1 + pick(9));
        case 5: return 1e-300 * (1 + pick(9));
        case 6: return 536870911.0 + pick(4);                                 // around the RK integer limit
        default: return -0.0;
        }
    }

    void fillSheet(office::SheetModel& sheet) {
        for (int c = 0, n = pick(4); c < n; ++c) {
            office::ColumnDef& col = sheet.columns[static_cast<std::uint16_t>(pick(20))];
            col.width = chance(70) ? static_cast<std::uint16_t>(256 + pick(8000)) : 0;
            col.hidden = chance(40);
            if (chance(40)) col.xf = format();
        }
        const int rows = pick(40);
        for (int r = 1; r <= rows; ++r) {
            if (chance(30)) continue;
            office::RowDef& row = sheet.rowAt(static_cast<std::uint32_t>(r));
            if (chance(10)) row.xf = format();  // a whole row set bold / underlined
            if (chance(10)) {
                row.heightTwips = static_cast<std::uint16_t>(100 + pick(800));
                row.customHeight = true;
            }
            row.hidden = chance(5);
            for (int c = 0, n = pick(12); c < n; ++c) {
                office::Cell& cell = sheet.cellAt(static_cast<std::uint32_t>(r), static_cast<std::uint32_t>(1 + pick(30)));
                switch (pick(10)) {
                case 0: cell.value = Variant(); break;
                case 1: cell.value = Variant::boolean(chance(50)); break;
                case 2: cell.value = Variant::error(0x2A); break;
                case 3: case 4: case 5: cell.value = number(); break;
                default: cell.value = text(); break;
                }
                if (chance(30)) cell.xf = format();
            }
        }
    }

    std::mt19937 rng_;
    std::vector<std::uint16_t> formats_;
};

void expectRoundTrip(const WorkbookModel& original, const std::string& password) {
    WorkbookModel back = office::readXls(office::writeXls(original, password), password);
    WorkbookModel expected = bifftest::canonical(original);
    WorkbookModel actual = bifftest::canonical(back);
    EXPECT_EQ(bifftest::firstDifference(expected, actual), "");
    EXPECT_TRUE(expected == actual);
}

TEST(BiffRoundTrip, RandomWorkbooksInClear) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        expectRoundTrip(RandomWorkbook(seed).make(), "");
    }
}

TEST(BiffRoundTrip, RandomWorkbooksWithPassword) {
    const char* const passwords[] = {"secret", "p\u00E4ss w\u00F6rd \u4E2D", "x", "a much longer password 1234567890"};
    for (unsigned seed = 100; seed < 120; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::string password = passwords[seed % 4];
        WorkbookModel model = RandomWorkbook(seed).make();
        auto bytes = office::writeXls(model, password);
        expectRoundTrip(model, password);
        EXPECT_THROW(office::readXls(bytes, password + "!"), automation::AutomationError);
        EXPECT_THROW(office::readXls(bytes, ""), automation::AutomationError);
    }
}

TEST(BiffRoundTrip, WholeRowFontSurvives) {
    WorkbookModel m = WorkbookModel::withDefaults();
    office::SheetModel& sheet = m.sheets.emplace_back();
    sheet.name = "Rows";
    office::FontDef bold;
    bold.weight = 700;
    bold.underline = 1;
    std::uint16_t boldXf = m.xfWithFont(15, bold);
    sheet.cellAt(3, 2).value = "before";
    sheet.rowAt(3).xf = boldXf;
    for (office::Cell& c : sheet.rowAt(3).cells) c.xf = boldXf;
    sheet.cellAt(3, 6).value = 4.5;  // a cell made after the row format takes it

    WorkbookModel back = office::readXls(office::writeXls(m, ""), "");
    const office::SheetModel& read = back.sheets.at(0);
    ASSERT_EQ(read.rows.at(2).xf, std::optional<std::uint16_t>(boldXf));
    EXPECT_TRUE(back.fontOfXf(*read.rows[2].xf).bold());
    EXPECT_EQ(back.fontOfXf(*read.rows[2].xf).underline, 1);
    EXPECT_EQ(read.cell(3, 1)->xf, boldXf);
    EXPECT_EQ(read.cell(3, 6)->xf, boldXf);
    EXPECT_EQ(read.cell(3, 6)->value, Variant(4.5));
}

TEST(BiffRoundTrip, ProtectedStructureIsEncryptedWithTheBuiltInPassword) {
    WorkbookModel m = WorkbookModel::withDefaults();
    m.sheets.emplace_back().name = "Locked";
    m.sheets[0].cellAt(1, 1).value = "inside";
    m.protection.structure = true;
    m.protection.passwordHash = 0x83AF;
    auto stream = office::biff::writeWorkbookStream(m, "");
    ASSERT_GT(stream.size(), 24u);
    EXPECT_EQ(stream[20] | (stream[21] << 8), 0x002F);  // FILEPASS right after BOF
    WorkbookModel back = office::biff::readWorkbookStream(stream, "");
    EXPECT_EQ(back.protection, m.protection);
    EXPECT_EQ(back.sheets[0].cell(1, 1)->value, Variant("inside"));

    m.protection.passwordHash = 0;  // protected without a password: stays in clear
    stream = office::biff::writeWorkbookStream(m, "");
    EXPECT_NE(stream[20] | (stream[21] << 8), 0x002F);
    EXPECT_EQ(office::biff::readWorkbookStream(stream, "").protection, m.protection);
}

TEST(BiffRoundTrip, BadModelsAreRefused) {
    WorkbookModel none = WorkbookModel::withDefaults();
    EXPECT_THROW(office::biff::writeWorkbookStream(none, ""), automation::AutomationError);
    WorkbookModel hidden = WorkbookModel::withDefaults();
    hidden.sheets.emplace_back().name = "H";
    hidden.sheets[0].visibility = office::SheetVisibility::Hidden;
    EXPECT_THROW(office::biff::writeWorkbookStream(hidden, ""), automation::AutomationError);
}

TEST(BiffRoundTrip, SparseTablesAreCompleted) {
    // A model with fewer than the 4 fonts and 16 XFs a file needs, and cells
    // naming XFs that do not exist: the file gets the defaults, cells XF 15.
    WorkbookModel m;
    m.sheets.emplace_back().name = "Only";
    m.sheets[0].cellAt(1, 1) = office::Cell{Variant("x"), 400};
    WorkbookModel back = office::readXls(office::writeXls(m, ""), "");
    WorkbookModel defaults = WorkbookModel::withDefaults();
    EXPECT_EQ(back.fonts, defaults.fonts);
    EXPECT_EQ(back.xfs, defaults.xfs);
    EXPECT_EQ(back.sheets[0].cell(1, 1)->xf, 15);
    EXPECT_EQ(back.sheets[0].cell(1, 1)->value, Variant("x"));
}

}  // namespace
