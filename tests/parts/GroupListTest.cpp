// The main window's list of groups: what CarLista reads from DATA, how it
// sorts, drops duplicates and reselects, and the window's texts.
#include <cstring>
#include <fstream>

#include "automation/AutomationError.h"
#include "core/ProgramEnd.h"
#include "core/Text.h"
#include "groups/MainWindow.h"
#include "groups/QuickSortList.h"
#include "groups/UserForm00.h"
#include "parts/PartsFixture.h"
#include "text/CaseFold.h"
#include "text/Collation.h"

namespace partstest {
namespace {

std::vector<std::string> entries(const ui::ListBox& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
    return out;
}

class GroupListTest : public PartsTest {
protected:
    // Loads the main window and checks its list while it is shown.
    std::vector<std::string> listShown(int* selected = nullptr) {
        std::vector<std::string> seen;
        windows.act([&](ui::Form& form) {
            auto& main = static_cast<groups::UserForm00&>(form);
            seen = entries(main.ListBox1);
            if (selected) *selected = main.ListBox1.ListIndex();
        });
        groups::RunMainWindow(ctx);
        return seen;
    }
};

TEST_F(GroupListTest, HeaderOnlyGivesAnEmptyListAndSelectsNothing) {
    makeBaseWorkbook();
    ctx.state.SelectedGroup = "Budget";
    int selected = 99;
    EXPECT_TRUE(listShown(&selected).empty());
    EXPECT_EQ(selected, -1);
    EXPECT_EQ(ctx.state.SelectedGroup, "Budget");
}

TEST_F(GroupListTest, EachGroupOnceTrimmedAndSortedWithoutCase) {
    makeBaseWorkbook({
        {1, "zeta"}, {2, "  Alpha  "}, {3, "zeta"}, {4, "beta"}, {5, "zeta"},
        {6, "Alpha"}, {7, "zeta"}, {8, "zeta"},
    });
    EXPECT_EQ(listShown(), (std::vector<std::string>{"Alpha", "beta", "zeta"}));
}

TEST_F(GroupListTest, NamesDifferingOnlyInCaseGiveOneEntry) {
    makeBaseWorkbook({{1, "Sales"}, {2, "SALES"}, {3, "sales"}, {4, "Other"}});
    auto list = listShown();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], "Other");
    EXPECT_TRUE(text::equalsIgnoringCase(list[1], "sales"));
}

TEST_F(GroupListTest, AccentedNamesDifferingOnlyInCaseGiveOneEntryInAnyLocale) {
    // The group tests also run under LANG=C, where the C library folds ASCII only.
    makeBaseWorkbook({{1, "Élite"}, {2, "Zeta"}, {3, "élite"}, {4, "Elite"}, {5, "ÉLITE"}, {6, "ΟΔΟΣ"}, {7, "οδος"}});
    auto list = listShown();
    ASSERT_EQ(list.size(), 4u) << testing::PrintToString(list);
    EXPECT_EQ(list[0], "Elite");
    EXPECT_TRUE(text::equalsIgnoringCase(list[1], "élite"));
    EXPECT_EQ(list[2], "Zeta");
    EXPECT_TRUE(text::equalsIgnoringCase(list[3], "οδος"));
}

TEST_F(GroupListTest, EmptyGroupIsSkippedAndEmptyIdEndsTheTable) {
    makeBaseWorkbook({{1, "First"}, {2, "   "}, {3, ""}, {4, "Second"}, {"  ", "Hidden after gap"}, {6, "Third"}});
    EXPECT_EQ(listShown(), (std::vector<std::string>{"First", "Second"}));
}

// The table is read a thousand rows at a time: a line past the first
// thousand still counts, and an id of blanks there still ends the table.
TEST_F(GroupListTest, ALongTableIsReadToItsFirstEmptyIdPastTheFirstThousandLines) {
    std::vector<Row> rows;
    for (int line = 1; line <= 1300; ++line) rows.push_back({line, line == 1100 ? "Late" : "Early"});
    rows[1199].id = automation::Variant("  ");
    rows[1250].group = "After the gap";
    makeBaseWorkbook(rows);
    EXPECT_EQ(listShown(), (std::vector<std::string>{"Early", "Late"}));
}

