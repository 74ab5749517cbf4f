// Damaged and foreign input: every failure is an AutomationError 1004 with a
// description, never a crash or another exception (also run under ASan/UBSan).
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "office/biff/Biff8.h"
#include "office/cfb/CompoundFile.h"
#include "support/TestSupport.h"

namespace {


// True when `read` succeeds; fails the test for anything but a described AutomationError 1004.
template <typename Read>
bool readsOrFailsCleanly(Read&& read) {
    try {
        read();
        return true;
    } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), 1004);
        EXPECT_FALSE(e.description().empty());
        return false;
    } catch (const std::exception& e) {
        ADD_FAILURE() << "unexpected exception: " << e.what();
        return false;
    }
}

std::string failureText(const std::vector<std::uint8_t>& bytes, const std::string& password = "") {
    try {
        office::readXls(bytes, password);
    } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), 1004);
        return e.description();
    }
    return "no error";
}

struct Sample {
    const char* name;
    const char* password;
};
const Sample kSamples[] = {{"budget.xls", ""}, {"locked.xls", "ab1234"}, {"protected.xls", ""}};

TEST(XlsFileDamage, TruncatedWorkbookStreams) {
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.name);
        auto root = office::cfb::readCompoundFile(testsupport::readFileBytes(testsupport::testData(sample.name)));
        const auto& stream = root.child("Workbook")->data;
        int failed = 0;
        for (std::size_t length = 0; length < stream.size(); length += 1 + length / 64) {
            std::span<const std::uint8_t> cut(stream.data(), length);
            failed += !readsOrFailsCleanly([&] { office::biff::readWorkbookStream(cut, sample.password); });
        }
        EXPECT_GT(failed, 50);
    }
}

TEST(XlsFileDamage, TruncatedFiles) {
    auto bytes = testsupport::readFileBytes(testsupport::testData("budget.xls"));
    for (std::size_t length = 0; length < bytes.size(); length += 97) {
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        readsOrFailsCleanly([&] { office::readXls(cut, ""); });
    }
}

TEST(XlsFileDamage, CorruptedWorkbookStreams) {
    std::mt19937 rng(11);
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.name);
        auto root = office::cfb::readCompoundFile(testsupport::readFileBytes(testsupport::testData(sample.name)));
        const auto original = root.child("Workbook")->data;
        for (int round = 0; round < 1500; ++round) {
            auto stream = original;
            const int flips = 1 + static_cast<int>(rng() % 8);
            for (int i = 0; i < flips; ++i) stream[rng() % stream.size()] = static_cast<std::uint8_t>(rng());
            readsOrFailsCleanly([&] { office::biff::readWorkbookStream(stream, sample.password); });
        }
    }
}

// The byte ranges of the drawing records (MSODRAWING) of a workbook stream.
std::vector<std::pair<std::size_t, std::size_t>> drawingBodies(const std::vector<std::uint8_t>& stream) {
    std::vector<std::pair<std::size_t, std::size_t>> bodies;
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const std::size_t id = stream[at] | (stream[at + 1] << 8);
        const std::size_t length = stream[at + 2] | (stream[at + 3] << 8);
        if (id == 0x00EC && length > 0) bodies.emplace_back(at + 4, length);
        at += 4 + length;
    }
    return bodies;
}

// Whatever the reader accepts, however damaged, our writer must write and our
// reader read back: a save must never fail on a workbook that opened. The
// damage is aimed at the drawings, whose shapes are kept as the file held them.
TEST(XlsFileDamage, DamagedDrawingsThatReadAlsoWriteBack) {
    std::mt19937 rng(23);
    for (const char* name : {"formatted.xls", "embedded_objects.xls", "budget.xls"}) {
        SCOPED_TRACE(name);
        auto root = office::cfb::readCompoundFile(testsupport::readFileBytes(testsupport::testData(name)));
        const auto original = root.child("Workbook")->data;
        const auto bodies = drawingBodies(original);
        ASSERT_FALSE(bodies.empty());
        int read = 0;
        for (int round = 0; round < 1500; ++round) {
            auto stream = original;
            const auto& [start, length] = bodies[rng() % bodies.size()];
            const int flips = 1 + static_cast<int>(rng() % 3);
            for (int i = 0; i < flips; ++i) stream[start + rng() % length] = static_cast<std::uint8_t>(rng());
            office::WorkbookModel model;
            if (!readsOrFailsCleanly([&] { model = office::biff::readWorkbookStream(stream, ""); })) continue;
            ++read;
            try {
                const office::WorkbookModel back = office::readXls(office::writeXls(model, ""), "");
                ASSERT_EQ(back.sheets.size(), model.sheets.size()) << "round " << round;
            } catch (const automation::AutomationError& e) {
                FAIL() << "round " << round << ": the model that read did not write and read back: " << e.description();
            }
        }
        EXPECT_GT(read, 100);  // most single-byte damage leaves the workbook readable
    }
}

