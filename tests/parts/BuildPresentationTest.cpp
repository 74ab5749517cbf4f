// The build driver over the real engine: a group of real files turned into a
// Presentation, read back from disk; the prompts; lines that cannot be
// carried cost only themselves; an earlier Presentation survives a failed build.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "builder/BuildPresentation.h"
#include "core/ProgramEnd.h"
#include "macros/MacroTexts.h"
#include "office/XlsFile.h"
#include "office/engine/EngineApplication.h"
#include "office/vba/VbaProject.h"
#include "parts/PartsFixture.h"
#include "support/OnePixelPng.h"

namespace {

using automation::Variant;
using partstest::Row;
namespace excel = automation::excel;
namespace fs = std::filesystem;

class BuildPresentationTest : public partstest::PartsTest {
protected:
    void SetUp() override {
        windows.autoAcknowledge = true;
        ctx.state.SelectedGroup = "Sales Review";
        objects.drawChart = [](const office::engine::ChartToDraw&) {
            return automation::Picture{testsupport::onePixelPng(), 1, 1};
        };
    }

    std::string sample(const std::string& name) {
        auto path = folder.path() / name;
        fs::copy_file(testsupport::testData(name), path, fs::copy_options::overwrite_existing);
        return path.string();
    }

    // Runs the build with the two answers given; every other box is acknowledged.
    int build(const std::string& version, const std::string& password = "") {
        windows.answerInput(version);
        if (!version.empty()) windows.answerInput(password);
        int status = -1;
        builder::BuildPresentation(ctx, status, [this](const builder::BuildProgress& p) { progress.push_back(p); });
        return status;
    }

    // The written Presentation read back as a file (the engine's reader).
    office::WorkbookModel readBack(const std::string& password = "") {
        return office::readXlsFile(ctx.state.PresentationPath, password);
    }

    static const office::SheetModel& sheetOf(const office::WorkbookModel& model, const std::string& name) {
        for (const auto& sheet : model.sheets)
            if (sheet.name == name) return sheet;
        throw std::runtime_error("no sheet " + name);
    }

    static std::string text(const office::SheetModel& sheet, std::uint32_t row, std::uint32_t column) {
        const office::Cell* cell = sheet.cell(row, column);
        return cell ? cell->value.toText() : "";
    }

    std::vector<std::string> folderEntries() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::vector<builder::BuildProgress> progress;
};

TEST_F(BuildPresentationTest, CarriesTheGroupsWorkbookLinesAndCancelsTheOnesThatCannotBeCarried) {
    const std::string budget = sample("budget.xls");
    makeBaseWorkbook({
        {1, "Other group", "", "not ours", budget, "Data", "Other", "", {}, {}, 100},
        {2, "Sales Review", "", "Summary sheet", budget, "summary", "Totals", "", {}, {}, 300},
        {3, "sales review", "S", "Skipped, its file need not exist", "/nowhere/gone.xls", "A", "A", "", {}, {}, 150},
        {4, "Sales Review", "V", "Missing file", "/nowhere/missing.xls", "A", "B", "", {}, {}, 200},
        {5, "Sales Review", "P", "Data with chart", budget, "Data", "Chart data", "", {}, {}, 110},
        {6, "Sales Review", "", "No such sheet", budget, "Nope", "C", "", {}, {}, 120},
        {7, "Other group", "", "not ours either", budget, "Data", "X", "", {}, {}, 100},
    });
    ASSERT_EQ(build("  v1.0 ", " secret "), 1);
    EXPECT_EQ(objects.excelInstancesCreated, 1);  // one Excel for the whole build
    EXPECT_EQ(ctx.state.PresentationPath, ctx.state.DataFolder + "Sales Review - v1.0.xls");

    // The messages of the canceled lines, in the order of the sort numbers.
    const auto messages = windows.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Sheet: Nope\rnot found in: " + budget + "\rLine description: No such sheet  (canceled!)");
    EXPECT_EQ(messages[1], "/nowhere/missing.xls  Does not exist!\rLine description: Missing file  (canceled!)");

    const office::WorkbookModel model = readBack();
    std::vector<std::string> names;
    for (const auto& sheet : model.sheets) names.push_back(sheet.name);
    EXPECT_EQ(names[0], "START");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              (std::set<std::string>{"START", "DATA", "Chart data", "Totals"}));

