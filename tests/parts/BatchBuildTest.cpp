// The batch build over the real engine: what it prints, the files it
// writes, and its exit statuses 0, 1 and 2.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "builder/BatchBuild.h"
#include "office/XlsFile.h"
#include "parts/PartsFixture.h"

namespace partstest {
namespace {

namespace fs = std::filesystem;
const std::string kGroup = "Rôle Übersicht 2027";  // blanks and letters beyond ASCII

class BatchBuildTest : public PartsTest {
protected:
    std::string budget() {
        auto path = folder.path() / "budget.xls";
        fs::copy_file(testsupport::testData("budget.xls"), path, fs::copy_options::overwrite_existing);
        return path.string();
    }

    int run(std::vector<std::string> arguments) {
        std::string error;
        auto request = builder::ParseBatchArguments(arguments, error);
        if (!request) {
            ADD_FAILURE() << error;
            return -1;
        }
        core::Context batch(objects, platform, console);
        return builder::RunBatchBuild(batch, console, *request);
    }

    std::string settingsOf(const std::string& path, const std::string& password = "") {
        const office::WorkbookModel model = office::readXlsFile(path, password);
        for (const auto& sheet : model.sheets)
            if (sheet.name == "DATA" && sheet.cell(1, 12)) return sheet.cell(1, 12)->value.toText();
        return "";
    }

    std::ostringstream out;
    ui::ConsoleWindowSystem console{out};
};

TEST_F(BatchBuildTest, ExitStatusZeroOneAndTwo) {
    const std::string file = budget();
    makeBaseWorkbook({{1, kGroup, "", "Totals", file, "Summary", "Totals", "", {}, {}, 100},
                      {2, "Broken", "", "Totals", file, "Summary", "Totals", "", {}, {}, 100},
                      {3, "Broken", "", "Gone", "/nowhere/gone.xls", "A", "B", "", {}, {}, 200}});
    const std::string folderArg = folder.path().string();

    // 0: every line carried; the progress line and the report with the path.
    EXPECT_EQ(run({"--build", folderArg, "--group", "rôle übersicht 2027", "--version", " v 1 "}), 0);
    const std::string built = ctx.state.DataFolder + kGroup + " - v 1.xls";
    EXPECT_TRUE(fs::exists(built));
    EXPECT_EQ(out.str(), "1/1 carried: Totals\nThe file:\n" + built + "\nhas been created!\n\n\n");

    // 1: a line left out, its message printed in order before the report.
    out.str("");
    EXPECT_EQ(run({"--build", folderArg, "--group", "Broken", "--version", "2", "--language", "I"}), 1);
    const std::string broken = ctx.state.DataFolder + "Broken - 2.xls";
    EXPECT_EQ(out.str(), "1/2 riportata: Totals\n/nowhere/gone.xls  Non esiste!\nDescrizione riga: Gone  (eliminata!)\n"
                         "2/2 eliminata: Gone\nE' stato creato il file: \n" +
                             broken + "\n\n*****  Con errori!  *****\n");
    EXPECT_EQ(settingsOf(broken), "2|Tavolex 1.1|I|");

    // 2: no such group, a bad version, a data folder that is not there.
    out.str("");
    EXPECT_EQ(run({"--build", folderArg, "--group", "Nobody", "--version", "1"}), 2);
    EXPECT_EQ(out.str(), "No such group: Nobody\n");
    out.str("");
    EXPECT_EQ(run({"--build", folderArg, "--group", kGroup, "--version", "a:b"}), 2);
    EXPECT_EQ(out.str(), "A Presentation Version does not contains the following characters: \\/:*?\"<>|\n");
    out.str("");
    EXPECT_EQ(run({"--build", folderArg + "/missing", "--group", kGroup, "--version", "1"}), 2);
    EXPECT_NE(out.str().find("Error!!!!\n76    "), std::string::npos) << out.str();
    EXPECT_FALSE(fs::exists(ctx.state.DataFolder + kGroup + " - a:b.xls"));
}

TEST_F(BatchBuildTest, AllGroupsWithThePasswordOfAFile) {
    const std::string file = budget();
    makeBaseWorkbook({{1, "Beta", "", "Totals", file, "Summary", "Totals", "", {}, {}, 100},
                      {2, "alpha", "", "Gone", "/nowhere/gone.xls", "A", "B", "", {}, {}, 100},
                      {3, "Alpha", "", "Totals", file, "Summary", "Totals", "", {}, {}, 200}});
    const fs::path passwordFile = folder.path() / "password.txt";
    std::ofstream(passwordFile) << "  pw 1  \r\nsecond line\n";
    EXPECT_EQ(run({"--build", folder.path().string(), "--all", "--version", "3", "--password-file",
                   passwordFile.string()}),
              1);
    const std::string alpha = ctx.state.DataFolder + "alpha - 3.xls";
    const std::string beta = ctx.state.DataFolder + "Beta - 3.xls";
    EXPECT_EQ(settingsOf(alpha), "3|Tavolex 1.1|E|pw 1");
    EXPECT_EQ(settingsOf(beta), "3|Tavolex 1.1|E|pw 1");
    const std::string printed = out.str();
    EXPECT_NE(printed.find("alpha: built with some lines left out: " + alpha + "\nBeta: built: " + beta + "\n"),
              std::string::npos)
        << printed;

    out.str("");
    EXPECT_EQ(run({"--build", folder.path().string(), "--all", "--version", "3", "--password-file",
                   (folder.path() / "none.txt").string()}),
              2);
    EXPECT_NE(out.str().find("cannot be read"), std::string::npos);
}

TEST_F(BatchBuildTest, ArgumentsThatMakeNoRequest) {
    std::string error;
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--build", "/d", "--version", "1"},
             {"--build", "/d", "--group", "G", "--all", "--version", "1"},
             {"--build", "/d", "--group", "G"},
             {"--build", "/d", "--group", "G", "--version"},
             {"--build", "/d", "--group", "G", "--version", "1", "--verbose"}}) {
        error.clear();
        EXPECT_FALSE(builder::ParseBatchArguments(arguments, error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(builder::IsBatchRequest({"--group", "x", "--build", "/d"}));
    EXPECT_FALSE(builder::IsBatchRequest({"/home/me/Presentations|I"}));
}

}  // namespace
}  // namespace partstest
