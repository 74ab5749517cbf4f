// The document embedding of a build on real files: Word and PowerPoint lines
// get their page and slide counts after the object's name, other files the
// name alone, a file named twice is embedded once (never from an "S" line),
// and any failure cancels its line alone, leaving nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "builder/DocumentEmbedding.h"
#include "office/doc/WordPages.h"
#include "office/engine/DocumentEngines.h"
#include "office/engine/EngineWorkbook.h"
#include "office/ppt/SlideList.h"
#include "parts/PartsFixture.h"

namespace {

using automation::Variant;
namespace excel = automation::excel;
namespace fs = std::filesystem;

// The build's factory: the engine's Word and PowerPoint too.
class BuildObjectFactory : public partstest::TestObjectFactory {
public:
    std::shared_ptr<automation::word::Application> CreateWord() override {
        return office::engine::createWordApplication();
    }
    std::shared_ptr<automation::powerpoint::Presentation> GetPresentation(const std::string& fileName) override {
        return office::engine::bindPresentationFile(fileName);
    }
};

struct Line {
    std::string exclusion;
    std::string file;
};

class DocumentEmbeddingTest : public partstest::PartsTest {
protected:
    void SetUp() override {
        windows.autoAcknowledge = true;
        ctx.state.ExcelApp = build.CreateExcel();
        wordApp = build.CreateWord();  // the build's Word, as the driver starts it
        presentation = ctx.state.ExcelApp->GetWorkbooks().Add();
        data = presentation->WorksheetAt(1);
        data->SetName("DATA");
        for (const char* name : {"memo.doc", "report.doc", "deck.ppt"}) {
            fs::copy_file(testsupport::testData(name), folder.path() / name);
            files[name] = (folder.path() / name).string();
        }
        files["scan.pdf"] = write("scan.pdf", "%PDF-1.4\nnot much\n%%EOF\n");
        files["photo.png"] = write("photo.png", std::string("\x89PNG\r\n\x1a\n", 8) + "rest");
    }

    std::string write(const std::string& name, const std::string& bytes) {
        const fs::path path = folder.path() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    // Writes the lines from row 2 on and embeds each one not excluded with
    // "S", as the build does; returns column 8 of each row and the statuses.
    std::vector<int> embedAll(const std::vector<Line>& lines) {
        std::vector<int> statuses;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const long row = static_cast<long>(i) + 2;
            data->Cells(row, 1)->SetValue(Variant(row));
            data->Cells(row, 3)->SetValue(Variant(lines[i].exclusion));
            data->Cells(row, 4)->SetValue(Variant("line " + std::to_string(row)));
            data->Cells(row, 5)->SetValue(Variant(lines[i].file));
        }
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].exclusion == "S") continue;
            const long row = static_cast<long>(i) + 2;
            int status = -1;
            builder::EmbedDocument(embedCtx, *presentation, lines[i].file, row, Variant(), Variant(),
                                   "line " + std::to_string(row), status);
            statuses.push_back(status);
        }
        return statuses;
    }
    std::string column8(long row) { return data->Cells(row, 8)->Value().toText(); }

    BuildObjectFactory build;
    core::Context embedCtx{build, platform, windows};
    std::shared_ptr<automation::word::Application> wordApp;
    std::shared_ptr<excel::Workbook> presentation;
    std::shared_ptr<excel::Worksheet> data;
    std::map<std::string, std::string> files;
};

