// Workbooks on disk: opening, saving and discarding, the writer's lock with
// its read-only fallback, ChangeFileAccess, and saves that never leave a
// half-written file.
#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <thread>

#include "EngineTestSupport.h"
#include "automation/AutomationError.h"
#include "office/engine/FileLock.h"
#include "support/TestSupport.h"

using automation::AutomationError;
using automation::Variant;
using namespace automation::excel;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr auto kShortWait = 200ms;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string errorText(const std::function<void()>& call) {
    try {
        call();
    } catch (const AutomationError& e) {
        return std::to_string(e.number()) + ": " + e.description();
    }
    return "no error";
}

class EngineFiles : public ::testing::Test {
protected:
    // A workbook with a header row and one line, saved with an open password.
    void SetUp() override {
        auto app = enginetest::newApplication(kShortWait);
        auto book = app->GetWorkbooks().Add();
        auto sheet = book->WorksheetAt(1);
        sheet->SetName("DATA");
        sheet->GetRange("A1:B1")->SetValue(Variant("Pos."));
        sheet->Cells(2, 1)->SetValue(Variant(1));
        book->SaveAs(path.string(), std::string("xy1234"));
        app->Quit();
    }
    std::shared_ptr<Workbook> open(Application& app, bool readOnly = false) {
        return app.GetWorkbooks().Open(path.string(), OpenOptions{std::string("xy1234"), 0, readOnly});
    }
    Variant cellOnDisk(long row, long column) {
        auto app = enginetest::newApplication(kShortWait);
        return open(*app, true)->Worksheets("DATA")->Cells(row, column)->Value();
    }

    testsupport::TempFolder folder{"engine-files"};
    fs::path path = folder.path() / "Base.xls";
};

}  // namespace

TEST_F(EngineFiles, OpenReportsMissingDamagedAndWrongPasswordFiles) {
    auto app = enginetest::newApplication(kShortWait);
    const std::string missing = (folder.path() / "none.xls").string();
    EXPECT_EQ(errorText([&] { app->GetWorkbooks().Open(missing); }),
              "1004: '" + missing + "' could not be found. Check the spelling of the file name, and verify that "
                                    "the file location is correct.");
    EXPECT_FALSE(fs::exists(office::engine::FileLock::sidecarFor(missing)));

    const fs::path text = folder.path() / "notes.xls";
    std::ofstream(text) << "just text";
    try {
        app->GetWorkbooks().Open(text.string());
        ADD_FAILURE() << "a text file opened";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), 1004);
        EXPECT_EQ(e.file(), text.string());
        EXPECT_NE(e.description().find("not"), std::string::npos) << e.description();
    }
    try {
        app->GetWorkbooks().Open(path.string(), OpenOptions{std::string("wrong"), {}, false});
        ADD_FAILURE() << "a wrong password opened";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), 1004);
        EXPECT_NE(e.description().find("password"), std::string::npos) << e.description();
    }
    EXPECT_EQ(app->GetWorkbooks().Count(), 0);
    // A failed open left no lock behind.
    auto book = open(*app);
    EXPECT_FALSE(book->ReadOnly());
}

TEST_F(EngineFiles, CloseWithoutSavingDropsChangesAndSaveKeepsThem) {
    auto app = enginetest::newApplication(kShortWait);
    auto book = open(*app);
    EXPECT_EQ(book->Name(), "Base.xls");
    EXPECT_EQ(book->FullName(), path.string());
    book->Worksheets("DATA")->Cells(2, 1)->SetValue(Variant("changed"));
    book->Close(false);
    EXPECT_EQ(cellOnDisk(2, 1), Variant(1));

    book = open(*app);
    book->Worksheets("DATA")->Cells(2, 1)->SetValue(Variant("saved"));
    book->Save();
    book->Worksheets("DATA")->Cells(3, 1)->SetValue(Variant("unsaved"));
    book->Close(false);
    EXPECT_EQ(cellOnDisk(2, 1), Variant("saved"));
    EXPECT_TRUE(cellOnDisk(3, 1).isEmpty());

    book = open(*app);
    book->Worksheets("DATA")->Cells(3, 1)->SetValue(Variant(3));
    book->Close(true);
    EXPECT_EQ(cellOnDisk(3, 1), Variant(3));
}

