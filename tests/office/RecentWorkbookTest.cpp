// Opening a workbook file again: the decrypted copy of the last file read is
// used only for the very same bytes and password, and a model read from it is
// the workbook as on disk, whatever was done to the model read before.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "EngineTestSupport.h"
#include "automation/AutomationError.h"
#include "office/RecentWorkbook.h"
#include "support/TestSupport.h"

using automation::AutomationError;
using automation::Variant;
using namespace automation::excel;
namespace fs = std::filesystem;

namespace {

const std::string kPassword = "xy1234";

class RecentWorkbook : public ::testing::Test {
protected:
    // A saved workbook whose DATA!A2 holds `text`, with the open password.
    void save(const fs::path& path, const std::string& text) {
        auto app = enginetest::newApplication();
        auto book = app->GetWorkbooks().Add();
        auto sheet = book->WorksheetAt(1);
        sheet->SetName("DATA");
        sheet->Cells(1, 1)->SetValue(Variant("Pos."));
        for (long row = 2; row <= 400; ++row) sheet->Cells(row, 2)->SetValue(Variant("line " + std::to_string(row)));
        sheet->Cells(2, 1)->SetValue(Variant(text));
        book->SaveAs(path.string(), kPassword);
        app->Quit();
    }
    Variant cellA2(const fs::path& path, const std::string& password = kPassword) {
        auto app = enginetest::newApplication();
        auto book = app->GetWorkbooks().Open(path.string(), OpenOptions{password, 0, true});
        Variant value = book->Worksheets("DATA")->Cells(2, 1)->Value();
        app->Quit();
        return value;
    }
    bool kept(const fs::path& path, const std::string& password = kPassword) {
        const auto bytes = testsupport::readFileBytes(path);
        return office::findRecentWorkbook(office::RecentWorkbook::digestOf(bytes), password) != nullptr;
    }

    testsupport::TempFolder folder{"recent-workbook"};
    fs::path path = folder.path() / "Base.xls";
};

}  // namespace

TEST_F(RecentWorkbook, AFileRewrittenBehindTheEngineIsReadAgain) {
    // Another program writes a file of the same size in place (no rename,
    // perhaps within the same clock tick): only the bytes tell it apart.
    const fs::path other = folder.path() / "Other.xls";
    save(path, "first");
    save(other, "secnd");
    ASSERT_EQ(fs::file_size(path), fs::file_size(other));

    EXPECT_EQ(cellA2(path), Variant("first"));
    ASSERT_TRUE(kept(path));
    {
        const auto bytes = testsupport::readFileBytes(other);
        std::ofstream out(path, std::ios::binary | std::ios::in);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    EXPECT_EQ(cellA2(path), Variant("secnd"));
}

TEST_F(RecentWorkbook, ChangesLeftUnsavedDoNotReachTheNextOpen) {
    save(path, "first");
    auto app = enginetest::newApplication();
    auto book = app->GetWorkbooks().Open(path.string(), OpenOptions{kPassword, 0, false});
    ASSERT_TRUE(kept(path));
    auto sheet = book->Worksheets("DATA");
    sheet->Cells(2, 1)->SetValue(Variant("changed"));
    sheet->Rows(3)->Delete();
    sheet->SetName("RENAMED");
    book->Close(false);
    app->Quit();

    ASSERT_TRUE(kept(path));  // the next open is served from the kept copy
    auto again = enginetest::newApplication();
    auto reread = again->GetWorkbooks().Open(path.string(), OpenOptions{kPassword, 0, true});
    auto data = reread->Worksheets("DATA");
    EXPECT_EQ(data->Cells(2, 1)->Value(), Variant("first"));
    EXPECT_EQ(data->Cells(3, 2)->Value(), Variant("line 3"));
    again->Quit();
}

TEST_F(RecentWorkbook, AnotherPasswordIsCheckedAgain) {
    save(path, "first");
    EXPECT_EQ(cellA2(path), Variant("first"));
    ASSERT_TRUE(kept(path));
    EXPECT_FALSE(kept(path, "wrong"));
    EXPECT_THROW(cellA2(path, "wrong"), AutomationError);
    EXPECT_EQ(cellA2(path), Variant("first"));
}
