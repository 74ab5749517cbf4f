// Word, PowerPoint and PDF lines as PDF pages: the embedded document laid out
// by LibreOffice once per run, the line's range of it, private files, and the
// layout engine's failures told clearly.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/LibreOfficePdfMaker.h"
#include "automation/AutomationError.h"
#include "playerdocs/DocsSupport.h"

namespace docstest {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

unsigned modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

class LinePdfMakerTest : public DocumentLineTest {
protected:
    void SetUp() override {
        fs::create_directory(folder.path() / "garbage");
        path = docsPresentation();
        excel = objects.CreateExcel();
        file = std::make_unique<player::PresentationFile>(player::PresentationFile::Open(*excel, path));
    }
    const player::PresentationLine& line(int n) { return file->lines().at(n); }
    // The error the maker raises for `n`, or a failure when it raises none.
    automation::AutomationError errorOf(app::LibreOfficePdfMaker& maker, const player::PresentationLine& l) {
        try {
            maker.pagesOf(*file, l);
        } catch (const automation::AutomationError& error) {
            return error;
        }
        ADD_FAILURE() << "no error for " << l.description;
        return automation::AutomationError(0, "");
    }

    std::string path;
    std::shared_ptr<automation::excel::Application> excel;
    std::unique_ptr<player::PresentationFile> file;
};

TEST_F(LinePdfMakerTest, LibreOfficeLaysOutOnlyTheLinesPagesOncePerDocument) {
    const std::string soffice = libreOffice();
    if (soffice.empty()) GTEST_SKIP() << "SKIPPED: LibreOffice (soffice) is not installed";
    std::string folder;
    {
        app::LibreOfficePdfMaker maker(ctx, soffice);
        const auto report = maker.pagesOf(*file, line(0));
        ASSERT_TRUE(report);
        EXPECT_EQ(report->last - report->first + 1, 2);
        EXPECT_EQ(pdfPageTexts(report->pdfPath, report->first, report->last),
                  (std::vector<std::string>{"report.doc - page 2 of 5", "report.doc - page 3 of 5"}));
        EXPECT_EQ(report->notice, "");  // the layout keeps the document's five pages

        const auto deck = maker.pagesOf(*file, line(1));
        ASSERT_TRUE(deck);
        EXPECT_EQ(deck->last - deck->first + 1, 5);
        EXPECT_EQ(pdfPageTexts(deck->pdfPath, deck->first, deck->last),
                  (std::vector<std::string>{"Slide 2 of 7", "Slide 3 of 7", "Slide 4 of 7", "Slide 5 of 7",
                                            "Slide 6 of 7"}));

        const auto memo = maker.pagesOf(*file, line(2));  // no range: the whole document
        ASSERT_TRUE(memo);
        EXPECT_EQ(memo->first, 1);
        EXPECT_EQ(memo->last, 1);
        EXPECT_EQ(app::PdfPageCount(memo->pdfPath), 1);

        // Shown again: the same layout, LibreOffice not run again.
        const auto again = maker.pagesOf(*file, line(0));
        ASSERT_TRUE(again);
        EXPECT_EQ(again->pdfPath, report->pdfPath);
        EXPECT_EQ(maker.layouts(), 3);

        folder = fs::path(report->pdfPath).parent_path().parent_path().parent_path().string();
        EXPECT_EQ(modeOf(folder), 0700u);
        for (const std::string& made : {report->pdfPath, deck->pdfPath, memo->pdfPath})
            EXPECT_EQ(modeOf(made), 0600u) << made;
    }
    EXPECT_FALSE(fs::exists(folder)) << "the private folder outlived the maker";
}

TEST_F(LinePdfMakerTest, APdfLineIsItsOwnFileAndNeedsNoLayoutEngine) {
    app::LibreOfficePdfMaker maker(ctx, "");
    const auto handout = maker.pagesOf(*file, line(3));
    ASSERT_TRUE(handout);
    EXPECT_EQ(handout->first, 1);
    EXPECT_EQ(handout->last, 3);
    EXPECT_EQ(testsupport::readFileBytes(handout->pdfPath), testsupport::readFileBytes(line(3).fileName));
    EXPECT_EQ(pdfPageTexts(handout->pdfPath, 2, 2), std::vector<std::string>{"Handout two"});
    EXPECT_EQ(modeOf(handout->pdfPath), 0600u);

    // Without LibreOffice the documents get nothing (the desktop's program
    // then opens them), and a text file never has pages.
    EXPECT_FALSE(maker.pagesOf(*file, line(0)));
    EXPECT_FALSE(maker.pagesOf(*file, line(1)));
    EXPECT_FALSE(maker.pagesOf(*file, line(4)));
    EXPECT_EQ(maker.layouts(), 0);
}

TEST_F(LinePdfMakerTest, ALayoutOfAnotherPageCountShowsTheRangeClampedAndSaysSoOnce) {
    // A layout engine that makes three pages of the five-page report.
    const std::string three = (folder.path() / "three.pdf").string();
    writeTextPdf(three, {"one", "two", "three"});
    const std::string program = fakeLayoutProgram(
        folder.path().string(), "name=$(basename \"$input\"); cp '" + three + "' \"$outdir/${name%.*}.pdf\"");
    app::LibreOfficePdfMaker maker(ctx, program);

    // The report's ranges against the three pages laid out, in the order
    // shown: the notice comes with the first only.
    struct Case {
        double firstPage, lastPage;  // as the line asks
        int first, last;             // as shown
    };
    const Case cases[] = {
        {2, 3, 2, 3},  // within the layout
        {4, 5, 3, 3},  // past its end: its last page
        {2, 1, 2, 2},  // backwards: the first page alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pages " << c.firstPage << " to " << c.lastPage);
        player::PresentationLine report = line(0);
        report.firstPage = c.firstPage;
        report.lastPage = c.lastPage;
        const auto shown = maker.pagesOf(*file, report);
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->first, c.first);
        EXPECT_EQ(shown->last, c.last);
        if (&c == cases) {
            EXPECT_NE(shown->notice.find("5 pages"), std::string::npos) << shown->notice;
            EXPECT_NE(shown->notice.find("3 pages"), std::string::npos) << shown->notice;
        } else {
            EXPECT_EQ(shown->notice, "") << "the user is told once";
        }
    }