TEST_F(EngineFiles, SavesWithTheOpenPasswordAndSaveAsCanChangeIt) {
    auto app = enginetest::newApplication(kShortWait);
    auto book = open(*app);
    book->Save();
    auto other = enginetest::newApplication(kShortWait);
    EXPECT_THROW(other->GetWorkbooks().Open(path.string(), OpenOptions{std::string("wrong"), {}, true}),
                 AutomationError);
    EXPECT_EQ(open(*other, true)->Worksheets("DATA")->Cells(2, 1)->Value(), Variant(1));

    const fs::path copy = folder.path() / "Copy.xls";
    book->SaveAs(copy.string(), std::string());  // no password from now on
    EXPECT_EQ(book->Name(), "Copy.xls");
    auto again = app->GetWorkbooks().Add();
    again->Close(false);
    book->Close(false);
    auto plain = app->GetWorkbooks().Open(copy.string());
    EXPECT_EQ(plain->Worksheets("DATA")->Cells(2, 1)->Value(), Variant(1));

    auto fresh = app->GetWorkbooks().Add();
    EXPECT_NE(errorText([&] { fresh->Save(); }).find("SaveAs"), std::string::npos);
}

TEST_F(EngineFiles, FontsHiddenColumnsAndSheetsSurviveSaveAndReopen) {
    auto app = enginetest::newApplication(kShortWait);
    auto book = open(*app);
    auto sheet = book->Worksheets("DATA");
    sheet->Rows(1)->GetFont().SetBold(true);
    sheet->Rows(1)->GetFont().SetUnderline(Underline::Single);
    sheet->Columns("K:K")->SetHidden(true);
    book->AddWorksheet()->SetName("START");
    sheet->SetVisible(SheetVisibility::VeryHidden);
    book->Close(true);

    book = open(*app);
    EXPECT_EQ(book->SheetNames(), (std::vector<std::string>{"START", "DATA"}));
    sheet = book->Worksheets("DATA");
    EXPECT_EQ(sheet->Visible(), SheetVisibility::VeryHidden);
    for (long column : {1L, 2L}) {
        EXPECT_TRUE(sheet->Cells(1, column)->GetFont().Bold());
        EXPECT_EQ(sheet->Cells(1, column)->GetFont().GetUnderline(), Underline::Single);
    }
    EXPECT_FALSE(sheet->Cells(2, 1)->GetFont().Bold());
    EXPECT_TRUE(sheet->Columns("K:K")->Hidden());
    EXPECT_FALSE(sheet->Columns("J:J")->Hidden());
}

TEST_F(EngineFiles, ASecondOpenerWaitsForTheLockThenGetsTheWorkbookReadOnly) {
    auto writer = enginetest::newApplication(kShortWait);
    auto held = open(*writer);
    ASSERT_FALSE(held->ReadOnly());

    auto reader = enginetest::newApplication(kShortWait);
    const auto started = std::chrono::steady_clock::now();
    auto book = open(*reader);
    EXPECT_GE(std::chrono::steady_clock::now() - started, kShortWait);
    EXPECT_TRUE(book->ReadOnly());
    EXPECT_EQ(errorText([&] { book->Save(); }),
              "1004: 'Base.xls' is read-only. To save a copy, click OK, then give the workbook a new name in the "
              "Save As dialog box.");
    EXPECT_EQ(book->Worksheets("DATA")->Cells(2, 1)->Value(), Variant(1));

    // Still held: ReadWrite completes without error and changes nothing.
    EXPECT_EQ(errorText([&] { book->ChangeFileAccess(FileAccess::ReadWrite); }), "no error");
    EXPECT_TRUE(book->ReadOnly());

    held->Worksheets("DATA")->Cells(2, 1)->SetValue(Variant("from the writer"));
    held->Close(true);
    EXPECT_EQ(errorText([&] { book->ChangeFileAccess(FileAccess::ReadWrite); }), "no error");
    EXPECT_FALSE(book->ReadOnly());
    EXPECT_EQ(book->Worksheets("DATA")->Cells(2, 1)->Value(), Variant("from the writer"));  // re-read
    book->Save();
}

