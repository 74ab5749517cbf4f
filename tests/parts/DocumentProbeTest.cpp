// The document probe on real files: the sheets of workbooks written by
// another suite and by Excel (chart sheets included), the pages of
// documents and the slides of presentations from both, and files that
// cannot be opened. The probe fills a line editor that is not shown; its
// messages are read from the scripted window system.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "core/ProgramEnd.h"
#include "groups/MainWindow.h"
#include "lines/Us_Menu.h"
#include "parts/PartsFixture.h"
#include "probe/DocumentProbe.h"
#include "store/BaseWorkbook.h"

namespace partstest {
namespace {

namespace fs = std::filesystem;
namespace word = automation::word;

// A Word whose one document has `pages` pages starting every 10 characters,
// and whose go-to fails from page `failFrom` on (0: never).
class FakeWord : public word::Application, public word::Documents {
public:
    struct Range : word::Range {
        explicit Range(long at) : at(at) {}
        long Start() const override { return at; }
        long End() const override { return at; }
        long at;
    };
    struct Document : word::Document {
        FakeWord* app;
        std::string Name() const override { return "fake.doc"; }
        std::string FullName() const override { return "/fake.doc"; }
        std::shared_ptr<word::Range> Goto(long, long, long count) override {
            ++app->gotos;
            if (app->failFrom > 0 && count >= app->failFrom)
                throw automation::AutomationError(4198, "Command failed");
            return std::make_shared<Range>((std::clamp(count, 1L, app->pages) - 1) * 10);
        }
        bool PageCountIsEstimate() const override { return app->estimate; }
        void Close(int) override { ++app->closed; }
        std::shared_ptr<word::Application> GetApplication() override { return app->self.lock(); }
    };

    static std::shared_ptr<FakeWord> make(long pages, bool estimate, long failFrom = 0) {
        auto app = std::make_shared<FakeWord>();
        app->self = app;
        app->pages = pages;
        app->estimate = estimate;
        app->failFrom = failFrom;
        return app;
    }

    Documents& GetDocuments() override { return *this; }
    std::shared_ptr<word::Document> ActiveDocument() override { return nullptr; }
    bool Visible() const override { return false; }
    void SetVisible(bool) override {}
    void Quit(int) override { ++quits; }
    std::shared_ptr<word::Document> Open(const std::string&) override {
        auto document = std::make_shared<Document>();
        document->app = this;
        return document;
    }
    long Count() const override { return 1; }

    std::weak_ptr<FakeWord> self;
    long pages = 1;
    bool estimate = false;
    long failFrom = 0;
    long gotos = 0;
    int quits = 0;
    int closed = 0;
};

class DocumentProbeTest : public PartsTest {
protected:
    DocumentProbeTest() { windows.autoAcknowledge = true; }

    // The probe of `path` for a line with `sheetName` in `mode`.
    void look(const fs::path& path, const std::string& sheetName = "", const std::string& mode = "V") {
        ctx.state.CurrentLine.SheetName = sheetName;
        ctx.state.LineEditMode = mode;
        probe::ProbeLineFile(ctx, editor, path.string());
    }
    std::vector<std::string> sheetList() {
        std::vector<std::string> names;
        for (int i = 0; i < editor.ListBox2.ListCount(); ++i) names.push_back(editor.ListBox2.List(i));
        return names;
    }
    // A copy in the temporary folder, cut to `keep` bytes when given.
    fs::path copyOf(const fs::path& from, const std::string& name, std::size_t keep = 0) {
        const fs::path to = folder.path() / name;
        fs::copy_file(from, to);
        if (keep > 0) fs::resize_file(to, keep);
        return to;
    }

