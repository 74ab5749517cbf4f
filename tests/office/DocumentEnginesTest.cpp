// Word and PowerPoint of the engine as the probe and the builder call them:
// the page loop over Goto, the slide count of a bound presentation, what is
// raised for files that cannot be opened, and that no source file is ever
// written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <algorithm>

#include "automation/AutomationError.h"
#include "office/cfb/CompoundFile.h"
#include "office/engine/DocumentEngines.h"
#include "support/TestSupport.h"
#include "DocumentTestSupport.h"

namespace {

namespace fs = std::filesystem;
namespace word = automation::word;
using automation::AutomationError;

// The page count as the line editor's probe and the builder take it: go to
// page n and n+1 until both land on the same place.
long countPagesByGoto(word::Document& document) {
    long n = 0, p = 1, q = 0;
    while (q != p) {
        ++n;
        p = document.Goto(word::kGoToPage, word::kGoToAbsolute, n)->Start();
        q = document.Goto(word::kGoToPage, word::kGoToAbsolute, n + 1)->Start();
    }
    return n;
}

// "number description" of what `call` raised, "ok" when it raised nothing.
std::string outcome(const std::function<void()>& call) {
    try {
        call();
        return "ok";
    } catch (const AutomationError& error) {
        return std::to_string(error.number()) + " " + error.description();
    }
}

struct FileStamp {
    std::vector<std::uint8_t> bytes;
    struct timespec modified {};
    bool operator==(const FileStamp& other) const {
        return bytes == other.bytes && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

FileStamp stampOf(const fs::path& path) {
    FileStamp stamp;
    stamp.bytes = testsupport::readFileBytes(path);
    struct stat info {};
    stat(path.c_str(), &info);
    stamp.modified = info.st_mtim;
    return stamp;
}

class DocumentEngines : public ::testing::Test {
protected:
    // A copy of a sample in the temporary folder, to look at afterwards.
    fs::path copyOf(const fs::path& sample, const std::string& as = "") {
        const fs::path target = folder.path() / (as.empty() ? sample.filename().string() : as);
        fs::copy_file(sample, target);
        return target;
    }
    fs::path writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const fs::path target = folder.path() / name;
        std::ofstream(target, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(bytes.size()));
        return target;
    }
    testsupport::TempFolder folder{"tavolex-documents"};
};

TEST_F(DocumentEngines, TheGotoLoopCountsThePagesOfEachDocument) {
    const std::pair<fs::path, long> documents[] = {
        {testsupport::testData("memo.doc"), 1},
        {testsupport::testData("report.doc"), 5},
        {testsupport::testData("long.doc"), 100},
        {testsupport::sharedSample("reference/tika_testWORD.doc"), 2},
    };
    auto word = office::engine::createWordApplication();
    for (const auto& [path, pages] : documents) {
        if (!fs::exists(path)) continue;
        SCOPED_TRACE(path.string());
        auto document = word->GetDocuments().Open(path.string());
        EXPECT_EQ(countPagesByGoto(*document), pages);
        EXPECT_FALSE(document->PageCountIsEstimate());
        EXPECT_EQ(document->Goto(word::kGoToPage, word::kGoToLast, 0)->Start(),
                  document->Goto(word::kGoToPage, word::kGoToAbsolute, pages)->Start());
        document->Close(word::kDoNotSaveChanges);
    }
    EXPECT_EQ(word->GetDocuments().Count(), 0);
    word->Quit(word::kDoNotSaveChanges);
}

TEST_F(DocumentEngines, ADocumentWithoutARecordedCountSaysItsCountIsAnEstimate) {
    auto root = office::cfb::readCompoundFile(testsupport::readFileBytes(testsupport::testData("report.doc")));
    doctest::setDopPageCount(root, 0);
    const fs::path path = writeFile("no count.doc", office::cfb::writeCompoundFile(root));
    auto word = office::engine::createWordApplication();
    auto document = word->GetDocuments().Open(path.string());
    EXPECT_TRUE(document->PageCountIsEstimate());
    EXPECT_GE(countPagesByGoto(*document), 1);
    word->Quit();
}

TEST_F(DocumentEngines, WordKeepsItsDocumentsUntilClosedOrQuit) {
    auto word = office::engine::createWordApplication();
    EXPECT_EQ(word->ActiveDocument(), nullptr);
    EXPECT_FALSE(word->Visible());
    auto memo = word->GetDocuments().Open(testsupport::testData("memo.doc").string());
    auto report = word->GetDocuments().Open(testsupport::testData("report.doc").string());
    EXPECT_EQ(word->ActiveDocument()->Name(), "report.doc");
    EXPECT_EQ(word->GetDocuments().Count(), 2);
    // Opening an open document again gives it, now active.
    EXPECT_EQ(word->GetDocuments().Open(testsupport::testData("memo.doc").string())->Name(), "memo.doc");
    EXPECT_EQ(word->ActiveDocument()->FullName(), testsupport::testData("memo.doc").lexically_normal().string());
    EXPECT_EQ(word->GetDocuments().Count(), 2);

    memo->Close();
    EXPECT_EQ(word->ActiveDocument()->Name(), "report.doc");
    EXPECT_EQ(outcome([&] { memo->Goto(1, 1, 1); }).substr(0, 4), "5825");
    EXPECT_EQ(outcome([&] { report->Goto(3, 1, 1); }).substr(0, 1), "5") << "only pages";

    report->GetApplication()->Quit(word::kDoNotSaveChanges);
    EXPECT_EQ(outcome([&] { word->GetDocuments(); }).substr(0, 3), "462");
    EXPECT_EQ(outcome([&] { report->Name(); }).substr(0, 3), "462");
}

TEST_F(DocumentEngines, ABoundPresentationCountsItsSlidesInAnApplicationOfItsOwn) {
    const std::pair<fs::path, long> presentations[] = {
        {testsupport::testData("deck.ppt"), 7},
        {testsupport::sharedSample("long.ppt"), 100},
        {testsupport::sharedSample("reference/poi_basic_test_ppt_file.ppt"), 2},
        {testsupport::sharedSample("reference/tika_testPPT.ppt"), 1},
    };
    for (const auto& [path, slides] : presentations) {
        if (!fs::exists(path)) continue;
        SCOPED_TRACE(path.string());
        auto presentation = office::engine::bindPresentationFile(path.string());
        auto application = presentation->GetApplication();
        EXPECT_EQ(application->PresentationCount(), 1);
        EXPECT_EQ(application->Presentations(1)->GetSlides().Count(), slides);
        presentation->Close();
        EXPECT_EQ(application->PresentationCount(), 0);
        EXPECT_EQ(outcome([&] { application->Presentations(1); }).substr(0, 1), "9");
        EXPECT_EQ(outcome([&] { presentation->GetSlides(); }).substr(0, 11), "-2147188720");
    }
}

TEST_F(DocumentEngines, FilesThatCannotBeOpenedRaiseTheApplicationsErrors) {
    auto deck = office::cfb::readCompoundFile(testsupport::readFileBytes(testsupport::testData("deck.ppt")));
    auto encryptedPresentation = deck;
    doctest::put32(encryptedPresentation.child("Current User")->data, 12, 0xF3D1C4DF);
    auto lostSlide = deck;
    {
        auto& stream = lostSlide.child("PowerPoint Document")->data;
        // The first slide persist atom of the slides' list (instance 0), not the masters'.
        std::size_t slideList = 0;
        for (std::size_t at : doctest::findRecords(stream, 0x0FF0))
            if (doctest::get16(stream, at) >> 4 == 0) slideList = at;
        ASSERT_NE(slideList, 0u);
        doctest::put32(stream, slideList + 8 + 8, 0xFFFF);  // a persist id nobody has
    }
    auto memo = office::cfb::readCompoundFile(testsupport::readFileBytes(testsupport::testData("memo.doc")));
    auto encryptedDocument = memo;
    doctest::setFibFlags(encryptedDocument, 0x0100);
    auto noTable = memo;
    noTable.children.erase(std::find_if(noTable.children.begin(), noTable.children.end(),
                                        [](const auto& n) { return n.name == "1Table"; }));

    const fs::path text = writeFile("letter.doc", {'D', 'e', 'a', 'r', ' ', 'A', 'n', 'n', 'a'});
    const fs::path zipped = writeFile("new.doc", {'P', 'K', 3, 4, 20, 0, 0, 0});
    const fs::path encryptedDoc = writeFile("secret.doc", office::cfb::writeCompoundFile(encryptedDocument));
    const fs::path tableless = writeFile("tableless.doc", office::cfb::writeCompoundFile(noTable));
    const fs::path workbook = copyOf(testsupport::testData("budget.xls"), "budget.doc");
    fs::create_directory(folder.path() / "folder.doc");

    auto word = office::engine::createWordApplication();
    const auto open = [&](const fs::path& path) { return outcome([&] { word->GetDocuments().Open(path.string()); }); };
    EXPECT_EQ(open(folder.path() / "missing.doc"), "5174 This file could not be found.");
    EXPECT_EQ(open(text), "5792 Word cannot open the file: it is not a Word 97-2003 document.");
    EXPECT_EQ(open(zipped), "5792 Word cannot open the file: it is not a Word 97-2003 document.");
    EXPECT_EQ(open(workbook), "5792 Word cannot open the file: it is not a Word 97-2003 document.");
    EXPECT_EQ(open(folder.path() / "folder.doc"), "5792 Word cannot open the file: it is not a file.");
    EXPECT_EQ(open(encryptedDoc).substr(0, 5), "5408 ");
    EXPECT_EQ(open(tableless), "5792 Word cannot open the file: it is damaged (the stream 1Table is missing).");
    EXPECT_EQ(word->GetDocuments().Count(), 0);

    const fs::path encryptedPpt = writeFile("secret.ppt", office::cfb::writeCompoundFile(encryptedPresentation));
    const fs::path lost = writeFile("lost.ppt", office::cfb::writeCompoundFile(lostSlide));
    const auto bind = [&](const fs::path& path) {
        return outcome([&] { office::engine::bindPresentationFile(path.string()); });
    };
    EXPECT_EQ(bind(folder.path() / "missing.ppt"), "432 This file could not be found.");
    EXPECT_EQ(bind(testsupport::testData("memo.doc")),
              "-2147467259 PowerPoint cannot open the file: it is not a PowerPoint 97-2003 presentation.");
    EXPECT_NE(bind(encryptedPpt).find("protected by a password"), std::string::npos);
    EXPECT_EQ(bind(lost), "-2147467259 PowerPoint cannot open the file: it is damaged (slide 1 of the slide list has no slide record).");

    // The path travels with the error, so a message can name the file.
    try {
        word->GetDocuments().Open(text.string());
        ADD_FAILURE();
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.file(), text.string());
    }
}

TEST_F(DocumentEngines, NothingIsEverWrittenToASourceFile) {
    const fs::path doc = copyOf(testsupport::testData("report.doc"));
    const fs::path ppt = copyOf(testsupport::testData("deck.ppt"));
    fs::permissions(doc, fs::perms::owner_read);  // a read-only file opens all the same
    const FileStamp docBefore = stampOf(doc), pptBefore = stampOf(ppt);
    const auto folderBefore = std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator());

    auto word = office::engine::createWordApplication();
    auto document = word->GetDocuments().Open(doc.string());
    EXPECT_EQ(countPagesByGoto(*document), 5);
    document->Close(-1);  // even when told to save changes
    word->Quit(-1);
    auto presentation = office::engine::bindPresentationFile(ppt.string());
    EXPECT_EQ(presentation->GetSlides().Count(), 7);
    presentation->Close();

    EXPECT_TRUE(stampOf(doc) == docBefore);
    EXPECT_TRUE(stampOf(ppt) == pptBefore);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), folderBefore)
        << "no lock or temporary file left beside the documents";
}

}  // namespace