    const auto& start = sheetOf(model, "START");
    EXPECT_EQ(start.visibility, office::SheetVisibility::Visible);
    EXPECT_FALSE(start.protection.contents);
    EXPECT_EQ(text(start, 1, 1), "Remove the Execution Macro Protection! (Tools ==> Macro ==> Protection)");
    const office::XfDef& warning = model.xfAt(start.cell(1, 1)->xf);
    EXPECT_TRUE(model.fonts.at(warning.font).bold());
    EXPECT_EQ(model.fonts.at(warning.font).heightTwips, 240);
    EXPECT_EQ(warning.alignment.horizontal, office::HorizontalAlignment::Center);
    EXPECT_EQ(warning.alignment.vertical, office::VerticalAlignment::Center);
    EXPECT_TRUE(warning.alignment.wrap);
    EXPECT_EQ(warning.borders.top.style, office::BorderStyle::Thin);
    EXPECT_EQ(start.rows.all().at(0).heightTwips, 800);

    for (const char* name : {"Chart data", "Totals"}) {
        const auto& sheet = sheetOf(model, name);
        EXPECT_EQ(sheet.visibility, office::SheetVisibility::VeryHidden) << name;
        EXPECT_TRUE(sheet.protection.contents && sheet.protection.objects && sheet.protection.scenarios) << name;
        EXPECT_NE(sheet.protection.passwordHash, 0) << name;
        EXPECT_FALSE(sheet.window.showGridlines || sheet.window.showHeadings) << name;
    }
    // Frozen: the SUM arrives as its value, the chart as a picture.
    const auto& totals = sheetOf(model, "Totals");
    bool sumFound = false;
    for (std::uint32_t r = 1; r <= totals.rows.all().size(); ++r)
        for (std::uint32_t c = 1; c <= 10; ++c)
            if (const office::Cell* cell = totals.cell(r, c)) {
                EXPECT_FALSE(cell->formula) << r << "," << c;
                sumFound |= cell->value.toText() == "5150";
            }
    EXPECT_TRUE(sumFound);
    const auto& chartData = sheetOf(model, "Chart data");
    ASSERT_EQ(chartData.drawings.size(), 1u);
    EXPECT_EQ(chartData.drawings[0].kind, office::DrawingKind::Picture);

    // DATA: the group's rows that were carried or passed over, by sort number.
    const auto& data = sheetOf(model, "DATA");
    EXPECT_EQ(data.visibility, office::SheetVisibility::VeryHidden);
    EXPECT_TRUE(data.protection.contents);
    EXPECT_FALSE(data.window.showGridlines || data.window.showHeadings);
    EXPECT_EQ(text(data, 1, 12), "v1.0|Tavolex 1.1|E|secret");
    EXPECT_EQ(text(data, 1, 1), "Pos.");
    std::vector<std::string> kept;
    for (std::uint32_t r = 2; !text(data, r, 1).empty(); ++r) kept.push_back(text(data, r, 1) + " " + text(data, r, 11));
    EXPECT_EQ(kept, (std::vector<std::string>{"5 110", "3 150", "2 300"}));
    for (const char* column : {"A", "L", "Z"}) {
        const auto index = static_cast<std::uint16_t>(column[0] - 'A');
        EXPECT_TRUE(data.columns.count(index) && data.columns.at(index).hidden) << column;
    }