    // Italian users read it in Italian.
    ctx.state.LanguageCode = "I";
    const auto deck = maker.pagesOf(*file, line(1));
    ASSERT_TRUE(deck);
    EXPECT_EQ(deck->first, 2);
    EXPECT_EQ(deck->last, 3);
    EXPECT_NE(deck->notice.find("diapositive"), std::string::npos) << deck->notice;
    EXPECT_EQ(maker.layouts(), 2);
}

TEST_F(LinePdfMakerTest, ALayoutEngineThatFailsIsToldAndNotRunAgainForTheSameDocument) {
    const std::string failing = fakeLayoutProgram(folder.path().string(), "echo 'Error: no export filter' >&2; exit 3");
    app::LibreOfficePdfMaker maker(ctx, failing);
    const auto error = errorOf(maker, line(0));
    EXPECT_NE(error.description().find("\"report.doc\""), std::string::npos) << error.description();
    EXPECT_NE(error.description().find("exit status 3"), std::string::npos) << error.description();
    EXPECT_NE(error.description().find("no export filter"), std::string::npos) << error.description();
    EXPECT_EQ(errorOf(maker, line(0)).description(), error.description());
    EXPECT_EQ(maker.layouts(), 1);

    // Something that is no PDF where the PDF should be.
    const std::string garbage = fakeLayoutProgram(
        (folder.path() / "garbage").string(), "name=$(basename \"$input\"); echo nonsense > \"$outdir/${name%.*}.pdf\"");
    app::LibreOfficePdfMaker other(ctx, garbage);
    EXPECT_NE(errorOf(other, line(1)).description().find("could not lay out \"deck.ppt\""), std::string::npos);

    app::LibreOfficePdfMaker missing(ctx, (folder.path() / "no-such-soffice").string());
    EXPECT_EQ(errorOf(missing, line(2)).number(), automation::errnum::kCannotCreateObject);

    player::PresentationLine unknown = line(0);
    unknown.objectName = "Object 99";
    EXPECT_EQ(errorOf(maker, unknown).number(), automation::errnum::kSubscriptOutOfRange);
}

