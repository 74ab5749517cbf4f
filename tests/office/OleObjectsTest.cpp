// Embedded objects: the package and storage formats against what Excel
// wrote (the shared reference files), objects added by the engine listed,
// named, extracted byte for byte and kept through a save and a re-open
// beside pictures, hidden and shown again, and the refusals of files that
// cannot be embedded.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "EngineTestSupport.h"
#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "office/biff/BiffRecords.h"
#include "office/engine/DocumentEngines.h"
#include "office/engine/NeutralIcon.h"
#include "office/doc/WordPages.h"
#include "office/ole/EmbeddedStorage.h"
#include "office/ppt/SlideList.h"
#include "support/TestSupport.h"

using automation::AutomationError;
using automation::Variant;
namespace excel = automation::excel;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

const office::SheetModel& onlySheet(const office::WorkbookModel& model) { return model.sheets.at(0); }

std::vector<const office::DrawingObject*> oleObjects(const office::SheetModel& sheet) {
    std::vector<const office::DrawingObject*> out;
    for (const auto& object : sheet.drawings)
        if (object.kind == office::DrawingKind::OleObject) out.push_back(&object);
    return out;
}

// ---- What Excel wrote ----

TEST(OleReference, ExcelsWordObjectsReadAsObjectsWithClassStorageAndIconFlag) {
    const fs::path path = testsupport::sharedSample("reference/poi_WithEmbeddedObjects.xls");
    if (!fs::exists(path)) GTEST_SKIP() << "shared reference files absent";
    const office::WorkbookModel model = office::readXlsFile(path.string(), "");
    const auto objects = oleObjects(onlySheet(model));
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->oleClass, "Word.Document.8");
    EXPECT_EQ(objects[0]->oleStorage, 0x001805CBu);
    EXPECT_TRUE(objects[0]->oleIcon);
    EXPECT_EQ(objects[1]->oleStorage, 0x001805CAu);
    EXPECT_FALSE(objects[1]->oleIcon);
    EXPECT_EQ(objects[1]->name, "Object 2");
    // The storage extracts as a Word document our probe reads.
    const auto* storage = model.rootStorage.child(office::ole::storageName(objects[1]->oleStorage));
    ASSERT_NE(storage, nullptr);
    EXPECT_EQ(office::ole::classOfStorage(*storage), &office::ole::kWordDocumentClass);
    const auto document = office::ole::embeddedFile(*storage);
    EXPECT_GE(office::doc::readWordPages(document).count, 1);
}

TEST(OleReference, ExcelsPackageGivesBackTheFileAndItsName) {
    const fs::path path = testsupport::sharedSample("reference/oletools_embedded-simple-2007.xls");
    if (!fs::exists(path)) GTEST_SKIP() << "shared reference files absent";
    const office::WorkbookModel model = office::readXlsFile(path.string(), "");
    const auto objects = oleObjects(onlySheet(model));
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->oleClass, "Objekt-Manager-Shellobjekt");
    const auto* storage = model.rootStorage.child(office::ole::storageName(objects[0]->oleStorage));
    ASSERT_NE(storage, nullptr);
    EXPECT_EQ(office::ole::embeddedFile(*storage),
              bytesOf("This is a simple ascii contents of this simple text file."));
    EXPECT_EQ(office::ole::embeddedFileName(*storage), "simple-text-file.txt");
    const auto package = office::ole::readPackageStream(storage->child("\001Ole10Native")->data);
    EXPECT_EQ(package.sourcePath, "C:\\Users\\user\\Documents\\simple-text-file.txt");
    EXPECT_EQ(package.unicodeSourcePath, package.sourcePath);
}