    // The workbook structure carries the password; the macro project is
    // there, named and locked for viewing with the base password.
    EXPECT_TRUE(model.protection.structure);
    EXPECT_NE(model.protection.passwordHash, 0);
    auto excelApp = objects.CreateExcel();
    auto reopened = excelApp->GetWorkbooks().Open(ctx.state.PresentationPath, {});
    auto& projects = excelApp->GetVBE().GetVBProjects();
    ASSERT_EQ(projects.Count(), 1);
    EXPECT_EQ(projects.Item(1)->Name(), "TavolexVBP");
    EXPECT_EQ(projects.Item(1)->Protection(), automation::vbe::ProjectProtection::Locked);
    excelApp->Quit();

    // Nothing but the base workbook, the Presentation, the samples and the
    // engine's hidden lock files is left in the folder.
    for (const std::string& name : folderEntries())
        EXPECT_EQ(name.find("tavolex-build"), std::string::npos) << name;

    // Progress: the start, the count, then one report per carried line.
    ASSERT_EQ(progress.size(), 6u);
    EXPECT_EQ(builder::ProgressCaption(progress[0]), "Wait ...");
    EXPECT_EQ(progress[1].total, 4);
    EXPECT_EQ(builder::ProgressCaption(progress[5]), "Wait ... 4/4");
    EXPECT_EQ(progress[2].description, "Data with chart");
    EXPECT_FALSE(progress[2].canceled);
    EXPECT_TRUE(progress[3].canceled);  // no such sheet
    EXPECT_TRUE(progress[4].canceled);  // missing file
}

TEST_F(BuildPresentationTest, TheMacroTextsLandInTheirComponents) {
    makeBaseWorkbook({{1, "Sales Review", "", "Summary", sample("budget.xls"), "Summary", "Totals", "", {}, {}, 100}});
    ASSERT_EQ(build("2", ""), 0);
    // The project is locked in the file: read it with the reader that knows the password.
    auto excelApp = objects.CreateExcel();
    excelApp->GetWorkbooks().Open(ctx.state.PresentationPath, {});
    EXPECT_THROW(excelApp->GetVBE().GetVBProjects().Item(1)->GetVBComponents(), automation::AutomationError);
    excelApp->Quit();
    const office::WorkbookModel model = readBack();
    EXPECT_TRUE(model.hasVbaProject);
    const office::vba::Project project = office::vba::readProjectStorage(*model.rootStorage.child("_VBA_PROJECT_CUR"));
    EXPECT_TRUE(office::vba::passwordOpens(project, ctx.state.BasePassword));
    auto codeOf = [&](const std::string& name) {
        const office::vba::Module* module = project.module(name);
        return module ? module->code : "(missing " + name + ")";
    };
    // The texts' lines end with CR; the project's with CR LF.
    auto crlf = [](const std::string& text) {
        std::string out;
        for (char c : text) out += c == '\r' ? std::string("\r\n") : std::string(1, c);
        return out;
    };
    EXPECT_EQ(codeOf("ThisWorkbook"), crlf(macros::WorkbookEventText()));
    EXPECT_EQ(codeOf("Module1"), crlf(macros::ModuleText()));
    EXPECT_EQ(codeOf("Us_Menu"), crlf(macros::MenuFormText()));
    EXPECT_EQ(codeOf("Userform00"), crlf(macros::BackdropText()));
    // An empty password: the settings text ends with its third bar, the
    // structure is protected without a password.
    EXPECT_EQ(text(sheetOf(model, "DATA"), 1, 12), "2|Tavolex 1.1|E|");
    EXPECT_TRUE(model.protection.structure);
    EXPECT_EQ(model.protection.passwordHash, 0);
}

