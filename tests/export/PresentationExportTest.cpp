// "Print the Presentation" into one PDF, over Presentations the real build
// wrote: the sheets and documents come from fakes that write real PDFs, the
// joined file is read back with Qt PDF.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "automation/AutomationError.h"
#include "export/PdfFiles.h"
#include "player/PlayerFixture.h"
#include "player/PresentationExport.h"

namespace exporttest {
namespace {

namespace fs = std::filesystem;
using automation::AutomationError;
using player::LinePages;
using player::PresentationFile;
using player::PresentationLine;
using Texts = std::vector<std::string>;

// Lays a document out as "<file stem> page N" on as many pages as its kind
// has here; the line's range, or all pages when it has none.
class FakeLayout : public player::LinePdfMaker {
public:
    std::optional<LinePages> pagesOf(const PresentationFile& file, const PresentationLine& line) override {
        asked.push_back(line.description);
        if (!file.object(line.objectName))
            throw AutomationError(automation::errnum::kSubscriptOutOfRange, "no object " + line.objectName);
        if (line.description == failing) throw AutomationError(automation::errnum::kApplicationDefined, "the layout failed");
        if (!installed) return std::nullopt;
        const std::string stem = fs::path(line.fileName).stem().string();
        const int count = line.kind() == "PPT" ? 7 : line.kind() == "DOC" ? 5 : 1;
        Texts pages;
        for (int k = 1; k <= count; ++k) pages.push_back(stem + " page " + std::to_string(k));
        const std::string path = (folder.path() / (std::to_string(asked.size()) + ".pdf")).string();
        writePdf(path, pages);
        LinePages result{path, 1, count, notice};
        if (line.firstPage > 0) {
            result.first = static_cast<int>(line.firstPage);
            result.last = static_cast<int>(line.lastPage);
        }
        return result;
    }

    testsupport::TempFolder folder{"tavolex-fake-layout"};
    Texts asked;
    std::string failing;  // the description of a line whose layout fails
    bool installed = true;
    std::string notice;
};

class PresentationExportTest : public playertest::PlayerTest {
protected:
    PresentationExportTest() {
        sheetPdf = [this](const PresentationFile&, const PresentationLine& line, const std::string& pdfPath) {
            sheetsDrawn.push_back(line.outputSheet);
            if (line.outputSheet == failingSheet)
                throw AutomationError(automation::errnum::kApplicationDefined, "the sheet cannot be drawn");
            writePdf(pdfPath, {"sheet " + line.outputSheet});
        };
    }

    // Sheet lines Totals and Figures ("V": printed, not listed), a Word line
    // kept out of printing ("P"), slides 2 to 3 of a deck, an "S" line, a
    // PDF and a text file (not printable).
    std::string mixedPresentation() {
        const std::string budget = sample("budget.xls");
        writePdf((folder.path() / "handout.pdf").string(), {"handout page 1"});
        return buildPresentation(
            {{1, "Mixed", "", "Totals", budget, "Summary", "Totals", "", {}, {}, 100},
             {2, "Mixed", "V", "Figures", budget, "Data", "Figures", "", {}, {}, 200},
             {3, "Mixed", "P", "The memo", sample("memo.doc"), "", "", "", {}, {}, 300},
             {4, "Mixed", "", "The deck", sample("deck.ppt"), "", "", "", 2, 3, 400},
             {5, "Mixed", "S", "Left out", sample("report.doc"), "", "", "", {}, {}, 500},
             {6, "Mixed", "", "Handout", (folder.path() / "handout.pdf").string(), "", "", "", {}, {}, 600},
             {7, "Mixed", "", "Notes", textFile("notes.txt", "n\n"), "", "", "", {}, {}, 700}},
            "Mixed", "1");
    }

    int exportPdf(const std::string& presentation) {
        err.str("");
        return player::ExportPresentationPdf(ctx, presentation, out, sheetPdf, layout, err);
    }