// Our OBJ record and shape against the one Excel wrote for a Word document
// shown as an icon: the same sub-records and values, except the bytes Excel
// leaves unset (the reserved tail of ftCmo, the formula's unused fields).
TEST(OleReference, OurObjectRecordsMatchExcelsForTheSameObject) {
    const fs::path path = testsupport::sharedSample("reference/poi_WithEmbeddedObjects.xls");
    if (!fs::exists(path)) GTEST_SKIP() << "shared reference files absent";
    office::WorkbookModel excels = office::readXlsFile(path.string(), "");
    const office::DrawingObject excelObject = *oleObjects(onlySheet(excels))[0];

    office::WorkbookModel ours = office::WorkbookModel::withDefaults();
    ours.sheets.push_back(enginetest::sheetNamed("Sheet1"));
    ours.pictures = excels.pictures;
    office::DrawingObject made;
    made.kind = office::DrawingKind::OleObject;
    made.objectId = excelObject.objectId;
    made.picture = excelObject.picture;
    made.oleClass = excelObject.oleClass;
    made.oleStorage = excelObject.oleStorage;
    made.oleIcon = true;
    made.anchor = excelObject.anchor;
    ours.sheets[0].drawings.push_back(made);
    const office::WorkbookModel back = office::readXls(office::writeXls(ours, ""), "");
    const office::DrawingObject& written = *oleObjects(onlySheet(back)).at(0);

    auto objBody = [](const office::DrawingObject& o) {
        for (const auto& host : o.hostRecords)
            if (host.record.id == 0x5D) return host.record.body;
        return std::vector<std::uint8_t>{};
    };
    std::vector<std::uint8_t> mine = objBody(written), theirs = objBody(excelObject);
    ASSERT_EQ(mine.size(), theirs.size());
    for (std::size_t unset : {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}) mine[unset] = theirs[unset] = 0;
    // ftCf: Excel names the icon's metafile format; ours is the store's own (a PNG).
    mine[26] = theirs[26] = mine[27] = theirs[27] = 0;
    for (std::size_t unset : {42, 43, 44, 45, 47, 48, 49, 50}) mine[unset] = theirs[unset] = 0;
    EXPECT_EQ(testsupport::hexText(mine), testsupport::hexText(theirs));
    EXPECT_EQ(written.anchor, excelObject.anchor);
    EXPECT_EQ(written.oleClass, excelObject.oleClass);
    EXPECT_EQ(written.oleStorage, excelObject.oleStorage);
}

// ---- The package format ----

TEST(OlePackage, NamesAndBytesComeBackWithNonLatinNames) {
    const std::vector<std::uint8_t> data = {0, 1, 2, 0xFF, 0, 'x'};
    const auto stream = office::ole::packageStream("Città – 東京.pdf", "/home/me/Città – 東京.pdf", data);
    const auto package = office::ole::readPackageStream(stream);
    EXPECT_EQ(std::vector<std::uint8_t>(package.data.begin(), package.data.end()), data);
    EXPECT_EQ(package.fileName(), "Città – 東京.pdf");
    EXPECT_EQ(package.label, "Città – ??.pdf");  // the ANSI field holds what the code page can
    EXPECT_EQ(package.unicodeSourcePath, "/home/me/Città – 東京.pdf");
}

TEST(OlePackage, EveryTruncationIsADamagedPackageNeverACrash) {
    const auto stream = office::ole::packageStream("a.txt", "/x/a.txt", bytesOf("hello"));
    // Cut anywhere before the file's end, the package is damaged; after it, the tail is optional.
    const std::string text(stream.begin(), stream.end());
    const std::size_t fileEnd = text.find("hello") + 5;
    for (std::size_t size = 0; size < fileEnd; ++size) {
        std::span<const std::uint8_t> cut(stream.data(), size);
        EXPECT_THROW(office::ole::readPackageStream(cut), AutomationError) << size;
    }
    for (std::size_t size = fileEnd; size <= stream.size(); ++size) {
        const auto package = office::ole::readPackageStream(std::span(stream.data(), size));
        EXPECT_EQ(std::string(package.data.begin(), package.data.end()), "hello") << size;
    }
}

TEST(OlePackage, LengthsPointingPastTheStreamAreRefused) {
    auto stream = office::ole::packageStream("a.txt", "/x/a.txt", bytesOf("hello"));
    const std::size_t fileAt = std::string(stream.begin(), stream.end()).find("hello");
    auto lying = stream;
    lying[fileAt - 1] = 0xFF;  // the file's size
    EXPECT_THROW(office::ole::readPackageStream(lying), AutomationError);
    lying = stream;
    lying[4 + 2 + 6 + 9 + 2 + 2] = 0xF0;  // the temporary path's length
    EXPECT_THROW(office::ole::readPackageStream(lying), AutomationError);
    lying = stream;
    lying[4] = 1;  // a link, not a file
    EXPECT_THROW(office::ole::readPackageStream(lying), AutomationError);
}

// ---- Objects the engine adds ----