TEST_F(GroupListTest, ReloadSelectsTheSelectedGroupInAnyCase) {
    makeBaseWorkbook({{1, "Budget"}, {2, "Annual Report"}, {3, "Zoo"}});
    ctx.state.SelectedGroup = "annual REPORT";
    int selected = -1;
    listShown(&selected);
    EXPECT_EQ(selected, 0);
    EXPECT_TRUE(text::equalsIgnoringCase(ctx.state.SelectedGroup, "Annual Report"));
}

TEST_F(GroupListTest, ClickingAnEntrySetsTheTrimmedName) {
    makeBaseWorkbook({{1, "  Spaced Name  "}, {2, "Other"}});
    windows.selectItem("ListBox1", 1);
    groups::RunMainWindow(ctx);
    EXPECT_EQ(ctx.state.SelectedGroup, "Spaced Name");
}

TEST_F(GroupListTest, TypingALetterMovesToTheFirstEntryStartingWithIt) {
    makeBaseWorkbook({{1, "alpha"}, {2, "Bravo"}, {3, "bingo"}, {4, "Charlie"}});
    windows.keyPress("ListBox1", 'b');
    groups::RunMainWindow(ctx);
    EXPECT_EQ(ctx.state.SelectedGroup, "bingo");
}

TEST_F(GroupListTest, LoadingNeitherKeepsExcelRunningNorChangesTheFile) {
    makeBaseWorkbook({{1, "One"}});
    const auto before = std::filesystem::last_write_time(basePath());
    listShown();
    EXPECT_EQ(objects.excelInstancesCreated, 1);
    ASSERT_FALSE(objects.instances.empty());
    for (auto& app : objects.instances)
        EXPECT_THROW(app->Visible(), automation::AutomationError) << "Excel was not quit";
    EXPECT_EQ(std::filesystem::last_write_time(basePath()), before);
}

TEST_F(GroupListTest, DamagedBaseWorkbookEndsInTheFatalErrorMessage) {
    makeBaseWorkbook();
    { std::ofstream(basePath(), std::ios::trunc) << "not a workbook"; }
    windows.answer(ui::Answer::Ok);
    EXPECT_THROW(groups::RunMainWindow(ctx), core::ProgramEnded);
    ASSERT_EQ(windows.messages().size(), 1u);
    EXPECT_EQ(windows.messages()[0].rfind("Not recoverable error!!!!\r", 0), 0u);
    EXPECT_EQ(ctx.state.ExcelApp, nullptr);
}

TEST_F(GroupListTest, EnglishAndItalianTextsAndLayout) {
    makeBaseWorkbook();
    for (const char* code : {"E", "I"}) {
        ctx.state.LanguageCode = code;
        const bool italian = std::string(code) == "I";
        windows.act([&](ui::Form& form) {
            auto& main = static_cast<groups::UserForm00&>(form);
            EXPECT_EQ(main.caption(), "Tavolex 1.1");
            EXPECT_EQ(main.CommandButton1.caption(), italian ? "Nuovo" : "New");
            EXPECT_EQ(main.CommandButton5.caption(), italian ? "Crea la Presentazione" : "Create the Presentation ");
            EXPECT_EQ(main.CommandButton8.caption(), italian ? "Disinstalla" : "Uninstall");
            EXPECT_EQ(main.CommandButton4.caption(), "Exit");
            EXPECT_EQ(main.Label1.caption(), "Presentation Group ");
            EXPECT_EQ(main.CommandButton6.toolTip(), italian ? "Crea una copia del 'Presentation Group' selezionato"
                                                             : "Make a copy of selected 'Presentation Group'");
            EXPECT_EQ(main.ListBox1.toolTip(),
                      italian ? "Sara' il titolo della Presentazione e la prima parte del nome del file"
                              : "It will be the Presentation title and the first part of the Presentation filename");
            EXPECT_TRUE(main.CommandButton7.toolTip().empty());
            EXPECT_EQ(main.CommandButton5.geometry(), (ui::Geometry{432, 210, 100, 30}));
            EXPECT_EQ(main.CommandButton8.geometry(), (ui::Geometry{72, 366, 100, 30}));
            EXPECT_EQ(main.ListBox1.geometry(), (ui::Geometry{73.3, 90, 328.4, 249.4}));
            EXPECT_EQ(main.ListBox1.font().name, "Courier New");
            EXPECT_TRUE(main.Label1.font().bold);
        });
        groups::RunMainWindow(ctx);
    }
}