TEST_F(DocumentEmbeddingTest, CountsFollowTheNameForDocumentsOnlyAndEveryFileExtractsIntact) {
    int pauses = 0;  // the engine's insert is complete on return: nothing to wait for
    embedCtx.seams.feedbackPause = [&pauses](core::Context&, double) { ++pauses; };
    const auto statuses = embedAll({{"", files["memo.doc"]}, {"", files["report.doc"]}, {"", files["deck.ppt"]},
                                    {"P", files["scan.pdf"]}, {"V", files["photo.png"]}});
    EXPECT_EQ(statuses, (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(column8(2), "Object 1|1");
    EXPECT_EQ(column8(3), "Object 2|5");
    EXPECT_EQ(column8(4), "Object 3|7");
    EXPECT_EQ(column8(5), "Object 4");
    EXPECT_EQ(column8(6), "Object 5");
    EXPECT_TRUE(windows.boxes.empty());
    EXPECT_EQ(pauses, 0);
    EXPECT_FALSE(wordApp->Visible());
    EXPECT_EQ(wordApp->GetDocuments().Count(), 0) << "each embedded copy is closed after counting";

    // Saved and opened again, every object gives back its file.
    const std::string path = (folder.path() / "Group - 1.xls").string();
    presentation->SaveAs(path);
    presentation->Close();
    auto again = ctx.state.ExcelApp->GetWorkbooks().Open(path)->Worksheets("DATA");
    ASSERT_EQ(again->OLEObjectCount(), 5);
    EXPECT_EQ(again->OLEObjects("Object 4")->FileBytes(), testsupport::readFileBytes(files["scan.pdf"]));
    EXPECT_EQ(again->OLEObjects("Object 5")->FileBytes(), testsupport::readFileBytes(files["photo.png"]));
    EXPECT_EQ(office::doc::readWordPages(again->OLEObjects("Object 2")->FileBytes()).count, 5);
    EXPECT_EQ(office::ppt::readPresentationSlides(again->OLEObjects("Object 3")->FileBytes()).slides, 7);
    for (const char* name : {"memo.doc", "report.doc", "deck.ppt"})
        EXPECT_EQ(testsupport::readFileBytes(files[name]), testsupport::readFileBytes(testsupport::testData(name)))
            << "the source is never changed";
}

TEST_F(DocumentEmbeddingTest, AFileNamedAgainSharesTheEarlierObjectButNotOneOfAnSLine) {
    std::string upper = files["report.doc"];
    const auto slash = upper.rfind('/');
    upper = upper.substr(0, slash) + "/REPORT.DOC";  // the same file in another case, as Windows names it
    const auto statuses = embedAll({{"S", files["deck.ppt"]},
                                    {"", files["report.doc"]},
                                    {"", files["deck.ppt"]},
                                    {"", files["memo.doc"]},
                                    {"", upper}});
    EXPECT_EQ(column8(3), "Object 1|5");
    EXPECT_EQ(column8(4), "Object 2|7") << "the S line holds no object to share";
    EXPECT_EQ(column8(6), "Object 1|5");
    EXPECT_EQ(data->OLEObjectCount(), 3);
    EXPECT_EQ(statuses.size(), 4u);
}

TEST_F(DocumentEmbeddingTest, FailuresCancelTheirLineWithTheMessageAndLeaveNothing) {
    const std::string notWord = write("letter.doc", "Dear reader, this is plain text.");
    const std::string badDeck = write("broken.ppt", "not a presentation");
    const std::string missing = (folder.path() / "gone.pdf").string();
    const auto statuses = embedAll({{"", missing}, {"", notWord}, {"", files["scan.pdf"]}, {"", badDeck},
                                    {"", folder.path().string()}});
    EXPECT_EQ(statuses, (std::vector<int>{1, 1, 0, 1, 1}));
    EXPECT_EQ(column8(4), "Object 1") << "a canceled line's object leaves its number free";
    EXPECT_EQ(data->OLEObjectCount(), 1);
    const auto& model = dynamic_cast<office::engine::EngineWorkbook&>(*presentation).core()->model;
    EXPECT_EQ(model.rootStorage.children.size(), 1u) << "no storage of a canceled line stays";
    ASSERT_EQ(windows.boxes.size(), 4u);
    const auto messages = windows.messages();
    EXPECT_EQ(messages[0].rfind("Error!!!!\r1004    Cannot insert object: ", 0), 0u) << messages[0];
    EXPECT_NE(messages[0].find("\rFilename: " + missing + "\rLine description: line 2  (canceled!)"),
              std::string::npos)
        << messages[0];
    EXPECT_NE(messages[1].find("Filename: " + notWord), std::string::npos);
    EXPECT_NE(messages[2].find("Filename: " + badDeck), std::string::npos);
    EXPECT_NE(messages[3].find("not a file"), std::string::npos) << messages[3];
    EXPECT_EQ(wordApp->GetDocuments().Count(), 0);
}

}  // namespace