class OleObjects : public ::testing::Test {
protected:
    void SetUp() override {
        app = enginetest::newApplication();
        book = app->GetWorkbooks().Add();
        sheet = book->WorksheetAt(1);
        sheet->SetName("DATA");
        pdf = (folder.path() / "Quarterly report.pdf").string();
        writeFile(pdf, bytesOf("%PDF-1.4\n% not a real one\n%%EOF\n"));
        memo = copy("memo.doc");
        deck = copy("deck.ppt");
    }
    std::string copy(const std::string& name) {
        const fs::path to = folder.path() / name;
        fs::copy_file(testsupport::testData(name), to);
        return to.string();
    }
    std::string reopen() {
        const std::string path = (folder.path() / "objects.xls").string();
        book->SaveAs(path);
        book->Close();
        book = app->GetWorkbooks().Open(path);
        sheet = book->Worksheets("DATA");
        return path;
    }

    testsupport::TempFolder folder{"tavolex-ole"};
    std::shared_ptr<excel::Application> app;
    std::shared_ptr<excel::Workbook> book;
    std::shared_ptr<excel::Worksheet> sheet;
    std::string pdf, memo, deck;
};

TEST_F(OleObjects, DocumentsAndOtherFilesEmbedNamedInOrderAndSurviveReopening) {
    EXPECT_EQ(sheet->AddOLEObject(memo, false, true, 0, memo)->Name(), "Object 1");
    EXPECT_EQ(sheet->AddOLEObject(deck, false, true, 0, deck)->Name(), "Object 2");
    EXPECT_EQ(sheet->AddOLEObject(pdf, false, true, 0, "")->Name(), "Object 3");
    reopen();
    ASSERT_EQ(sheet->OLEObjectCount(), 3);
    EXPECT_EQ(sheet->OLEObjects(1)->progID(), "Word.Document.8");
    EXPECT_EQ(sheet->OLEObjects(2)->progID(), "PowerPoint.Show.8");
    EXPECT_EQ(sheet->OLEObjects("object 3")->progID(), "Package");
    EXPECT_EQ(sheet->OLEObjects(3)->FileBytes(), testsupport::readFileBytes(pdf));
    EXPECT_EQ(sheet->OLEObjects(3)->FileName(), "Quarterly report.pdf");
    // The documents come back as documents with the same pages and slides.
    EXPECT_EQ(office::doc::readWordPages(sheet->OLEObjects(1)->FileBytes()).count,
              office::doc::readWordPagesFile(memo).count);
    EXPECT_EQ(office::ppt::readPresentationSlides(sheet->OLEObjects(2)->FileBytes()).slides, 7);
    EXPECT_THROW(sheet->OLEObjects(4), AutomationError);
    EXPECT_THROW(sheet->OLEObjects("Object 9"), AutomationError);
}

TEST_F(OleObjects, StoragesHoldTheClassAndStreamsExcelWrites) {
    sheet->AddOLEObject(memo, false, true, 0, memo);
    sheet->AddOLEObject(pdf, false, true, 0, pdf);
    const office::WorkbookModel model = office::readXlsFile(reopen(), "");
    const auto* word = model.rootStorage.child("MBD00000001");
    const auto* package = model.rootStorage.child("MBD00000002");
    ASSERT_TRUE(word && package);
    EXPECT_EQ(office::cfb::clsidToString(word->clsid), "{00020906-0000-0000-C000-000000000046}");
    for (const char* stream : {"\001CompObj", "\001Ole", "\003ObjInfo", "WordDocument", "1Table"})
        EXPECT_NE(word->child(stream), nullptr) << stream;
    EXPECT_EQ(office::cfb::clsidToString(package->clsid), "{0003000C-0000-0000-C000-000000000046}");
    EXPECT_NE(package->child("\001CompObj"), nullptr);
    EXPECT_NE(package->child("\001Ole10Native"), nullptr);
}