    std::string out = (folder.path() / "Mixed.pdf").string();
    player::SheetPdfWriter sheetPdf;
    Texts sheetsDrawn;
    std::string failingSheet;
    FakeLayout layout;
    std::ostringstream err;
};

bool says(const std::ostringstream& err, const std::string& text) { return err.str().find(text) != std::string::npos; }

TEST_F(PresentationExportTest, EveryPrintedLineInDataOrderAndNothingKeptOutOfPrinting) {
    const std::string path = mixedPresentation();
    EXPECT_EQ(exportPdf(path), player::kExportWhole) << err.str();
    EXPECT_EQ(pdfPageTexts(out),
              (Texts{"sheet Totals", "sheet Figures", "deck page 2", "deck page 3", "handout page 1"}));
    EXPECT_EQ(layout.asked, (Texts{"The deck", "Handout"}));  // neither "P" nor "S" lines are laid out
    EXPECT_EQ(sheetsDrawn, (Texts{"Totals", "Figures"}));
    // The text file is named as not printable; that is no failure.
    EXPECT_TRUE(says(err, "\"Notes\" (notes.txt) is not printable")) << err.str();
    EXPECT_FALSE(says(err, "could not be exported")) << err.str();
    EXPECT_TRUE(objects.everythingClosed());
}

TEST_F(PresentationExportTest, ALineThatCannotBeRenderedIsNamedAndTheOthersAreWritten) {
    const std::string path = mixedPresentation();
    struct Case {
        std::string failingSheet, failingLayout;
        bool layoutInstalled;
        Texts pages;
        std::string named;
    };
    const std::vector<Case> cases = {
        {"Figures", "", true, {"sheet Totals", "deck page 2", "deck page 3", "handout page 1"},
         "\"Figures\" (budget.xls) could not be exported: the sheet cannot be drawn"},
        {"", "The deck", true, {"sheet Totals", "sheet Figures", "handout page 1"},
         "\"The deck\" (deck.ppt) could not be exported: the layout failed"},
        // Without a layout program only the sheets are left.
        {"", "", false, {"sheet Totals", "sheet Figures"}, "no layout program"},
    };
    for (const Case& c : cases) {
        failingSheet = c.failingSheet;
        layout.failing = c.failingLayout;
        layout.installed = c.layoutInstalled;
        EXPECT_EQ(exportPdf(path), player::kExportPartly) << err.str();
        EXPECT_EQ(pdfPageTexts(out), c.pages);
        EXPECT_TRUE(says(err, c.named)) << err.str();
    }
}

TEST_F(PresentationExportTest, ASheetDeletedFromThePresentationIsNamed) {
    const std::string path = mixedPresentation();
    editPresentation(path, "", [](automation::excel::Workbook& book) { book.Sheets("Totals")->Delete(); });
    EXPECT_EQ(exportPdf(path), player::kExportPartly);
    EXPECT_TRUE(says(err, "\"Totals\" (budget.xls) could not be exported: its sheet \"Totals\" has been deleted"))
        << err.str();
    EXPECT_EQ(pdfPageTexts(out).front(), "sheet Figures");
    EXPECT_EQ(sheetsDrawn, (Texts{"Figures"}));
}

TEST_F(PresentationExportTest, ALayoutNoticeIsPassedOnWithTheLine) {
    const std::string path = mixedPresentation();
    layout.notice = "the layout has 6 slides, the deck had 7";
    EXPECT_EQ(exportPdf(path), player::kExportWhole);
    EXPECT_TRUE(says(err, "\"The deck\" (deck.ppt): the layout has 6 slides")) << err.str();
}

TEST_F(PresentationExportTest, NothingPrintableOrNothingRenderedWritesNoFile) {
    std::ofstream(out) << "an earlier export";
    const std::string budget = sample("budget.xls");
    const std::string path = buildPresentation(
        {{1, "Mixed", "P", "Totals", budget, "Summary", "Totals", "", {}, {}, 100},
         {2, "Mixed", "S", "The memo", sample("memo.doc"), "", "", "", {}, {}, 200},
         {3, "Mixed", "", "Notes", textFile("notes.txt", "n\n"), "", "", "", {}, {}, 300}},
        "Mixed", "1");
    EXPECT_EQ(exportPdf(path), player::kExportNothing);
    EXPECT_TRUE(says(err, "no line to print")) << err.str();

    // Every printable line failing is the same: no file.
    const std::string other = buildPresentation(
        {{1, "Other", "", "Totals", budget, "Summary", "Totals", "", {}, {}, 100},
         {2, "Other", "", "The memo", sample("memo.doc"), "", "", "", {}, {}, 200}},
        "Other", "1");
    failingSheet = "Totals";
    layout.failing = "The memo";
    EXPECT_EQ(exportPdf(other), player::kExportNothing);
    EXPECT_TRUE(says(err, "\"The memo\" (memo.doc) could not be exported")) << err.str();
    EXPECT_TRUE(says(err, "No PDF was written")) << err.str();

    std::ifstream earlier(out);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(earlier), {}), "an earlier export");
}

TEST_F(PresentationExportTest, AnOutputThatCannotBeWrittenIsToldBeforeAnyLineIsRendered) {
    const std::string path = mixedPresentation();
    fs::create_directory(folder.path() / "a folder.pdf");
    struct Case {
        std::string out, said;
    };
    const std::vector<Case> cases = {
        {(folder.path() / "gone" / "out.pdf").string(), "cannot be reached"},
        {(folder.path() / "a folder.pdf").string(), "is a folder"},
        {(folder.path() / "notes.txt" / "out.pdf").string(), "is not a folder"},
        {path, "is the Presentation itself"},
        {"", "no file name"},
    };
    const auto before = fs::file_size(path);
    for (const Case& c : cases) {
        out = c.out;
        EXPECT_EQ(exportPdf(path), player::kExportNothing) << c.out;
        EXPECT_TRUE(says(err, c.said)) << err.str();
    }
    EXPECT_TRUE(layout.asked.empty());
    EXPECT_TRUE(sheetsDrawn.empty());
    EXPECT_EQ(fs::file_size(path), before);
    EXPECT_TRUE(objects.everythingClosed());
}

TEST_F(PresentationExportTest, AWorkbookThatIsNoPresentationIsToldWithTheReason) {
    EXPECT_EQ(exportPdf(sample("budget.xls")), player::kExportNothing);
    EXPECT_TRUE(says(err, "is not a Tavolex Presentation")) << err.str();
    EXPECT_EQ(exportPdf((folder.path() / "missing.xls").string()), player::kExportNothing);
    EXPECT_TRUE(says(err, "cannot be opened")) << err.str();
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(objects.everythingClosed());
}

}  // namespace
}  // namespace exporttest