TEST_F(LinePdfMakerTest, ALayoutPastTheTimeLimitIsStoppedWithEverythingItStarted) {
    const std::string pidFile = (folder.path() / "helper.pid").string();
    const std::string hanging =
        fakeLayoutProgram(folder.path().string(), "sleep 60 & echo $! > '" + pidFile + "'; wait");
    app::LibreOfficePdfMaker maker(ctx, hanging, 1s);
    const auto started = std::chrono::steady_clock::now();
    const auto error = errorOf(maker, line(0));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
    EXPECT_NE(error.description().find("1 seconds"), std::string::npos) << error.description();

    std::string pidText;
    std::ifstream(pidFile) >> pidText;
    ASSERT_FALSE(pidText.empty());
    const pid_t helper = static_cast<pid_t>(std::stol(pidText));
    bool gone = false;
    for (int tries = 0; tries < 50 && !gone; ++tries) {
        // A killed helper may stay a zombie until its new parent reaps it.
        std::ifstream status("/proc/" + pidText + "/stat");
        std::string skip, state;
        gone = !(status >> skip >> skip >> state) || state == "Z" || ::kill(helper, 0) != 0;
        if (!gone) std::this_thread::sleep_for(100ms);
    }
    EXPECT_TRUE(gone) << "the layout's helper " << helper << " still runs";
}

TEST_F(LinePdfMakerTest, DocumentsLaidOutAheadAreWaitedForAndNeverLaidOutTwice) {
    // A layout engine that takes half a second and notes each run.
    const std::string runs = (folder.path() / "runs.log").string();
    const std::string one = (folder.path() / "one.pdf").string();
    writeTextPdf(one, {"1", "2", "3", "4", "5", "6", "7"});
    const std::string program = fakeLayoutProgram(
        folder.path().string(), "echo \"$input\" >> '" + runs + "'; sleep 0.5; name=$(basename \"$input\"); cp '" +
                                    one + "' \"$outdir/${name%.*}.pdf\"");
    std::string privateFolder;
    {
        app::LibreOfficePdfMaker maker(ctx, program);
        maker.prepare(*file);
        maker.prepare(*file);  // once is enough
        const auto deck = maker.pagesOf(*file, line(1));  // waits for its layout
        ASSERT_TRUE(deck);
        EXPECT_EQ(deck->last - deck->first + 1, 5);
        for (int n : {0, 1, 2}) EXPECT_TRUE(maker.pagesOf(*file, line(n)));
        EXPECT_EQ(maker.layouts(), 3);  // the report, the deck, the memo; the PDF needs none
        std::ifstream log(runs);
        int lines = 0;
        for (std::string entry; std::getline(log, entry);) ++lines;
        EXPECT_EQ(lines, 3);
        privateFolder = fs::path(deck->pdfPath).parent_path().parent_path().parent_path().string();
    }
    EXPECT_FALSE(fs::exists(privateFolder));

    // The player ending while a layout runs stops it at once.
    const std::string hanging = fakeLayoutProgram((folder.path() / "garbage").string(), "sleep 60");
    const auto started = std::chrono::steady_clock::now();
    {
        app::LibreOfficePdfMaker maker(ctx, hanging);
        maker.prepare(*file);
        std::this_thread::sleep_for(300ms);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
}

}  // namespace
}  // namespace docstest
