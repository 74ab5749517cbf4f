// Property tests: random workbooks written as BIFF8 (clear and RC4) and read
// back give the same model, in the parts a .xls file keeps.
#include <gtest/gtest.h>

#include <random>

#include "BiffModelCompare.h"
#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "office/biff/Biff8.h"
#include "office/biff/PictureStore.h"

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
        office::XfDef& special = m.xfs[formats_[3]];
        special.protection = {true, true};
        special.alignment = {office::HorizontalAlignment::Center, office::VerticalAlignment::Top, true, false, 45, 3,
                             false, 1};
        special.borders.top = {office::BorderStyle::Thick, 10};
        special.borders.bottom = {office::BorderStyle::Double, 12};
        special.borders.left = {office::BorderStyle::Dotted, 0x40};
        special.borders.diagonal = {office::BorderStyle::Hair, 17};
        special.borders.diagonalUp = true;
        special.fill = {17, 13, 22};
        special.groups.font = special.groups.fill = true;

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
                sheet.chartStream = chartSubstream();
                continue;
            }
            fillSheet(sheet);
            fillSettings(sheet);
            fillPictures(m, sheet);
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
        if (chance(30)) m.palette[pick(56)] = static_cast<std::uint32_t>(pick(0x1000000));
        m.dates1904 = chance(10);
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
                case 0: cell.value = office::CellValue(); break;
                case 1: cell.value = office::CellValue::boolean(chance(50)); break;
                case 2: cell.value = office::CellValue::error(0x2A); break;
                case 3: case 4: case 5: cell.value = number(); break;
                default: cell.value = text(); break;
                }
                if (chance(30)) cell.xf = format();
            }
        }
    }

    // The smallest chart substream a reader accepts: BOF and EOF.
    static std::vector<std::uint8_t> chartSubstream() {
        return {0x09, 0x08, 0x10, 0x00, 0x00, 0x06, 0x20, 0x00, 0xBB, 0x0D, 0xCC, 0x07, 0, 0, 0, 0,
                0x06, 0, 0, 0, 0x0A, 0x00, 0x00, 0x00};
    }

    office::CellRect block() {
        office::CellRect r;
        r.firstRow = 1 + pick(60000);
        r.firstColumn = 1 + pick(250);
        r.lastRow = r.firstRow + pick(5);
        r.lastColumn = r.firstColumn + pick(5);
        return r;
    }

    void fillSettings(office::SheetModel& sheet) {
        for (int i = 0, n = pick(3); i < n; ++i) sheet.mergedCells.push_back(block());
        if (chance(20)) sheet.defaultColumnWidth = static_cast<std::uint16_t>(1 + pick(30));
        if (chance(20)) sheet.defaultRowHeightTwips = static_cast<std::uint16_t>(100 + pick(500));
        office::SheetWindow& w = sheet.window;
        w.showGridlines = chance(50);
        w.showHeadings = chance(50);
        w.showZeros = chance(80);
        w.zoom = static_cast<std::uint16_t>(chance(50) ? 100 : 10 + pick(391));
        w.topRow = 1 + pick(100);
        w.leftColumn = 1 + pick(20);
        if (chance(30)) {
            office::WindowPane pane;
            pane.frozen = chance(70);
            pane.splitRow = pick(10);
            pane.splitColumn = pick(5);
            pane.topRow = pane.splitRow + 1;
            pane.leftColumn = pane.splitColumn + 1;
            pane.activePane = static_cast<std::uint8_t>(pick(4));
            w.pane = pane;
        }
        for (int i = 0, n = pick(3); i < n; ++i) {
            office::WindowSelection selection;
            selection.pane = static_cast<std::uint8_t>(pick(4));
            selection.activeRow = 1 + pick(1000);
            selection.activeColumn = 1 + pick(200);
            if (chance(50)) selection.ranges = {block(), block()};
            w.selections.push_back(selection);
        }
        office::PageSetup& p = sheet.pageSetup;
        p.leftMargin = pick(300) / 100.0;
        p.topMargin = pick(300) / 100.0;
        p.centerHorizontally = chance(50);
        p.centerVertically = chance(50);
        p.printGridlines = chance(30);
        p.fitToPages = chance(20);
        p.fitWidth = static_cast<std::uint16_t>(pick(3));
        p.header = chance(30) ? "&C&A \u00E9" : "";
        if (chance(50)) {
            p.printerSettingsValid = true;
            p.landscape = chance(50);
            p.scale = static_cast<std::uint16_t>(10 + pick(391));
            p.paperSize = static_cast<std::uint16_t>(pick(10));
        }
        if (chance(30)) sheet.protection = {true, chance(50), chance(50), static_cast<std::uint16_t>(pick(0x10000))};
    }

    // Pictures pasted on the sheet, some sharing a stored picture, some hidden.
    void fillPictures(WorkbookModel& m, office::SheetModel& sheet) {
        for (int i = 0, n = chance(40) ? 1 + pick(3) : 0; i < n; ++i) {
            if (m.pictures.empty() || chance(50)) {
                std::vector<std::uint8_t> png(20 + pick(20000));
                for (auto& b : png) b = static_cast<std::uint8_t>(pick(256));
                m.pictures.push_back(office::biff::pngPicture(png));
            }
            office::DrawingObject& picture = sheet.drawings.emplace_back();
            picture.kind = office::DrawingKind::Picture;
            picture.picture = static_cast<std::uint32_t>(1 + pick(static_cast<int>(m.pictures.size())));
            picture.objectId = static_cast<std::uint16_t>(i + 1);
            picture.hidden = chance(25);
            picture.anchor.flags = 2;
            picture.anchor.fromColumn = 1 + pick(200);
            picture.anchor.fromRow = 1 + pick(60000);
            picture.anchor.fromColumnOffset = static_cast<std::uint16_t>(pick(1024));
            picture.anchor.fromRowOffset = static_cast<std::uint16_t>(pick(256));
            picture.anchor.toColumn = picture.anchor.fromColumn + pick(5);
            picture.anchor.toRow = picture.anchor.fromRow + pick(5);
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
    ASSERT_EQ(read.rows.all().at(2).xf, std::optional<std::uint16_t>(boldXf));
    EXPECT_TRUE(back.fontOfXf(*read.rows.all()[2].xf).bold());
    EXPECT_EQ(back.fontOfXf(*read.rows.all()[2].xf).underline, 1);
    EXPECT_EQ(read.cell(3, 1)->xf, boldXf);
    EXPECT_EQ(read.cell(3, 6)->xf, boldXf);
    EXPECT_EQ(read.cell(3, 6)->value, office::CellValue(4.5));
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
    EXPECT_EQ(back.sheets[0].cell(1, 1)->value, office::CellValue("inside"));

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
    m.sheets[0].cellAt(1, 1) = office::Cell{office::CellValue("x"), 400, nullptr};
    WorkbookModel back = office::readXls(office::writeXls(m, ""), "");
    WorkbookModel defaults = WorkbookModel::withDefaults();
    EXPECT_EQ(back.fonts, defaults.fonts);
    EXPECT_EQ(back.xfs, defaults.xfs);
    EXPECT_EQ(back.sheets[0].cell(1, 1)->xf, 15);
    EXPECT_EQ(back.sheets[0].cell(1, 1)->value, office::CellValue("x"));
}

}  // namespace
