// Every sample and reference workbook read, written back (encrypted ones with
// RC4 and the same password) and read again: the model keeps what it carries
// and every stream and storage besides the Workbook stream comes back
// byte for byte.
#include <gtest/gtest.h>

#include "BiffModelCompare.h"
#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "support/TestSupport.h"

namespace {

using office::WorkbookModel;

// "" when the trees hold the same names, kinds, CLSIDs and bytes.
std::string treeDifference(const office::cfb::Node& a, const office::cfb::Node& b, const std::string& path = "") {
    const std::string where = path + "/" + a.name;
    if (a.name != b.name || a.isStorage != b.isStorage) return where + ": name or kind";
    if (a.clsid != b.clsid) return where + ": CLSID";
    if (a.data != b.data) return where + ": bytes";
    if (a.children.size() != b.children.size()) return where + ": child count";
    for (std::size_t i = 0; i < a.children.size(); ++i)
        if (auto d = treeDifference(a.children[i], b.children[i], where); !d.empty()) return d;
    return "";
}

TEST(XlsRoundTrip, EverySampleKeepsItsModelAndOtherStreams) {
    int files = 0, withOtherStreams = 0;
    for (const auto& sample : testsupport::sampleWorkbooks()) {
        SCOPED_TRACE(sample.path.filename().string());
        const WorkbookModel original = office::readXlsFile(sample.path.string(), sample.password);
        const auto written = office::writeXls(original, sample.password);
        const WorkbookModel back = office::readXls(written, sample.password);
        EXPECT_EQ(bifftest::firstDifference(bifftest::canonical(original), bifftest::canonical(back)), "");
        EXPECT_EQ(back.rootStorage.children.size(), original.rootStorage.children.size());
        EXPECT_EQ(treeDifference(original.rootStorage, back.rootStorage), "");
        // The file read does not hold the Workbook stream twice.
        EXPECT_EQ(back.rootStorage.child("Workbook"), nullptr);
        if (!original.rootStorage.children.empty()) ++withOtherStreams;
        if (!sample.password.empty()) {
            EXPECT_THROW(office::readXls(written, ""), automation::AutomationError);
        }
        ++files;
    }
    EXPECT_GE(files, 8);
    EXPECT_GE(withOtherStreams, 1);
}

}  // namespace

namespace {

TEST(XlsRoundTrip, VbaProjectAndCodeNamesSurvive) {
    const auto path = testsupport::sharedSample("reference/unlock_excel_Unlocked_with_macro.xls");
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "shared reference files absent";
    const WorkbookModel original = office::readXlsFile(path.string(), "");
    ASSERT_TRUE(original.hasVbaProject);
    EXPECT_EQ(original.codeName, "ThisWorkbook");
    ASSERT_FALSE(original.sheets.empty());
    EXPECT_EQ(original.sheets[0].codeName, "Sheet1");
    ASSERT_NE(original.rootStorage.find("_VBA_PROJECT_CUR/VBA/dir"), nullptr);
    const WorkbookModel back = office::readXls(office::writeXls(original, ""), "");
    EXPECT_TRUE(back.hasVbaProject);
    EXPECT_EQ(back.codeName, "ThisWorkbook");
    EXPECT_EQ(back.sheets[0].codeName, "Sheet1");
    EXPECT_EQ(back.rootStorage, original.rootStorage);
}

}  // namespace