TEST_F(OleObjects, ObjectsAndPicturesKeepEachOtherInEitherOrder) {
    auto state = dynamic_cast<office::engine::EngineApplication&>(*app).state();
    const std::vector<std::uint8_t> png(office::engine::kNeutralIconPng.begin(), office::engine::kNeutralIconPng.end());
    auto pastePicture = [&](long row) {
        state->clipboard = office::engine::CopiedPicture{{png, 32, 40}, 24, 30};
        sheet->Paste(*sheet->Cells(row, 3));
    };
    pastePicture(1);
    sheet->AddOLEObject(pdf, false, true, 0, "");
    pastePicture(10);
    sheet->AddOLEObject(memo, false, true, 0, "");
    reopen();
    const auto& model = dynamic_cast<office::engine::EngineWorkbook&>(*book).core()->model;
    std::vector<std::string> kinds;
    for (const auto& object : model.sheets[0].drawings)
        kinds.push_back(object.kind == office::DrawingKind::Picture ? "picture" : object.name);
    EXPECT_EQ(kinds, (std::vector<std::string>{"picture", "Object 2", "picture", "Object 4"}));
    EXPECT_EQ(sheet->OLEObjects("Object 2")->FileBytes(), testsupport::readFileBytes(pdf));
    // A second round keeps it all.
    reopen();
    EXPECT_EQ(sheet->OLEObjectCount(), 2);
    EXPECT_EQ(sheet->OLEObjects("Object 4")->progID(), "Word.Document.8");
}

TEST_F(OleObjects, DeletingAnObjectTakesItsStorageAlong) {
    auto first = sheet->AddOLEObject(pdf, false, true, 0, "");
    sheet->AddOLEObject(memo, false, true, 0, "");
    first->Delete();
    EXPECT_THROW(first->Name(), AutomationError);
    const office::WorkbookModel model = office::readXlsFile(reopen(), "");
    EXPECT_EQ(model.rootStorage.child("MBD00000001"), nullptr);
    EXPECT_NE(model.rootStorage.child("MBD00000002"), nullptr);
    EXPECT_EQ(sheet->OLEObjects(1)->Name(), "Object 2");
}

TEST_F(OleObjects, DeletingTheSheetTakesItsObjectsStoragesAlong) {
    book->AddWorksheet()->SetName("Other");
    book->Worksheets("Other")->AddOLEObject(memo, false, true, 0, "");
    sheet->AddOLEObject(pdf, false, true, 0, "");
    book->Worksheets("Other")->Delete();
    const office::WorkbookModel model = office::readXlsFile(reopen(), "");
    ASSERT_EQ(model.rootStorage.children.size(), 1u);
    EXPECT_EQ(model.rootStorage.children[0].name, "MBD00000002");
    EXPECT_EQ(sheet->OLEObjects(1)->FileBytes(), testsupport::readFileBytes(pdf));
}

TEST_F(OleObjects, FilesThatCannotBeEmbeddedAreRefusedAndChangeNothing) {
    const std::string missing = (folder.path() / "gone.pdf").string();
    const std::string unreadable = (folder.path() / "secret.pdf").string();
    writeFile(unreadable, bytesOf("x"));
    ::chmod(unreadable.c_str(), 0);
    struct Case {
        std::string file;
        bool link;
        std::string says;
    };
    // Sparse: refused by its size before a byte of it is read.
    const std::string huge = (folder.path() / "disk image.iso").string();
    writeFile(huge, {});
    fs::resize_file(huge, (std::uintmax_t{1} << 30) + 1);
    std::vector<Case> cases{{missing, false, "could not be found"},
                            {huge, false, "too large"},
                            {folder.path().string(), false, "not a file"},
                            {pdf, true, "not links"}};
    if (::geteuid() != 0) cases.push_back({unreadable, false, "permission denied"});
    for (const Case& c : cases) {
        try {
            sheet->AddOLEObject(c.file, c.link, true, 0, "");
            ADD_FAILURE() << c.file << " was embedded";
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.number(), 1004) << c.file;
            EXPECT_NE(e.description().find("Cannot insert object: "), std::string::npos) << e.description();
            EXPECT_NE(e.description().find(c.says), std::string::npos) << e.description();
        }
    }
    EXPECT_EQ(sheet->OLEObjectCount(), 0);
    sheet->Protect("pw");
    EXPECT_THROW(sheet->AddOLEObject(pdf, false, true, 0, ""), AutomationError);
    const auto& model = dynamic_cast<office::engine::EngineWorkbook&>(*book).core()->model;
    EXPECT_TRUE(model.rootStorage.children.empty());
    EXPECT_TRUE(model.pictures.empty());
}