TEST_F(EngineFiles, ChangeFileAccessRefusesTheAccessTheWorkbookHasAndReleasesTheLock) {
    auto app = enginetest::newApplication(kShortWait);
    auto book = open(*app);
    auto sheet = book->Worksheets("DATA");
    EXPECT_EQ(errorText([&] { book->ChangeFileAccess(FileAccess::ReadWrite); }),
              "1004: The workbook is already open for read/write access.");
    EXPECT_FALSE(book->ReadOnly());

    book->ChangeFileAccess(FileAccess::ReadOnly);
    EXPECT_TRUE(book->ReadOnly());
    EXPECT_EQ(errorText([&] { book->ChangeFileAccess(FileAccess::ReadOnly); }).substr(0, 6), "1004: ");
    auto other = enginetest::newApplication(kShortWait);
    auto writable = open(*other);
    EXPECT_FALSE(writable->ReadOnly());
    other->Quit();  // releases its lock

    // Unchanged on disk: the unsaved edit survives the switch back.
    sheet->Cells(5, 1)->SetValue(Variant("edit"));
    book->ChangeFileAccess(FileAccess::ReadWrite);
    EXPECT_FALSE(book->ReadOnly());
    EXPECT_EQ(sheet->Cells(5, 1)->Value(), Variant("edit"));
}

TEST_F(EngineFiles, AnotherProcessHoldingTheLockMakesTheOpenReadOnly) {
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto app = enginetest::newApplication(kShortWait);
        auto book = open(*app);
        char byte = book->ReadOnly() ? 'r' : 'w';
        if (write(ready[1], &byte, 1) != 1) _exit(2);
        if (read(release[0], &byte, 1) != 1) _exit(3);
        _exit(0);
    }
    char state = 0;
    ASSERT_EQ(read(ready[0], &state, 1), 1);
    EXPECT_EQ(state, 'w');

    auto app = enginetest::newApplication(kShortWait);
    auto book = open(*app);
    EXPECT_TRUE(book->ReadOnly());
    book->ChangeFileAccess(FileAccess::ReadWrite);
    EXPECT_TRUE(book->ReadOnly());

    char go = 'x';
    ASSERT_EQ(write(release[1], &go, 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    book->ChangeFileAccess(FileAccess::ReadWrite);  // the child's exit freed the lock
    EXPECT_FALSE(book->ReadOnly());
    for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
}

TEST_F(EngineFiles, OpeningTheSameFileTwiceInOneInstanceGivesTheSameWorkbook) {
    auto app = enginetest::newApplication(kShortWait);
    auto first = open(*app);
    first->Worksheets("DATA")->Cells(9, 1)->SetValue(Variant("shared"));
    auto second = open(*app);
    EXPECT_FALSE(second->ReadOnly());
    EXPECT_EQ(second->Worksheets("DATA")->Cells(9, 1)->Value(), Variant("shared"));
    EXPECT_EQ(app->GetWorkbooks().Count(), 1);
}

TEST_F(EngineFiles, SaveAsOntoAWorkbookAnotherInstanceHoldsFails) {
    auto holder = enginetest::newApplication(kShortWait);
    auto held = open(*holder);
    auto app = enginetest::newApplication(kShortWait);
    auto book = app->GetWorkbooks().Add();
    const std::string before = bytesOf(path);
    EXPECT_THROW(book->SaveAs(path.string()), AutomationError);
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(book->FullName(), "");
}

TEST_F(EngineFiles, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryBehind) {
    auto app = enginetest::newApplication(kShortWait);
    auto book = open(*app);
    for (long row = 1; row <= 3000; ++row) book->Worksheets("DATA")->Cells(row, 3)->SetValue(Variant("padding text"));
    const std::string before = bytesOf(path);

    // A file size limit makes write() fail part way, as a full disk would.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string failure = errorText([&] { book->Save(); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(failure.substr(0, 6), "1004: ") << failure;
    EXPECT_NE(failure.find("too large"), std::string::npos) << failure;  // strerror(EFBIG)
    EXPECT_EQ(bytesOf(path), before);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder.path())) left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"Base.xls", ".Base.xls.tavolex-lock", ".Base.xls.tavolex-queue"}));
    book->Save();  // works again once the limit is gone
    EXPECT_NE(bytesOf(path), before);
}