TEST_F(BuildPresentationTest, VersionAndPasswordPromptsInsistUntilTheAnswerFits) {
    makeBaseWorkbook();
    const std::string sixty(60, 'x');
    windows.answerInput("a/b");
    windows.answerInput(sixty + "y");
    windows.answerInput(sixty);
    windows.answerInput("pass|word");
    windows.answerInput("fine");
    int status = -1;
    builder::BuildPresentation(ctx, status);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(windows.boxes.size(), 5u);
    EXPECT_EQ(windows.boxes[0].text, "Fill in with the Presentation Version\r\r(It will be the Presentation subtitle "
                                     "and the second part of the Presentation filename)");
    EXPECT_EQ(windows.boxes[1].text, "A Presentation Version does not contains the following characters: \\/:*?\"<>|");
    EXPECT_EQ(windows.boxes[1].defaultText, "a/b");
    EXPECT_EQ(windows.boxes[2].text, "Greater than 60 characters!");
    EXPECT_EQ(windows.boxes[2].defaultText, sixty + "y");
    EXPECT_EQ(windows.boxes[3].text, "Fill in with an optional password to protect the Presentation");
    EXPECT_EQ(windows.boxes[3].defaultText, "");
    EXPECT_EQ(windows.boxes[4].text, "The password does not contains the following characters: \\/:*?\"<>|");
    EXPECT_EQ(windows.boxes[4].defaultText, "pass|word");
    EXPECT_TRUE(fs::exists(ctx.state.DataFolder + "Sales Review - " + sixty + ".xls"));
    // A group without lines: START and DATA with its header row only.
    const office::WorkbookModel model = readBack();
    ASSERT_EQ(model.sheets.size(), 2u);
    EXPECT_EQ(text(sheetOf(model, "DATA"), 2, 1), "");
}

TEST_F(BuildPresentationTest, AnEmptyVersionStartsNothing) {
    makeBaseWorkbook();
    objects.excelInstancesCreated = 0;
    windows.cancelInput();
    int status = -1;
    builder::BuildPresentation(ctx, status);
    EXPECT_EQ(status, 9);
    EXPECT_EQ(objects.excelInstancesCreated, 0);
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(windows.boxes.size(), 1u);
}

TEST_F(BuildPresentationTest, AGroupNameThatCannotBeAFileNameBuildsNothing) {
    ctx.state.SelectedGroup = "../outside";
    makeBaseWorkbook({{1, "../outside", "", "d", "/x.pdf", "", "", "", {}, {}, 100}});
    int status = -1;
    builder::BuildPresentation(ctx, status);
    EXPECT_EQ(status, 9);
    ASSERT_EQ(windows.boxes.size(), 1u);
    EXPECT_EQ(windows.boxes[0].text,
              "A Groupname does not contains the following characters: \\/:*?\"<>|\r../outside");
    EXPECT_FALSE(fs::exists(folder.path().parent_path() / "outside - 1.xls"));
}

TEST_F(BuildPresentationTest, ItalianTextsAndAPageRangeBeyondItsDocument) {
    ctx.state.LanguageCode = "I";
    makeBaseWorkbook({{1, "Sales Review", "", "Manca", "/nowhere/x.doc", "", "", "", 1, 2, 100}});
    ASSERT_EQ(build("1"), 1);
    ASSERT_EQ(windows.messages().size(), 1u);
    EXPECT_EQ(windows.messages()[0], "/nowhere/x.doc  Non esiste!\rDescrizione riga: Manca  (eliminata!)");
    EXPECT_EQ(windows.boxes[0].text.substr(0, 41), "Inserisci la Versione della Presentazione");
    const office::WorkbookModel model = readBack();
    EXPECT_EQ(text(sheetOf(model, "DATA"), 1, 12), "1|Tavolex 1.1|I|");
    EXPECT_EQ(text(sheetOf(model, "START"), 1, 1),
              "Togliere la protezione sull'esecuzione delle Macro! (Strumenti ==> Macro ==> Protezione)");
}

