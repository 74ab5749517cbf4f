// Joining PDF files page by page: ranges in order, text kept as text, and
// files that are no PDF or ranges outside a file refused without a trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "automation/AutomationError.h"
#include "export/PdfFiles.h"
#include "pdf/PdfJoin.h"
#include "support/TestSupport.h"

namespace exporttest {
namespace {

namespace fs = std::filesystem;
using automation::AutomationError;

class PdfJoinTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) { return (folder.path() / name).string(); }
    std::string pdf(const std::string& name, const std::vector<std::string>& texts) {
        writePdf(path(name), texts);
        return path(name);
    }
    testsupport::TempFolder folder{"tavolex-pdfjoin"};
};

TEST_F(PdfJoinTest, RangesOfSeveralFilesFollowEachOtherInTheOrderAppended) {
    const std::string a = pdf("a.pdf", {"alpha one", "alpha two", "alpha three"});
    const std::string b = pdf("b.pdf", {"beta one", "beta two"});
    pdf::PdfJoin joined;
    EXPECT_EQ(joined.append(b, 2, 2), 1);
    EXPECT_EQ(joined.append(a, 2), 2);  // to the end
    EXPECT_EQ(joined.append(b), 2);
    EXPECT_EQ(joined.pageCount(), 5);
    joined.write(path("out.pdf"));
    EXPECT_EQ(pdfPageTexts(path("out.pdf")),
              (std::vector<std::string>{"beta two", "alpha two", "alpha three", "beta one", "beta two"}));
    EXPECT_EQ(pdf::PdfPageCount(path("out.pdf")), 5);
}

TEST_F(PdfJoinTest, AFileThatIsNoPdfOrARangeOutsideItAppendsNothing) {
    const std::string a = pdf("a.pdf", {"one", "two", "three"});
    std::ofstream(path("text.pdf")) << "just some words\n";
    std::ofstream(path("empty.pdf"));
    struct Case {
        std::string file;
        int first, last;
        std::string said;
    };
    const std::vector<Case> cases = {
        {path("text.pdf"), 1, 0, "no readable PDF"},
        {path("empty.pdf"), 1, 0, "no readable PDF"},
        {path("missing.pdf"), 1, 0, "no readable PDF"},
        {a, 0, 2, "has 3 pages, not pages 0 to 2"},
        {a, 2, 4, "has 3 pages, not pages 2 to 4"},
        {a, 3, 2, "has 3 pages, not pages 3 to 2"},
        {a, 4, 0, "has 3 pages, not pages 4 to 3"},
    };
    pdf::PdfJoin joined;
    joined.append(a, 1, 1);
    for (const Case& c : cases) {
        try {
            joined.append(c.file, c.first, c.last);
            ADD_FAILURE() << c.file << " " << c.first << "-" << c.last << " was appended";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.number(), 1004);
            EXPECT_NE(error.description().find(c.file), std::string::npos) << error.description();
            EXPECT_NE(error.description().find(c.said), std::string::npos) << error.description();
        }
    }
    EXPECT_EQ(joined.pageCount(), 1);
    joined.write(path("out.pdf"));
    EXPECT_EQ(pdfPageTexts(path("out.pdf")), (std::vector<std::string>{"one"}));
}

TEST_F(PdfJoinTest, WritingReplacesAnEarlierFileWholeAndLeavesNoTemporaryBehind) {
    const std::string a = pdf("a.pdf", {"one", "two"});
    std::ofstream(path("out.pdf")) << "an earlier export";
    pdf::PdfJoin joined;
    joined.append(a);
    joined.write(path("out.pdf"));
    EXPECT_EQ(pdfPageTexts(path("out.pdf")), (std::vector<std::string>{"one", "two"}));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.pdf", "out.pdf"}));

    // A folder that is not there: nothing written, the reason told.
    try {
        joined.write(path("gone/out.pdf"));
        ADD_FAILURE() << "written into a missing folder";
    } catch (const AutomationError& error) {
        EXPECT_NE(error.description().find("gone/out.pdf"), std::string::npos) << error.description();
    }
}

}  // namespace
}  // namespace exporttest