// Returns what went wrong, "" when the save failed cleanly as it should.
std::string saveIntoReadOnlyFolder(const fs::path& folder, const fs::path& path) {
    auto app = enginetest::newApplication(kShortWait);
    auto book = app->GetWorkbooks().Open(path.string(), OpenOptions{std::string("xy1234"), {}, false});
    book->Worksheets("DATA")->Cells(2, 1)->SetValue(Variant("lost"));
    const std::string before = bytesOf(path);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    std::string failure = errorText([&] { book->Save(); });
    fs::permissions(folder, fs::perms::owner_all);
    if (failure.find("Permission denied") == std::string::npos) return "save gave: " + failure;
    if (bytesOf(path) != before) return "the old file changed";
    return {};
}

TEST_F(EngineFiles, AReadOnlyFolderFailsTheSaveAndKeepsTheOldFile) {
    if (geteuid() != 0) {
        EXPECT_EQ(saveIntoReadOnlyFolder(folder.path(), path), "");
        return;
    }
    // Root writes into read-only folders: run the save as an ordinary user.
    constexpr uid_t kNobody = 65534;
    for (const auto& entry : fs::directory_iterator(folder.path())) ASSERT_EQ(chown(entry.path().c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chown(folder.path().c_str(), kNobody, kNobody), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
        _exit(saveIntoReadOnlyFolder(folder.path(), path).empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save did not fail cleanly, 2: cannot drop privileges";
}

TEST_F(EngineFiles, SaveKeepsThePermissionBitsAndTheLockFile) {
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    auto app = enginetest::newApplication(kShortWait);
    auto book = open(*app);
    const auto inode = fs::status(path).permissions();
    book->Save();
    EXPECT_EQ(fs::status(path).permissions(), inode);
    book->Close(false);
    EXPECT_TRUE(fs::exists(folder.path() / ".Base.xls.tavolex-lock"));
    EXPECT_FALSE(fs::exists(folder.path() / ".~lock.Base.xls#"));
}

namespace {

// A child that opens the workbook for writing, waiting up to `wait`; it writes
// its `number` below the rows already there and saves, or exits 1 when the
// workbook opened read-only.
pid_t startWriter(const fs::path& path, int number, std::chrono::milliseconds wait) {
    const pid_t child = fork();
    if (child != 0) return child;
    auto app = enginetest::newApplication(wait);
    auto book = app->GetWorkbooks().Open(path.string(), OpenOptions{std::string("xy1234"), {}, false});
    if (book->ReadOnly()) _exit(1);
    auto sheet = book->Worksheets("DATA");
    const long row = sheet->GetRange("A1")->End(Direction::Down)->Row() + 1;
    sheet->Cells(row, 1)->SetValue(Variant(number));
    book->Save();
    app->Quit();
    _exit(0);
}

// A child holding the workbook for writing until `letGo`. (A lock taken in
// this process would be inherited by every child forked after it.)
class Holder {
public:
    explicit Holder(const fs::path& path) {
        int ready[2];
        if (pipe(ready) != 0 || pipe(release_) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(release_[1]);
            auto app = enginetest::newApplication(kShortWait);
            auto book = app->GetWorkbooks().Open(path.string(), OpenOptions{std::string("xy1234"), {}, false});
            char byte = book->ReadOnly() ? 'r' : 'w';
            if (write(ready[1], &byte, 1) != 1 || read(release_[0], &byte, 1) < 0) _exit(2);
            _exit(0);
        }
        char state = 0;
        if (read(ready[0], &state, 1) != 1 || state != 'w') ADD_FAILURE() << "the holder did not get the workbook";
        for (int fd : {ready[0], ready[1], release_[0]}) close(fd);
    }
    ~Holder() { letGo(); }
    // The holder dies on the spot, as a crashed program does.
    void kill() {
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        close(release_[1]);
        release_[1] = -1;
    }
    void letGo() {
        if (release_[1] < 0) return;
        const char go = 'x';  // a byte, not the pipe's end: children forked meanwhile keep that open
        if (write(release_[1], &go, 1) != 1) ADD_FAILURE() << "cannot tell the holder to go";
        close(release_[1]);
        release_[1] = -1;
        waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_ = -1;
    int release_[2] = {-1, -1};
};

int exitCode(pid_t child) {
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace

TEST_F(EngineFiles, WritersQueuedOnOneWorkbookAllGetThroughInTheOrderTheyCame) {
    Holder holder(path);
    std::vector<pid_t> writers;
    for (int number = 11; number <= 14; ++number) {
        writers.push_back(startWriter(path, number, 10s));
        std::this_thread::sleep_for(150ms);  // each is queued before the next comes
    }
    std::this_thread::sleep_for(2500ms);  // longer than a second opener once waited
    holder.letGo();
    for (pid_t writer : writers) EXPECT_EQ(exitCode(writer), 0) << "a writer got the workbook read-only";
    std::vector<std::string> ids;
    auto app = enginetest::newApplication(kShortWait);
    auto sheet = open(*app, true)->Worksheets("DATA");
    for (long row = 2; !sheet->Cells(row, 1)->Value().isEmpty(); ++row) ids.push_back(sheet->Cells(row, 1)->Value().toText());
    EXPECT_EQ(ids, (std::vector<std::string>{"1", "11", "12", "13", "14"}));
}

TEST_F(EngineFiles, AWaiterOrHolderThatDiesBlocksNobody) {
    Holder holder(path);
    const pid_t early = startWriter(path, 21, 30s);  // queued first, then killed while waiting
    std::this_thread::sleep_for(300ms);
    const pid_t late = startWriter(path, 22, 5s);
    std::this_thread::sleep_for(300ms);
    kill(early, SIGKILL);
    EXPECT_EQ(exitCode(early), -1);
    holder.letGo();
    EXPECT_EQ(exitCode(late), 0) << "the dead waiter's place in the queue blocked the next one";

    // A holder killed while it holds the workbook leaves it free at once.
    Holder dying(path);
    dying.kill();
    auto app = enginetest::newApplication(kShortWait);
    EXPECT_FALSE(open(*app)->ReadOnly());
}

TEST_F(EngineFiles, AStoreWeMayNotWriteOpensReadOnlyAndOnlySavingFailsWithTheReason) {
    // No lock file yet, and a folder where none can be made.
    fs::remove(office::engine::FileLock::sidecarFor(path.string()));
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const std::string failure = testsupport::runAsOrdinaryUser([&]() -> std::string {
        auto app = enginetest::newApplication(5s);
        const auto started = std::chrono::steady_clock::now();
        auto book = open(*app);
        if (std::chrono::steady_clock::now() - started > 2s) return "the open waited for a lock";
        if (!book->ReadOnly()) return "opened for writing";
        if (book->Worksheets("DATA")->Cells(2, 1)->Value() != Variant(1)) return "the content is not there";
        const std::string access = errorText([&] { book->ChangeFileAccess(FileAccess::ReadWrite); });
        if (access.find("Permission denied") == std::string::npos) return "ChangeFileAccess gave: " + access;
        const std::string save = errorText([&] { book->Save(); });
        if (save != "1004: Cannot save '" + path.string() + "': you may not write this file or its folder "
                                                              "(Permission denied).")
            return "Save gave: " + save;
        return {};
    });
    EXPECT_EQ(failure, "");
}

TEST_F(EngineFiles, AFolderInPlaceOfTheWorkbookIsCalledAFolder) {
    const fs::path inPlace = folder.path() / "Folder.xls";
    fs::create_directory(inPlace);
    auto app = enginetest::newApplication(kShortWait);
    EXPECT_EQ(errorText([&] { app->GetWorkbooks().Open(inPlace.string()); }),
              "1004: '" + inPlace.string() + "' is a folder, not a workbook file.");
    auto book = app->GetWorkbooks().Add();
    EXPECT_EQ(errorText([&] { book->SaveAs(inPlace.string()); }),
              "1004: Cannot save '" + inPlace.string() + "': it is a folder, and a workbook cannot replace it.");
    EXPECT_TRUE(fs::is_directory(inPlace));
}

TEST_F(EngineFiles, TheNextSaveRemovesWhatKilledSavesLeftAndNothingElse) {
    const std::vector<std::string> stale = {".Base.xls.tavolex-save-a1B2c3", ".Base.xls.tavolex-save-ZZZZZZ"};
    const std::vector<std::string> kept = {".Base.xls.tavolex-save-abc",     // not our length
                                           ".Base.xls.tavolex-save-ab.def",  // not our characters
                                           ".Other.xls.tavolex-save-a1B2c3",  // another workbook's
                                           ".Base.xls.backup", "Base.xls.tavolex-save-a1B2c3"};
    for (const auto& name : stale) std::ofstream(folder.path() / name) << "half a workbook";
    for (const auto& name : kept) std::ofstream(folder.path() / name) << "the user's";
    fs::create_directory(folder.path() / ".Base.xls.tavolex-save-dir123");  // a folder is never ours
    auto app = enginetest::newApplication(kShortWait);
    open(*app)->Save();
    for (const auto& name : stale) EXPECT_FALSE(fs::exists(folder.path() / name)) << name;
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(folder.path() / name)) << name;
    EXPECT_TRUE(fs::is_directory(folder.path() / ".Base.xls.tavolex-save-dir123"));
}

// Proof under load: many writers at once, and saves killed at random moments.

TEST_F(EngineFiles, SixteenWritersAtOnceAllLandOnceEach) {
    std::vector<pid_t> writers;
    for (int number = 100; number < 116; ++number) writers.push_back(startWriter(path, number, 30s));
    for (pid_t writer : writers) EXPECT_EQ(exitCode(writer), 0) << "a writer did not get its turn";
    std::multiset<std::string> ids;
    auto app = enginetest::newApplication(kShortWait);
    auto sheet = open(*app, true)->Worksheets("DATA");
    for (long row = 2; !sheet->Cells(row, 1)->Value().isEmpty(); ++row) ids.insert(sheet->Cells(row, 1)->Value().toText());
    std::multiset<std::string> expected{"1"};
    for (int number = 100; number < 116; ++number) expected.insert(std::to_string(number));
    EXPECT_EQ(ids, expected);  // every line there, none twice, none lost to another's save
}

TEST_F(EngineFiles, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewWorkbookWhole) {
    {
        // Big enough that a save takes a while to write.
        auto app = enginetest::newApplication(kShortWait);
        auto book = open(*app);
        auto sheet = book->Worksheets("DATA");
        for (long row = 3; row <= 3000; ++row) sheet->Cells(row, 2)->SetValue(Variant("line " + std::to_string(row)));
        book->Save();
        app->Quit();
    }
    std::mt19937 rng(7);
    double lastSeen = 1;
    int kills = 0;
    const auto until = std::chrono::steady_clock::now() + 8s;
    for (; kills < 300 && std::chrono::steady_clock::now() < until; ++kills) {
        const pid_t child = fork();
        if (child == 0) {
            // Saves one generation after the other until it is killed.
            for (double generation = lastSeen + 1;; ++generation) {
                auto app = enginetest::newApplication(30s);
                auto book = open(*app);
                book->Worksheets("DATA")->Cells(2, 1)->SetValue(Variant(generation));
                book->Save();
                app->Quit();
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 60000));
        if (kills % 8 == 7) {
            // Now and then the child is given the time to finish a save, so
            // generations advance on a loaded machine too.
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            while (std::chrono::steady_clock::now() < deadline && cellOnDisk(2, 1) == Variant(lastSeen))
                std::this_thread::sleep_for(20ms);
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 60000));
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        Variant value;
        const std::string failure = errorText([&] { value = cellOnDisk(2, 1); });
        ASSERT_EQ(failure, "no error") << "after kill " << kills;
        ASSERT_TRUE(value.isNumeric()) << "after kill " << kills;
        ASSERT_GE(value.toNumber(), lastSeen) << "an older workbook came back after kill " << kills;
        lastSeen = value.toNumber();
        ASSERT_EQ(cellOnDisk(3000, 2), Variant("line 3000")) << "after kill " << kills;
    }
    EXPECT_GE(kills, 20);
    EXPECT_GT(lastSeen, 1);  // some saves went through between the kills
    int leftBehind = 0;
    for (const auto& entry : fs::directory_iterator(folder.path()))
        leftBehind += entry.path().filename().string().rfind(".Base.xls.tavolex-save-", 0) == 0;
    RecordProperty("kills", kills);
    RecordProperty("generations", static_cast<int>(lastSeen));
    RecordProperty("temporary_files_left_by_kills", leftBehind);
    // The next save clears what the killed saves left.
    auto app = enginetest::newApplication(kShortWait);
    open(*app)->Save();
    app->Quit();
    for (const auto& entry : fs::directory_iterator(folder.path()))
        EXPECT_EQ(entry.path().filename().string().find(".Base.xls.tavolex-save-"), std::string::npos)
            << "left behind: " << entry.path();
}
