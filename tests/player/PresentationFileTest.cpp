// Reading a Presentation the real build wrote: its settings, lines, frozen
// sheets and embedded objects, without changing the file; and files that are
// no Presentation, each with a message that says which and why.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "automation/AutomationError.h"
#include "player/PlayerFixture.h"
#include "player/PresentationFile.h"

namespace playertest {
namespace {

namespace fs = std::filesystem;
using player::PresentationFile;

class PresentationFileTest : public PlayerTest {};

TEST_F(PresentationFileTest, ReadsWhatTheBuildWroteAndLeavesTheFileAsItWas) {
    const std::string budget = sample("budget.xls");
    const std::string memo = sample("memo.doc");
    const std::string deck = sample("deck.ppt");
    const std::string notes = textFile("notes.txt", "some notes\n");
    const std::string path = buildPresentation(
        {{1, "Review", "", "Summary sheet", budget, "Summary", "Totals", "", {}, {}, 300},
         {2, "Other", "", "not ours", budget, "Data", "X", "", {}, {}, 100},
         {3, "Review", "V", "Figures, printed only", budget, "Data", "Figures", "", {}, {}, 200},
         {4, "Review", "", "The memo", memo, "", "", "", {}, {}, 400},
         {5, "review", "P", "The deck", deck, "", "", "", 2, 3, 500},
         {6, "Review", "S", "Left out", "/nowhere/gone.pdf", "", "", "", {}, {}, 600},
         {7, "Review", "", "Notes", notes, "", "", "", {}, {}, 700}},
        "Review", "  v 2.0 ", "pw 1");
    const auto before = testsupport::readFileBytes(path);
    const auto entriesBefore = std::distance(fs::directory_iterator(folder.path()), {});

    auto excel = objects.CreateExcel();
    PresentationFile file = PresentationFile::Open(*excel, path);
    EXPECT_EQ(file.settings().subtitle, "v 2.0");
    EXPECT_EQ(file.settings().title, "Tavolex 1.1");
    EXPECT_EQ(file.settings().language, "E");
    EXPECT_EQ(file.settings().password, "pw 1");
    EXPECT_EQ(file.groupName(), "Review");

    // In sort order; the "S" line is kept in DATA (not carried, not dropped).
    std::vector<std::string> seen;
    for (const auto& line : file.lines())
        seen.push_back(line.description + "|" + line.kind() + "|" + (line.listed() ? "L" : "-") +
                       (line.printed() ? "P" : "-") + "|" + (line.isSheet() ? "sheet" : "object"));
    EXPECT_EQ(seen, (std::vector<std::string>{"Figures, printed only|XLS|-P|sheet", "Summary sheet|XLS|LP|sheet",
                                              "The memo|DOC|LP|object", "The deck|PPT|L-|object",
                                              "Left out|PDF|--|object", "Notes|TXT|LP|object"}));
    EXPECT_EQ(file.lines().front().row, 2);
    EXPECT_EQ(file.lines()[3].firstPage, 2);
    EXPECT_EQ(file.lines()[3].lastPage, 3);
    EXPECT_EQ(file.lines()[2].firstPage, 0);  // blank

    EXPECT_EQ(file.frozenSheets(), (std::vector<std::string>{"Totals", "Figures"}));  // workbook order
    EXPECT_TRUE(file.hasSheet("totals"));
    EXPECT_FALSE(file.hasSheet("DATA"));

    // Every carried document is an object of DATA under the name its line gives.
    ASSERT_EQ(file.objects().size(), 3u);
    const auto* memoObject = file.object(file.lines()[2].objectName);
    const auto* deckObject = file.object(file.lines()[3].objectName);
    const auto* notesObject = file.object(file.lines()[5].objectName);
    ASSERT_TRUE(memoObject && deckObject && notesObject);
    EXPECT_NE(memoObject->progId.find("Word"), std::string::npos);
    EXPECT_NE(deckObject->progId.find("PowerPoint"), std::string::npos);
    EXPECT_EQ(notesObject->progId, "Package");
    EXPECT_EQ(fs::path(notesObject->fileName).filename(), "notes.txt");

    file.close();
    excel->Quit();
    EXPECT_EQ(testsupport::readFileBytes(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), entriesBefore);  // no lock file left
}

TEST_F(PresentationFileTest, AnItalianPresentationWithoutLinesOrPassword) {
    ctx.state.LanguageCode = "I";
    const std::string path = buildPresentation({{1, "Other", "", "x", "/nowhere/x.xls", "A", "B", "", {}, {}, 100}},
                                               "Vuoto", "1", "");
    auto excel = objects.CreateExcel();
    PresentationFile file = PresentationFile::Open(*excel, path);
    EXPECT_EQ(file.settings().language, "I");
    EXPECT_EQ(file.settings().password, "");
    EXPECT_TRUE(file.lines().empty());
    EXPECT_EQ(file.groupName(), "");
    EXPECT_TRUE(file.frozenSheets().empty());
}

TEST_F(PresentationFileTest, SettingsTextNeedsThreeSeparators) {
    const auto full = player::ParseSettingsText(" v1 | Title |I| p w ");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->subtitle, "v1");
    EXPECT_EQ(full->title, "Title");
    EXPECT_EQ(full->language, "I");
    EXPECT_EQ(full->password, "p w");
    EXPECT_TRUE(player::ParseSettingsText("|||"));
    EXPECT_FALSE(player::ParseSettingsText("v1|Title|E"));
    EXPECT_FALSE(player::ParseSettingsText(""));
}

TEST_F(PresentationFileTest, FilesThatAreNoPresentationGetAMessageNamingTheFileAndTheReason) {
    const std::string budget = sample("budget.xls");
    const std::string formatted = sample("formatted.xls");
    const std::string textOnly = textFile("words.xls", "this is no workbook at all\n");

    // A workbook with a DATA sheet but no settings text.
    const std::string noSettings = (folder.path() / "no settings.xls").string();
    {
        auto app = objects.CreateExcel();
        auto book = app->GetWorkbooks().Add();
        book->WorksheetAt(1)->SetName("DATA");
        book->WorksheetAt(1)->Cells(2, 1)->SetValue(1);
        book->SaveAs(noSettings);
        app->Quit();
    }
    // A real Presentation cut short.
    const std::string built = buildPresentation(
        {{1, "Cut", "", "Summary", budget, "Summary", "Totals", "", {}, {}, 100}}, "Cut", "1");
    const std::string damaged = (folder.path() / "damaged.xls").string();
    {
        auto bytes = testsupport::readFileBytes(built);
        bytes.resize(bytes.size() / 3);
        std::ofstream(damaged, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                       static_cast<std::streamsize>(bytes.size()));
    }

    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {formatted, "is not a Tavolex Presentation: it has no \"DATA\" sheet."},
        {noSettings, "is not a Tavolex Presentation: its \"DATA\" sheet holds no settings text in cell L1."},
        {textOnly, "cannot be opened: "},
        {damaged, "cannot be opened: "},
        {(folder.path() / "missing.xls").string(), "cannot be opened: "},
    };
    for (const auto& c : cases) {
        const auto before = testsupport::readFileBytes(c.path);
        auto excel = objects.CreateExcel();
        try {
            PresentationFile::Open(*excel, c.path);
            ADD_FAILURE() << c.path << " was read as a Presentation";
        } catch (const automation::AutomationError& error) {
            EXPECT_EQ(error.description().rfind("\"" + c.path + "\" " + c.reason, 0), 0u)
                << c.path << ": " << error.description();
            if (c.reason == "cannot be opened: ") {
                EXPECT_GT(error.description().size(), c.path.size() + 20);  // the engine's reason follows
            }
        }
        EXPECT_EQ(excel->GetWorkbooks().Count(), 0) << c.path;  // nothing left open
        EXPECT_EQ(testsupport::readFileBytes(c.path), before) << c.path;
        excel->Quit();
    }
}

}  // namespace
}  // namespace playertest