TEST(XlsFileDamage, RandomBytesAndForeignFiles) {
    std::mt19937 rng(5);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> bytes(rng() % 3000);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
        EXPECT_FALSE(readsOrFailsCleanly([&] { office::readXls(bytes, ""); }));
        EXPECT_FALSE(readsOrFailsCleanly([&] { office::biff::readWorkbookStream(bytes, ""); }));
    }
    const std::string text = "Month;Income\nJan;1200\n";
    EXPECT_EQ(failureText({text.begin(), text.end()}),
              "The file is not a workbook Tavolex can read: it is not an Excel 97-2003 (.xls) file.");

    // A compound file that is a Word document, not a workbook.
    auto doc = testsupport::readFileBytes(testsupport::testData("memo.doc"));
    EXPECT_EQ(failureText(doc), "The file is not a workbook Tavolex can read: it holds no workbook stream.");

    // An Excel 5.0 file: "Book" stream with a BIFF5 BOF.
    office::cfb::Node root;
    root.name = "Root Entry";
    root.isStorage = true;
    root.addStream("Book", {0x09, 0x08, 0x08, 0x00, 0x00, 0x05, 0x05, 0x00, 0, 0, 0, 0});
    EXPECT_NE(failureText(office::cfb::writeCompoundFile(root)).find("Excel 5.0/95"), std::string::npos);

    // A damaged compound file says so too.
    auto budget = testsupport::readFileBytes(testsupport::testData("budget.xls"));
    budget.resize(1024);
    EXPECT_EQ(failureText(budget).rfind("The file is not a workbook Tavolex can read: ", 0), 0u);
}

TEST(XlsFileDamage, WrongPasswordOnOurOwnEncryption) {
    office::WorkbookModel m = office::WorkbookModel::withDefaults();
    m.sheets.emplace_back().name = "Only";
    m.sheets[0].cellAt(1, 1).value = "kept";
    auto bytes = office::writeXls(m, "right");
    EXPECT_EQ(office::readXls(bytes, "right").sheets[0].cell(1, 1)->value, office::CellValue("kept"));
    const std::string message =
        "The password you supplied is not correct. Verify that the CAPS LOCK key is off and be sure to use "
        "the correct capitalization.";
    EXPECT_EQ(failureText(bytes, "wrong"), message);
    EXPECT_EQ(failureText(bytes, ""), message);
    // Written with the built-in password, it opens without one, as Excel does.
    auto builtIn = office::writeXls(m, "VelvetSweatshop");
    EXPECT_EQ(office::readXls(builtIn, "").sheets[0].cell(1, 1)->value, office::CellValue("kept"));
}

TEST(XlsFileDamage, MissingFileNamesThePath) {
    testsupport::TempFolder folder;
    const std::string path = (folder.path() / "absent.xls").string();
    try {
        office::readXlsFile(path, "");
        ADD_FAILURE() << "no error";
    } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), 1004);
        EXPECT_NE(e.description().find("absent.xls"), std::string::npos);
        EXPECT_EQ(e.file(), path);
    }
    // A text file named .xls.
    const std::string textPath = (folder.path() / "notes.xls").string();
    std::ofstream(textPath) << "just text\n";
    EXPECT_THROW(office::readXlsFile(textPath, ""), automation::AutomationError);
}

}  // namespace
