// Reading workbooks written by LibreOffice (tests/data) and by Excel
// (the shared reference files): sheets, visibility, values, passwords.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "support/TestSupport.h"

namespace {

using office::SheetKind;
using office::SheetVisibility;
using office::WorkbookModel;

std::vector<std::string> sheetNames(const WorkbookModel& model) {
    std::vector<std::string> names;
    for (const auto& s : model.sheets) names.push_back(s.name);
    return names;
}

automation::Variant valueAt(const office::SheetModel& sheet, int row, int col) {
    const office::Cell* c = sheet.cell(row, col);
    return c ? c->value.toVariant() : automation::Variant();
}

WorkbookModel readReference(const std::string& name, const std::string& password = {}) {
    auto path = testsupport::sharedSample("reference/" + name);
    if (!std::filesystem::exists(path)) throw std::runtime_error("skip");
    return office::readXlsFile(path.string(), password);
}


TEST(XlsFileSamples, BudgetSheetsVisibilityAndCachedFormula) {
    WorkbookModel model = office::readXlsFile(testsupport::testData("budget.xls").string(), "");
    EXPECT_EQ(sheetNames(model), (std::vector<std::string>{"Data", "Summary", "Notes"}));
    EXPECT_EQ(model.sheets[0].visibility, SheetVisibility::Visible);
    EXPECT_EQ(model.sheets[1].visibility, SheetVisibility::Visible);
    EXPECT_EQ(model.sheets[2].visibility, SheetVisibility::Hidden);
    const auto& data = model.sheets[0];
    EXPECT_EQ(valueAt(data, 1, 1), automation::Variant("Month"));
    EXPECT_EQ(valueAt(data, 2, 2), automation::Variant(1200.0));
    const auto& summary = model.sheets[1];
    EXPECT_EQ(valueAt(summary, 2, 1), automation::Variant("Total income"));
    EXPECT_EQ(valueAt(summary, 2, 2), automation::Variant(5150.0));  // =SUM(...) cached result
    EXPECT_EQ(valueAt(summary, 4, 2), automation::Variant(1800.0));
    EXPECT_EQ(valueAt(model.sheets[2], 2, 2), automation::Variant(42.0));
    // Column E of Data is hidden.
    auto e = data.columns.find(4);
    ASSERT_NE(e, data.columns.end());
    EXPECT_TRUE(e->second.hidden);
    EXPECT_GE(model.fonts.size(), 4u);
    EXPECT_GE(model.xfs.size(), 16u);
}

TEST(XlsFileSamples, VeryHiddenSheet) {
    WorkbookModel model = office::readXlsFile(testsupport::testData("veryhidden.xls").string(), "");
    ASSERT_EQ(model.sheets.size(), 3u);
    EXPECT_EQ(model.sheets[2].name, "Notes");
    EXPECT_EQ(model.sheets[2].visibility, SheetVisibility::VeryHidden);
}

TEST(XlsFileSamples, OpenPasswordAndWrongPassword) {
    const std::string path = testsupport::testData("locked.xls").string();
    WorkbookModel model = office::readXlsFile(path, "ab1234");
    EXPECT_EQ(sheetNames(model), (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(valueAt(model.sheets[0], 2, 1), automation::Variant("beta"));
    EXPECT_EQ(valueAt(model.sheets[1], 1, 1), automation::Variant("gamma"));
    EXPECT_EQ(valueAt(model.sheets[1], 1, 2), automation::Variant(3.0));
    for (const std::string wrong : {"", "AB1234", "ab12345"}) {
        try {
            office::readXlsFile(path, wrong);
            ADD_FAILURE() << "opened with password '" << wrong << "'";
        } catch (const automation::AutomationError& e) {
            EXPECT_EQ(e.number(), 1004);
            EXPECT_EQ(e.description(),
                      "The password you supplied is not correct. Verify that the CAPS LOCK key is off and be "
                      "sure to use the correct capitalization.");
        }
    }
}

TEST(XlsFileSamples, BuiltInPasswordIsTriedSilently) {
    const std::string path = testsupport::testData("protected.xls").string();
    for (const std::string password : {"", "some other password"}) {
        WorkbookModel model = office::readXlsFile(path, password);
        EXPECT_EQ(sheetNames(model), (std::vector<std::string>{"Data", "Summary", "Notes"}));
        EXPECT_EQ(valueAt(model.sheets[1], 2, 2), automation::Variant(5150.0));
        EXPECT_TRUE(model.protection.structure);
        EXPECT_NE(model.protection.passwordHash, 0);
    }
    EXPECT_FALSE(office::readXlsFile(testsupport::testData("budget.xls").string(), "").protection.structure);
}

TEST(XlsFileSamples, MacroWorkbookCells) {
    WorkbookModel model = office::readXlsFile(testsupport::testData("macro_lo.xls").string(), "");
    EXPECT_EQ(sheetNames(model), (std::vector<std::string>{"Lists"}));
    EXPECT_EQ(valueAt(model.sheets[0], 1, 1), automation::Variant("macro sample"));
}

TEST(XlsFileSamples, ExcelChartSheetsKeepTheirPlace) {
    if (!std::filesystem::exists(testsupport::sharedSample("reference")))
        GTEST_SKIP() << "shared reference files absent";
    WorkbookModel charts = readReference("tika_testEXCEL-charts.xls");
    EXPECT_EQ(sheetNames(charts), (std::vector<std::string>{"charttabyodawg", "Sheet1", "Sheet2"}));
    EXPECT_EQ(charts.sheets[0].kind, SheetKind::Chart);
    EXPECT_EQ(charts.sheets[1].kind, SheetKind::Worksheet);
    EXPECT_EQ(valueAt(charts.sheets[1], 1, 1), automation::Variant("Test Excel Spreasheet"));
    EXPECT_EQ(valueAt(charts.sheets[1], 3, 4), automation::Variant(1.0));

    WorkbookModel scatter = readReference("poi_SimpleScatterChart.xls");
    EXPECT_EQ(sheetNames(scatter), (std::vector<std::string>{"Sheet1", "Chart1"}));
    EXPECT_EQ(scatter.sheets[1].kind, SheetKind::Chart);
    // The embedded chart on Sheet1 is a nested substream: the cells after it still count.
    EXPECT_EQ(valueAt(scatter.sheets[0], 1, 2), automation::Variant("Y"));
    EXPECT_EQ(valueAt(scatter.sheets[0], 3, 2), automation::Variant(1.5));

    WorkbookModel forms = readReference("poi_ex42570-20305.xls");
    EXPECT_EQ(sheetNames(forms), (std::vector<std::string>{"Data", "Chart"}));
    EXPECT_EQ(valueAt(forms.sheets[0], 1, 2), automation::Variant(44.5));
}

TEST(XlsFileSamples, ExcelEncryptedReferences) {
    if (!std::filesystem::exists(testsupport::sharedSample("reference")))
        GTEST_SKIP() << "shared reference files absent";
    struct Case {
        const char* file;
        const char* password;
        const char* firstSheet;
    };
    const Case cases[] = {
        {"poi_password.xls", "password", "\xD0\x9B\xD0\xB8\xD1\x81\xD1\x82" "1"},  // Лист1
        {"sheetjs_password_2002_40_basecrypto.xls", "password", "Sheet1"},
        {"sheetjs_password_2002_128_strong.xls", "password", "Sheet1"},
        {"msoffcrypto_rc4cryptoapi_password.xls", "Password1234_", "Sheet1"},
        {"poi_50833.xls", "", "Sheet1"},
        {"oletools_autostart-encrypt-standardpassword.xls", "", "Tabelle1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WorkbookModel model = readReference(c.file, c.password);
        ASSERT_FALSE(model.sheets.empty());
        EXPECT_EQ(model.sheets[0].name, c.firstSheet);
        if (std::string(c.password).empty()) continue;
        EXPECT_THROW(readReference(c.file, "not the password"), automation::AutomationError);
    }
    WorkbookModel crypto = readReference("msoffcrypto_rc4cryptoapi_password.xls", "Password1234_");
    EXPECT_EQ(valueAt(crypto.sheets[0], 1, 1), automation::Variant("lorem ipsum"));
    EXPECT_EQ(valueAt(crypto.sheets[0], 1, 2), automation::Variant(3.0));
    WorkbookModel strong = readReference("sheetjs_password_2002_128_strong.xls", "password");
    EXPECT_EQ(valueAt(strong.sheets[0], 2, 2), automation::Variant(10.0));
    WorkbookModel structure = readReference("poi_50833.xls");
    EXPECT_EQ(valueAt(structure.sheets[0], 1, 1), automation::Variant("test cell value"));
    EXPECT_TRUE(structure.protection.structure);
    EXPECT_EQ(structure.protection.passwordHash, 0x83AF);  // "password"
}

TEST(XlsFileSamples, EveryReferenceWorkbookReads) {
    auto folder = testsupport::sharedSample("reference");
    if (!std::filesystem::exists(folder)) GTEST_SKIP() << "shared reference files absent";
    const std::map<std::string, std::string> passwords = {
        {"poi_password.xls", "password"},
        {"sheetjs_password_2002_40_basecrypto.xls", "password"},
        {"sheetjs_password_2002_128_strong.xls", "password"},
        {"msoffcrypto_rc4cryptoapi_password.xls", "Password1234_"},
    };
    int read = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".xls") continue;
        SCOPED_TRACE(entry.path().filename().string());
        auto it = passwords.find(entry.path().filename().string());
        WorkbookModel model;
        ASSERT_NO_THROW(model = office::readXlsFile(entry.path().string(), it == passwords.end() ? "" : it->second));
        EXPECT_FALSE(model.sheets.empty());
        EXPECT_LT(model.activeSheet, model.sheets.size());
        ++read;
    }
    EXPECT_GE(read, 15);
}

}  // namespace