    lines::Us_Menu editor{ctx};
};

TEST_F(DocumentProbeTest, AWorkbookListsEverySheetInWorkbookOrderChartSheetsIncluded) {
    struct Case {
        fs::path file;
        std::vector<std::string> sheets;
        std::string lineSheet;  // differs in letter case from a sheet's name
        int selected;
    };
    const std::vector<Case> cases = {
        {testsupport::testData("budget.xls"), {"Data", "Summary", "Notes"}, "summary", 1},
        {testsupport::testData("veryhidden.xls"), {"Data", "Summary", "Notes"}, "NOTES", 2},
        {testsupport::sharedSample("reference/poi_ex42570-20305.xls"), {"Data", "Chart"}, "chart", 1},
        {testsupport::sharedSample("reference/tika_testEXCEL-charts.xls"),
         {"charttabyodawg", "Sheet1", "Sheet2"}, "CHARTTABYODAWG", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.string());
        if (!fs::exists(c.file)) continue;  // the shared references may be absent
        look(c.file, c.lineSheet);
        EXPECT_EQ(sheetList(), c.sheets);
        EXPECT_EQ(editor.ListBox2.ListIndex(), c.selected);
        EXPECT_TRUE(editor.Frame2.visible());
        EXPECT_FALSE(editor.Frame1.visible());
        EXPECT_TRUE(editor.Frame3.visible());
        EXPECT_EQ(editor.Frame2.caption(), "Excel   (Sheet Name: " + c.lineSheet + ")");
    }
    EXPECT_TRUE(windows.boxes.empty());
    EXPECT_TRUE(objects.everythingClosed());
}

TEST_F(DocumentProbeTest, AMissingSheetIsRedAndToldExceptWhileANewLineIsEdited) {
    const fs::path workbook = copyOf(testsupport::testData("budget.xls"), "Budget 2026.XLS");
    look(workbook, "Forecast", "V");
    EXPECT_EQ(sheetList().size(), 3u);
    EXPECT_EQ(editor.ListBox2.ListIndex(), -1);
    EXPECT_EQ(editor.ListBox2.backColor(), ui::kRed);
    EXPECT_TRUE(editor.Frame3.visible());

    ctx.state.LanguageCode = "I";
    look(workbook, "Forecast", "M");
    EXPECT_EQ(windows.messages(),
              (std::vector<std::string>{"Forecast\rExcel sheet not found!", "Forecast\rFoglio Excel non trovato!"}));

    windows.boxes.clear();
    look(workbook, "", "I");
    EXPECT_EQ(editor.ListBox2.ListIndex(), -1);
    EXPECT_FALSE(editor.ListBox2.backColor().has_value());
    EXPECT_EQ(editor.Frame2.caption(), "Excel   (Sheet Name: )");
    EXPECT_TRUE(windows.boxes.empty());
}

TEST_F(DocumentProbeTest, PagesAndSlidesFromOtherWritersAndFromWordAndPowerPoint) {
    struct Case {
        fs::path file;
        std::string caption;
        double count;
    };
    const std::vector<Case> cases = {
        {testsupport::testData("memo.doc"), "Word - N. Pages: 1", 1},
        {testsupport::testData("report.doc"), "Word - N. Pages: 5", 5},
        {testsupport::sharedSample("reference/tika_testWORD.doc"), "Word - N. Pages: 2", 2},
        {testsupport::testData("deck.ppt"), "PowerPoint - N. Slides: 7", 7},
        {testsupport::sharedSample("reference/tika_testPPT.ppt"), "PowerPoint - N. Slides: 1", 1},
        {testsupport::sharedSample("reference/poi_basic_test_ppt_file.ppt"), "PowerPoint - N. Slides: 2", 2},
    };
    ctx.state.LanguageCode = "I";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.string());
        if (!fs::exists(c.file)) continue;
        editor.Frame2.setVisible(true);
        look(c.file);
        EXPECT_EQ(editor.Frame1.caption(), c.caption);
        EXPECT_EQ(ctx.state.MaxPageCount.toNumber(), c.count);
        EXPECT_TRUE(editor.Frame1.visible());
        EXPECT_FALSE(editor.Frame2.visible());
        EXPECT_TRUE(editor.Frame3.visible());
        EXPECT_EQ(editor.Label10.caption(), "Da");
        EXPECT_EQ(editor.Label11.caption(), "A");
        // The page-range frame takes the Excel frame's place.
        EXPECT_EQ(editor.Frame1.geometry().left, editor.Frame2.geometry().left);
    }
    EXPECT_TRUE(windows.boxes.empty());
    EXPECT_TRUE(objects.everythingClosed());
    EXPECT_EQ(ctx.state.ProbedDocument, nullptr);
    EXPECT_EQ(ctx.state.ProbedPresentation, nullptr);
}