TEST_F(BuildPresentationTest, DocumentLinesBecomeHiddenObjectsOnDataAndARangeBeyondItsDocumentGoes) {
    const std::string report = sample("report.doc");  // five pages
    const std::string deck = sample("deck.ppt");      // seven slides
    const std::string pdf = (folder.path() / "scan.pdf").string();
    std::ofstream(pdf) << "%PDF-1.4\n";
    makeBaseWorkbook({{1, "Sales Review", "", "Pages", report, "", "", "", 2, 4, 100},
                      {2, "Sales Review", "V", "Slides", deck, "", "", "", 1, 7, 200},
                      {3, "Sales Review", "", "Scan", pdf, "", "", "", {}, {}, 300},
                      {4, "Sales Review", "", "Too far", report, "", "", "", 3, 9, 400}});
    ASSERT_EQ(build("3"), 1);
    ASSERT_EQ(windows.messages().size(), 1u);
    EXPECT_EQ(windows.messages()[0],
              "'To' > max value!\rFilename: " + report + "\rLine description: Too far  (canceled!)");

    const office::WorkbookModel model = readBack();
    const auto& data = sheetOf(model, "DATA");
    std::vector<std::string> kept;
    for (std::uint32_t r = 2; !text(data, r, 1).empty(); ++r) kept.push_back(text(data, r, 4) + ": " + text(data, r, 8));
    EXPECT_EQ(kept, (std::vector<std::string>{"Pages: Object 1", "Slides: Object 2", "Scan: Object 3"}));
    // The line that went shares its object with "Pages": the object stays, once.
    std::vector<std::string> embedded;
    for (const auto& object : data.drawings) {
        EXPECT_EQ(object.kind, office::DrawingKind::OleObject);
        EXPECT_TRUE(object.hidden) << object.name;
        embedded.push_back(object.name + " " + object.oleClass);
    }
    EXPECT_EQ(embedded, (std::vector<std::string>{"Object 1 Word.Document.8", "Object 2 PowerPoint.Show.8",
                                                 "Object 3 Package"}));
    // Through the engine as the Presentation's menu reaches them.
    auto excelApp = objects.CreateExcel();
    auto book = excelApp->GetWorkbooks().Open(ctx.state.PresentationPath, {});
    auto dataSheet = book->Worksheets("DATA");
    ASSERT_EQ(dataSheet->OLEObjectCount(), 3);
    EXPECT_FALSE(dataSheet->OLEObjects("Object 2")->Visible());
    EXPECT_EQ(dataSheet->OLEObjects("Object 3")->FileBytes(), testsupport::readFileBytes(pdf));
    excelApp->Quit();
}

TEST_F(BuildPresentationTest, AnEarlierPresentationIsReplacedWholeOrNotAtAll) {
    const std::string budget = sample("budget.xls");
    makeBaseWorkbook({{1, "Sales Review", "", "Summary", budget, "Summary", "Totals", "", {}, {}, 100}});
    ASSERT_EQ(build("v1"), 0);
    const auto first = testsupport::readFileBytes(ctx.state.PresentationPath);

    // Built again over it: replaced without a question.
    ASSERT_EQ(build("v1", "other"), 0);
    EXPECT_EQ(text(sheetOf(readBack(), "DATA"), 1, 12), "v1|Tavolex 1.1|E|other");
    const auto second = testsupport::readFileBytes(ctx.state.PresentationPath);
    EXPECT_NE(first, second);

    // A build whose Presentation cannot be written ends in the
    // not-recoverable error and leaves the earlier file and no temporary one.
    const fs::path target = ctx.state.PresentationPath;
    fs::remove(target);
    fs::create_directory(target);  // the final rename cannot replace a folder
    windows.answerInput("v1");
    windows.answerInput("");
    int status = -1;
    EXPECT_THROW(builder::BuildPresentation(ctx, status), core::ProgramEnded);
    ASSERT_FALSE(windows.messages().empty());
    EXPECT_EQ(windows.messages().back().rfind("Not recoverable error!!!!\r", 0), 0u) << windows.messages().back();
    EXPECT_TRUE(fs::is_directory(target));
    for (const std::string& name : folderEntries())
        EXPECT_EQ(name.find("tavolex-build"), std::string::npos) << name;
    EXPECT_FALSE(ctx.state.ExcelApp);
}

}  // namespace