TEST(QuickSortList, SortsInPlaceWithoutCaseAndKeepsTheCount) {
    ui::Form form("f");
    ui::ListBox list(form, "ListBox1");
    for (const char* t : {"delta", "Alpha", "charlie", "BRAVO", "alpha", "echo", "Delta"}) list.AddItem(t);
    groups::QuickSortList(list, 0, list.ListCount() - 1);
    auto sorted = entries(list);
    ASSERT_EQ(sorted.size(), 7u);
    for (std::size_t i = 0; i + 1 < sorted.size(); ++i)
        EXPECT_LE(text::compareForDisplay(sorted[i], sorted[i + 1]), 0) << sorted[i] << " before " << sorted[i + 1];
    EXPECT_TRUE(text::equalsIgnoringCase(sorted[0], "alpha"));
    EXPECT_EQ(sorted[6], "echo");
}

TEST(QuickSortList, SortsOnlyTheGivenRangeAndTwoEntries) {
    ui::Form form("f");
    ui::ListBox list(form, "ListBox1");
    for (const char* t : {"z", "b", "a", "y"}) list.AddItem(t);
    groups::QuickSortList(list, 1, 2);
    EXPECT_EQ(entries(list), (std::vector<std::string>{"z", "a", "b", "y"}));
}

TEST(QuickSortList, ManyRandomEntriesEndSorted) {
    ui::Form form("f");
    ui::ListBox list(form, "ListBox1");
    unsigned seed = 7;
    for (int i = 0; i < 500; ++i) {
        seed = seed * 1103515245 + 12345;
        std::string text;
        for (int k = 0; k < 1 + static_cast<int>(seed % 5); ++k) text += static_cast<char>("aAbBcC"[(seed >> (k * 3)) % 6]);
        list.AddItem(text);
    }
    groups::QuickSortList(list, 0, list.ListCount() - 1);
    EXPECT_EQ(list.ListCount(), 500);
    for (int i = 0; i + 1 < list.ListCount(); ++i) ASSERT_LE(text::compareForDisplay(list.List(i), list.List(i + 1)), 0);
}

// The list freed of duplicates by sorting only the distinct names must be
// the one the whole sort leaves, with and without names differing in case
// (where the whole sort alone decides which spelling stays).
TEST(QuickSortList, DistinctNamesSortTheSameAsTheWholeTable) {
    auto wholeSort = [](const std::vector<std::string>& texts) {
        std::vector<groups::SortEntry> entries = groups::MakeSortEntries(texts);
        if (entries.size() >= 2) groups::QuickSortEntries(entries, 0, static_cast<int>(entries.size()) - 1);
        std::vector<std::string> kept;
        for (std::size_t k = 0; k < entries.size(); ++k)
            if (k + 1 == entries.size() || entries[k].key != entries[k + 1].key) kept.push_back(entries[k].text);
        return kept;
    };
    unsigned seed = 11;
    for (const char* letters : {"abcd", "aAbBc"}) {
        for (int table = 0; table < 40; ++table) {
            std::vector<std::string> texts;
            for (int i = 0; i < 1 + table * 7; ++i) {
                seed = seed * 1103515245 + 12345;
                std::string text = "Group ";
                for (int k = 0; k < 1 + static_cast<int>(seed % 3); ++k) text += letters[(seed >> (k * 4 + 8)) % std::strlen(letters)];
                texts.push_back(text);
            }
            EXPECT_EQ(groups::SortedWithoutDuplicates(texts), wholeSort(texts)) << letters << " " << table;
        }
    }
}

}  // namespace
}  // namespace partstest
