// The drive, folder and file lists over an in-memory folder tree: what they
// list, which events run when, and how an unreadable folder shows.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "ui/model/FileControls.h"
#include "ui/model/Form.h"

namespace {

struct TreeLister : ui::FolderLister {
    std::vector<ui::DriveItem> driveList{{"/", "/"}, {"/home/anna", "Home (/home/anna)"}};
    std::map<std::string, std::vector<std::string>> folders{
        {"/", {"home", "media"}}, {"/home", {"anna"}}, {"/home/anna", {"Docs", "Musik"}}, {"/home/anna/Docs", {}}};
    std::map<std::string, std::vector<std::string>> fileNames{{"/home/anna/Docs", {"a.doc", "b.xls"}}};
    std::set<std::string> unreadable;

    std::vector<ui::DriveItem> drives() override { return driveList; }
    std::vector<std::string> subfolders(const std::string& folder) override {
        if (unreadable.count(folder)) throw ui::ListingFailed({70, "Permission denied"});
        return folders[folder];
    }
    std::vector<std::string> files(const std::string& folder, const std::string& pattern) override {
        if (unreadable.count(folder)) throw ui::ListingFailed({70, "Permission denied"});
        std::vector<std::string> found;
        for (const std::string& name : fileNames[folder])
            if (pattern == "*" || name.ends_with(pattern.substr(1))) found.push_back(name);
        return found;
    }
};

struct Lists : ui::Form {
    Lists() : ui::Form("Lists") {
        for (ui::Control* c : controls()) {
            c->onClick = [this, c] { log.push_back(c->name() + " click"); };
            c->onChange = [this, c] { log.push_back(c->name() + " change"); };
            c->onDblClick = [this, c] { log.push_back(c->name() + " dblclick"); };
        }
        Drive1.setLister(&lister);
        Dir1.setLister(&lister);
        File1.setLister(&lister);
    }
    TreeLister lister;
    ui::DriveListBox Drive1{*this, "Drive1"};
    ui::DirListBox Dir1{*this, "Dir1"};
    ui::FileListBox File1{*this, "File1"};
    std::vector<std::string> log;
};

std::vector<std::string> entries(const ui::ListBox& list) {
    std::vector<std::string> texts;
    for (int k = 0; k < list.ListCount(); ++k) texts.push_back(list.List(k));
    return texts;
}

TEST(DirListBox, ListsTheTreeDownToTheFolderThenItsSubfolders) {
    Lists form;
    form.Dir1.setPath("/home/anna/");
    EXPECT_EQ(entries(form.Dir1), (std::vector<std::string>{"/", "  home", "    anna", "      Docs", "      Musik"}));
    EXPECT_EQ(form.Dir1.Path(), "/home/anna");
    EXPECT_EQ(form.Dir1.ListIndex(), 2);
    EXPECT_EQ(form.Dir1.pathAt(3), "/home/anna/Docs");
    EXPECT_EQ(form.Dir1.indexOfPath("/home/"), 1);
    EXPECT_EQ(form.log, (std::vector<std::string>{"Dir1 change"})) << "selecting the current folder is no click";

    form.log.clear();
    form.Dir1.setPath("/home/anna");
    EXPECT_TRUE(form.log.empty()) << "the same path: no change";
    form.Dir1.setPath("/");
    EXPECT_EQ(entries(form.Dir1), (std::vector<std::string>{"/", "  home", "  media"}));
}

TEST(DirListBox, ADoubleClickSelectsThenOpens) {
    Lists form;
    form.Dir1.setPath("/home/anna");
    form.log.clear();
    form.Dir1.userDoubleClick(3);
    EXPECT_EQ(form.log, (std::vector<std::string>{"Dir1 click", "Dir1 change", "Dir1 dblclick"}));
    EXPECT_EQ(form.Dir1.Path(), "/home/anna/Docs");
    EXPECT_EQ(form.Dir1.selectedPath(), "/home/anna/Docs");
}

TEST(DirListBox, AnUnreadableFolderIsEnteredEmptyWithItsError) {
    Lists form;
    form.lister.unreadable.insert("/home/anna/Musik");
    form.Dir1.setPath("/home/anna/Musik");
    EXPECT_EQ(form.Dir1.Path(), "/home/anna/Musik");
    EXPECT_EQ(entries(form.Dir1).back(), "      Musik");
    ASSERT_TRUE(form.Dir1.listingError());
    EXPECT_EQ(form.Dir1.listingError()->number, 70);
    form.Dir1.setPath("/home/anna");
    EXPECT_FALSE(form.Dir1.listingError()) << "the error lasts until the next move";
}

TEST(DriveListBox, AChoiceRunsChangeAndARefreshKeepsIt) {
    Lists form;
    EXPECT_EQ(entries(form.Drive1), (std::vector<std::string>{"/", "Home (/home/anna)"}));
    EXPECT_EQ(form.Drive1.Drive(), "");
    EXPECT_EQ(form.Drive1.driveIndexOf("/home/anna/Docs"), 1) << "the longest root wins";
    EXPECT_EQ(form.Drive1.driveIndexOf("/home/annabel"), 0);
    EXPECT_EQ(form.Drive1.driveIndexOf("/home/anna"), 1);
    form.Drive1.userSelect(1);
    EXPECT_EQ(form.log, (std::vector<std::string>{"Drive1 change"}));
    EXPECT_EQ(form.Drive1.Drive(), "/home/anna");

    form.log.clear();
    form.lister.driveList.insert(form.lister.driveList.begin() + 1, {"/media/anna/USB", "USB"});
    form.Drive1.Refresh();
    EXPECT_EQ(form.Drive1.ListIndex(), 2);
    EXPECT_EQ(form.Drive1.Drive(), "/home/anna");
    form.lister.driveList.pop_back();
    form.Drive1.Refresh();
    EXPECT_EQ(form.Drive1.ListIndex(), -1) << "a drive that went is no longer chosen";
    EXPECT_TRUE(form.log.empty());
}

TEST(FileListBox, ListsByPatternAndNamesTheSelectedFile) {
    Lists form;
    form.File1.setPath("/home/anna/Docs/");
    EXPECT_EQ(entries(form.File1), (std::vector<std::string>{"a.doc", "b.xls"}));
    form.File1.setPattern("*.xls");
    EXPECT_EQ(entries(form.File1), (std::vector<std::string>{"b.xls"}));
    EXPECT_EQ(form.File1.FileName(), "");
    form.File1.userDoubleClick(0);
    EXPECT_EQ(form.File1.FileName(), "b.xls");
    EXPECT_EQ(form.log, (std::vector<std::string>{"File1 click", "File1 dblclick"}));

    form.lister.unreadable.insert("/home/anna/Docs");
    form.File1.Refresh();
    EXPECT_TRUE(entries(form.File1).empty());
    EXPECT_TRUE(form.File1.listingError());
}

TEST(FilePaths, FoldersLoseTheirFinalSeparatorExceptTheRoot) {
    EXPECT_EQ(ui::folderPath("/a/b//"), "/a/b");
    EXPECT_EQ(ui::folderPath("/"), "/");
    EXPECT_EQ(ui::folderPath(""), "/");
    EXPECT_EQ(ui::joinPath("/", "x"), "/x");
    EXPECT_EQ(ui::joinPath("/a", "x"), "/a/x");
}

}  // namespace