TEST_F(DocumentProbeTest, FilesThatCannotBeOpenedAreToldOnceAndLeaveTheFieldsHidden) {
    const fs::path damagedDoc = copyOf(testsupport::testData("report.doc"), "damaged.doc", 3000);
    const fs::path damagedPpt = copyOf(testsupport::testData("deck.ppt"), "damaged.ppt", 3000);
    const fs::path encrypted = copyOf(testsupport::testData("locked.xls"), "locked.xls");
    for (const fs::path& file : {damagedDoc, damagedPpt, encrypted, folder.path() / "gone.doc"}) {
        SCOPED_TRACE(file.string());
        windows.boxes.clear();
        ctx.state.MaxPageCount = 9;
        editor.Frame1.setCaption("before");
        editor.Frame3.setVisible(true);
        look(file);  // a presentation too: the program goes on
        ASSERT_EQ(windows.boxes.size(), 1u) << "one message, and no question (a password above all)";
        const ui::ShownBox& box = windows.boxes[0];
        EXPECT_EQ(box.kind, ui::ShownBox::Kind::Message);
        EXPECT_EQ(box.text.rfind("Error!!!!\r", 0), 0u) << box.text;
        EXPECT_NE(box.text.find("    "), std::string::npos) << "number, four blanks, description";
        EXPECT_EQ(box.text.substr(box.text.size() - file.string().size() - 11), "\rFilename: " + file.string());
        EXPECT_FALSE(editor.Frame3.visible());
        EXPECT_EQ(editor.Frame1.caption(), "before");
        if (file.extension() != ".xls") {
            EXPECT_TRUE(ctx.state.MaxPageCount.isEmpty());
        }
    }
    EXPECT_TRUE(objects.everythingClosed());
    EXPECT_EQ(ctx.state.ProbedPresentation, nullptr);
    EXPECT_EQ(ctx.state.ProbedDocument, nullptr);
}

TEST_F(DocumentProbeTest, ProbesWriteNothingAndLeaveNothingOpen) {
    std::vector<fs::path> files;
    for (const char* name : {"budget.xls", "report.doc", "deck.ppt", "protected.xls"})
        files.push_back(copyOf(testsupport::testData(name), name));
    auto listing = [&] {
        std::set<std::string> entries;
        for (const auto& entry : fs::directory_iterator(folder.path())) entries.insert(entry.path().filename().string());
        return entries;
    };
    std::vector<std::vector<std::uint8_t>> before;
    for (const fs::path& file : files) before.push_back(testsupport::readFileBytes(file));
    const auto entriesBefore = listing();
    for (int round = 0; round < 2; ++round)
        for (const fs::path& file : files) look(file, "Data");
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(testsupport::readFileBytes(files[i]), before[i]) << files[i];
    EXPECT_EQ(listing(), entriesBefore) << "no lock or temporary file beside the user's files";
    EXPECT_TRUE(objects.everythingClosed());
    EXPECT_EQ(objects.instances.size(), 4u);
    EXPECT_EQ(objects.wordInstances.size(), 2u);
    EXPECT_EQ(objects.presentations.size(), 2u);
}

TEST_F(DocumentProbeTest, OtherKindsHideBothFramesAndKeepTheCount) {
    const fs::path workbook = copyOf(testsupport::testData("budget.xls"), "budget.xlsx");
    ctx.state.MaxPageCount = 4;
    look(workbook);
    EXPECT_FALSE(editor.Frame1.visible());
    EXPECT_FALSE(editor.Frame2.visible());
    EXPECT_EQ(ctx.state.MaxPageCount.toNumber(), 4);
    EXPECT_TRUE(objects.instances.empty());
}

