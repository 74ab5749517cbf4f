// A workbook read again unchanged is a copy of the one read first; a file
// changed by a single byte, or opened with another password, is read afresh;
// a copy handed out and changed never changes the next one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "EngineTestSupport.h"
#include "office/engine/RecentRead.h"
#include "office/engine/WorkbookCodec.h"
#include "support/TestSupport.h"

namespace {

using automation::Variant;
using office::WorkbookModel;
using office::engine::ContentPrint;
using office::engine::FileStamp;
using office::engine::RecentRead;
namespace fs = std::filesystem;

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Reads `path` as the engine does on a first open, and keeps the model.
WorkbookModel readAndKeep(RecentRead& recent, const fs::path& path, const std::string& password) {
    std::vector<std::uint8_t> bytes = testsupport::readFileBytes(path);
    const ContentPrint print = ContentPrint::of(bytes);
    WorkbookModel model = office::engine::decodeWorkbook(std::move(bytes), password);
    recent.keep(print, password, model);
    return model;
}

void changeFirstCell(WorkbookModel& model) {
    for (office::SheetModel& sheet : model.sheets)
        if (sheet.kind == office::SheetKind::Worksheet) {
            sheet.rows.rowAt(1).cells.assign(1, office::Cell{office::CellValue(std::string("changed")), 15, {}});
            return;
        }
}

TEST(RecentRead, EverySampleReadAgainIsTheModelReadFirst) {
    std::size_t reused = 0;
    for (const testsupport::SampleWorkbook& sample : testsupport::sampleWorkbooks()) {
        SCOPED_TRACE(sample.path.filename().string());
        RecentRead recent;
        WorkbookModel first;
        try {
            first = readAndKeep(recent, sample.path, sample.password);
        } catch (const std::exception&) {
            continue;  // the damaged samples: nothing kept, nothing to reuse
        }
        FileStamp stamp;
        std::optional<WorkbookModel> again = recent.reuse(sample.path.string(), sample.password, stamp);
        if (!again) continue;  // a sample with large embedded objects is not kept
        ++reused;
        EXPECT_EQ(stamp, office::engine::stampOf(sample.path.string()));
        // A copy changed and dropped leaves the kept model as read.
        changeFirstCell(*again);
        EXPECT_NE(*again, first);
        again = recent.reuse(sample.path.string(), sample.password, stamp);
        ASSERT_TRUE(again);
        EXPECT_EQ(*again, first);
        // And it is what a fresh read gives.
        EXPECT_EQ(*again, office::engine::decodeWorkbook(testsupport::readFileBytes(sample.path), sample.password));
    }
    EXPECT_GT(reused, 5u);
}

TEST(RecentRead, AFileChangedByOneByteOrAnotherPasswordIsReadAfresh) {
    testsupport::TempFolder folder("recent-read");
    const fs::path path = folder.path() / "Base.xls";
    const testsupport::SampleWorkbook sample = testsupport::sampleWorkbooks().front();
    const std::vector<std::uint8_t> bytes = testsupport::readFileBytes(sample.path);
    writeBytes(path, bytes);
    RecentRead recent;
    FileStamp stamp;

    readAndKeep(recent, path, sample.password);
    EXPECT_FALSE(recent.reuse(path.string(), sample.password + "x", stamp));
    // The miss let the kept model go.
    EXPECT_FALSE(recent.reuse(path.string(), sample.password, stamp));

    for (const std::size_t at : {std::size_t{0}, bytes.size() / 2, bytes.size() - 1}) {
        readAndKeep(recent, path, sample.password);
        std::vector<std::uint8_t> changed = bytes;
        changed[at] ^= 1;
        writeBytes(path, changed);
        EXPECT_FALSE(recent.reuse(path.string(), sample.password, stamp)) << "byte " << at;
        writeBytes(path, bytes);
    }
    readAndKeep(recent, path, sample.password);
    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(0);
    writeBytes(path, longer);
    EXPECT_FALSE(recent.reuse(path.string(), sample.password, stamp));

    readAndKeep(recent, path, sample.password);
    fs::remove(path);
    EXPECT_FALSE(recent.reuse(path.string(), sample.password, stamp));
}

// Through the engine: another application saves a change of the same size
// between two opens of this one.
TEST(RecentRead, AnOpenSeesWhatAnotherProgramSavedInBetween) {
    testsupport::TempFolder folder("recent-read");
    const fs::path path = folder.path() / "Base.xls";
    auto writer = enginetest::newApplication();
    auto book = writer->GetWorkbooks().Add();
    book->WorksheetAt(1)->Cells(2, 1)->SetValue(Variant(1));
    book->SaveAs(path.string(), std::string("pw"));
    book->Close(false);

    auto reader = enginetest::newApplication();
    const automation::excel::OpenOptions options{std::string("pw"), 0, false};
    auto first = reader->GetWorkbooks().Open(path.string(), options);
    EXPECT_EQ(first->WorksheetAt(1)->Cells(2, 1)->Value(), Variant(1));
    first->WorksheetAt(1)->Cells(2, 1)->SetValue(Variant(5));  // never saved
    first->Close(false);

    const auto sizeBefore = fs::file_size(path);
    book = writer->GetWorkbooks().Open(path.string(), options);
    book->WorksheetAt(1)->Cells(2, 1)->SetValue(Variant(2));
    book->Save();
    book->Close(false);
    ASSERT_EQ(fs::file_size(path), sizeBefore);  // only the hash tells them apart

    auto second = reader->GetWorkbooks().Open(path.string(), options);
    EXPECT_EQ(second->WorksheetAt(1)->Cells(2, 1)->Value(), Variant(2));
    second->Close(false);
    auto third = reader->GetWorkbooks().Open(path.string(), options);
    EXPECT_EQ(third->WorksheetAt(1)->Cells(2, 1)->Value(), Variant(2));
}

}  // namespace