TEST_F(OleObjects, HiddenObjectsStayEmbeddedAndCanBeShownAgain) {
    auto memoObject = sheet->AddOLEObject(memo, false, true, 0, "");
    sheet->AddOLEObject(pdf, false, true, 0, "");
    EXPECT_TRUE(memoObject->Visible());
    memoObject->SetVisible(false);
    sheet->Protect("pw");
    EXPECT_THROW(sheet->OLEObjects(2)->SetVisible(false), AutomationError);
    sheet->Unprotect("pw");

    const office::WorkbookModel hidden = office::readXlsFile(reopen(), "");
    ASSERT_EQ(oleObjects(onlySheet(hidden)).size(), 2u);
    EXPECT_TRUE(oleObjects(onlySheet(hidden))[0]->hidden);
    EXPECT_FALSE(oleObjects(onlySheet(hidden))[1]->hidden);
    EXPECT_FALSE(sheet->OLEObjects(1)->Visible());
    EXPECT_TRUE(sheet->OLEObjects(2)->Visible());
    EXPECT_EQ(sheet->OLEObjects(1)->progID(), "Word.Document.8");

    // Shown again: the shape read from the file keeps its property, now saying shown.
    sheet->OLEObjects(1)->SetVisible(true);
    const office::WorkbookModel shown = office::readXlsFile(reopen(), "");
    EXPECT_FALSE(oleObjects(onlySheet(shown))[0]->hidden);
    EXPECT_TRUE(sheet->OLEObjects(1)->Visible());
    EXPECT_EQ(office::doc::readWordPages(sheet->OLEObjects(1)->FileBytes()).count,
              office::doc::readWordPagesFile(memo).count);
}

TEST(OleReference, HidingExcelsObjectsGrowsTheirShapesAndKeepsTheirRecords) {
    // Excel's shapes carry no hiding property: the engine adds it inside the
    // shape, and the OBJ records after it must still follow their shapes.
    const fs::path path = testsupport::sharedSample("reference/poi_WithEmbeddedObjects.xls");
    if (!fs::exists(path)) GTEST_SKIP() << "shared reference files absent";
    testsupport::TempFolder folder{"tavolex-ole-hidden"};
    const std::string saved = (folder.path() / "hidden.xls").string();
    auto app = enginetest::newApplication();
    auto book = app->GetWorkbooks().Open(path.string());
    auto sheet = book->WorksheetAt(1);
    ASSERT_EQ(sheet->OLEObjectCount(), 2);
    const auto before = sheet->OLEObjects(2)->FileBytes();
    sheet->OLEObjects(1)->SetVisible(false);
    sheet->OLEObjects(2)->SetVisible(false);
    book->SaveAs(saved);
    book->Close();

    const office::WorkbookModel model = office::readXlsFile(saved, "");
    const auto objects = oleObjects(onlySheet(model));
    ASSERT_EQ(objects.size(), 2u);
    for (const auto* object : objects) {
        EXPECT_TRUE(object->hidden) << object->name;
        EXPECT_EQ(object->oleClass, "Word.Document.8");
        // As Excel writes it: the OBJ record right after the whole grown shape.
        ASSERT_FALSE(object->hostRecords.empty());
        EXPECT_EQ(object->hostRecords[0].record.id, office::biff::rec::kObj);
        EXPECT_EQ(object->hostRecords[0].shapeOffset, object->shape.size()) << object->name;
    }
    EXPECT_EQ(objects[0]->oleStorage, 0x001805CBu);
    EXPECT_TRUE(objects[0]->oleIcon);
    book = app->GetWorkbooks().Open(saved);
    EXPECT_EQ(book->WorksheetAt(1)->OLEObjects(2)->FileBytes(), before);
    EXPECT_FALSE(book->WorksheetAt(1)->OLEObjects(2)->Visible());
}

TEST_F(OleObjects, ActivatingAWordObjectOpensTheCopyInTheRunningWord) {
    auto wordApp = office::engine::createWordApplication();
    auto object = sheet->AddOLEObject(copy("report.doc"), false, true, 0, "");
    object->Activate();
    auto document = wordApp->ActiveDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->Name(), "Document in " + book->Name());
    EXPECT_EQ(document->Goto(1, 1, 99)->Start(), document->Goto(1, 1, 5)->Start());  // five pages
    EXPECT_NE(document->Goto(1, 1, 4)->Start(), document->Goto(1, 1, 5)->Start());
    EXPECT_EQ(object->Object()->Name(), document->Name());
    document->Close();
    EXPECT_EQ(wordApp->GetDocuments().Count(), 0);
    // A package opens in no Word.
    EXPECT_THROW(sheet->AddOLEObject(pdf, false, true, 0, "")->Activate(), AutomationError);
}

}  // namespace