TEST_F(DocumentProbeTest, ADocumentWithoutARecordedCountSaysItsCountIsAnEstimate) {
    auto fake = FakeWord::make(12, true);
    objects.makeWord = [&] { return fake; };
    look("/fake.doc");
    EXPECT_EQ(editor.Frame1.caption(), "Word - N. Pages: 12 (estimate)");
    ctx.state.LanguageCode = "I";
    look("/fake.doc");
    EXPECT_EQ(editor.Frame1.caption(), "Word - N. Pages: 12 (stima)");
    EXPECT_EQ(fake->quits, 2);
}

TEST_F(DocumentProbeTest, AHugeRecordedCountIsFoundInAFewGoTos) {
    auto fake = FakeWord::make(2'000'000'000, false);
    objects.makeWord = [&] { return fake; };
    int failed = -1;
    const automation::Variant pages = probe::CountPages(ctx, "/fake.doc", failed);
    EXPECT_EQ(pages.toNumber(), 2'000'000'000);
    EXPECT_EQ(failed, 0);
    EXPECT_LT(fake->gotos, 200);
    for (long count : {1L, 2L, 3L, 64L, 65L}) {
        fake->pages = count;
        EXPECT_EQ(probe::CountPages(ctx, "/fake.doc", failed).toNumber(), count);
    }
}

TEST_F(DocumentProbeTest, ADocumentThatOpensButCannotBeCountedEndsTheProgramAndIsClosed) {
    auto fake = FakeWord::make(5, false, 3);
    objects.makeWord = [&] { return fake; };
    EXPECT_THROW(look("/fake.doc"), core::ProgramEnded);
    EXPECT_EQ(windows.messages(), (std::vector<std::string>{"Not recoverable error!!!!\r4198    Command failed"}));
    EXPECT_EQ(fake->closed, 1);
    EXPECT_EQ(ctx.state.ProbedDocument, nullptr);
}

TEST_F(DocumentProbeTest, CountSlidesRaisesForABadFileAndKeepsNothingOpen) {
    EXPECT_EQ(probe::CountSlides(ctx, testsupport::testData("deck.ppt").string()), 7);
    const fs::path notAPresentation = copyOf(testsupport::testData("memo.doc"), "memo.ppt");
    EXPECT_THROW(probe::CountSlides(ctx, notAPresentation.string()), automation::AutomationError);
    EXPECT_THROW(probe::CountSlides(ctx, (folder.path() / "none.ppt").string()), automation::AutomationError);
    EXPECT_EQ(ctx.state.ProbedPresentation, nullptr);
    EXPECT_TRUE(objects.everythingClosed());
}

TEST_F(DocumentProbeTest, FatalErrorClosesWhatAProbeHoldsAndTheMainWindowDropsIt) {
    const std::string deck = testsupport::testData("deck.ppt").string();
    ctx.state.ProbedPresentation = objects.GetPresentation(deck);
    EXPECT_THROW(store::FatalError(ctx, automation::AutomationError(91, "Object variable not set")), core::ProgramEnded);
    EXPECT_EQ(ctx.state.ProbedPresentation, nullptr);
    EXPECT_TRUE(objects.everythingClosed());

    makeBaseWorkbook();
    ctx.state.ProbedPresentation = objects.GetPresentation(deck);
    ctx.state.ProbedDocument = objects.CreateWord()->GetDocuments().Open(testsupport::testData("memo.doc").string());
    bool emptied = false;
    windows.act([&](ui::Form&) { emptied = !ctx.state.ProbedPresentation && !ctx.state.ProbedDocument; });
    groups::RunMainWindow(ctx);
    EXPECT_TRUE(emptied);
}

}  // namespace
}  // namespace partstest
