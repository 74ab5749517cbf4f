// A save encrypts the Workbook stream piece by piece on its way to the file
// and keeps it in clear; read from there, it must be the workbook a fresh
// read of the file gives, and the file must be what encrypting it whole gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "office/XlsFile.h"
#include "office/biff/Biff8.h"
#include "office/biff/RecordCipher.h"
#include "office/engine/AtomicFile.h"
#include "support/TestSupport.h"

namespace {

using office::WorkbookModel;
namespace fs = std::filesystem;

// The samples that read, each with the password it opens with.
std::vector<std::pair<WorkbookModel, std::string>> readableSamples() {
    std::vector<std::pair<WorkbookModel, std::string>> models;
    for (const testsupport::SampleWorkbook& sample : testsupport::sampleWorkbooks()) {
        try {
            models.emplace_back(office::readXls(testsupport::readFileBytes(sample.path), sample.password), sample.password);
        } catch (const std::exception&) {
            // the damaged samples
        }
    }
    return models;
}

TEST(WrittenStream, EncryptedInPiecesOfAnySizeIsEncryptedWhole) {
    for (const auto& [model, password] : readableSamples()) {
        office::biff::ClearWorkbookStream stream = office::biff::writeClearWorkbookStream(model, "secret");
        ASSERT_TRUE(stream.cipher);
        const std::vector<std::uint8_t> clear = stream.bytes;
        const std::vector<std::uint8_t> whole = office::biff::applyRecordCipher(clear, 0, *stream.cipher);
        ASSERT_NE(whole, clear);
        for (const std::size_t size : {std::size_t{1}, std::size_t{3}, std::size_t{1023}, std::size_t{4099}, std::size_t{65536}}) {
            office::biff::RecordEncrypter encrypter(stream.bytes, 0, *stream.cipher);
            std::vector<std::uint8_t> pieces;
            for (std::size_t at = 0; at < clear.size(); at += size) {
                std::vector<std::uint8_t> piece(clear.begin() + at, clear.begin() + std::min(clear.size(), at + size));
                encrypter.apply(piece, at);
                pieces.insert(pieces.end(), piece.begin(), piece.end());
            }
            EXPECT_EQ(pieces, whole) << "pieces of " << size;
        }
        EXPECT_EQ(stream.bytes, clear);  // left in clear
    }
}

// The file as the engine writes it, and the stream kept in clear.
struct Written {
    std::vector<std::uint8_t> file;
    std::vector<std::uint8_t> clear;
};
Written writeInPieces(const WorkbookModel& model, const std::string& password) {
    Written written;
    office::writeXls(model, password, [&](std::span<const std::uint8_t> piece) {
        written.file.insert(written.file.end(), piece.begin(), piece.end());
    }, &written.clear);
    return written;
}

TEST(WrittenStream, TheStreamKeptInClearReadsAsTheFileWritten) {
    std::size_t kept = 0;
    for (const auto& [model, samplePassword] : readableSamples()) {
        for (const std::string& password : {std::string(), std::string("p\u00E4ss"), samplePassword}) {
            Written written = writeInPieces(model, password);
            const WorkbookModel fresh = office::readXls(written.file, password);
            if (written.clear.empty()) continue;  // small enough for the mini stream
            EXPECT_EQ(office::readWrittenXls(std::move(written.clear), model.rootStorage), fresh);
            ++kept;
        }
    }
    EXPECT_GE(kept, 12u);
}

TEST(WrittenStream, AFileWhoseWritingFailsHalfWayLeavesTheOldOneAndNoTemporary) {
    testsupport::TempFolder folder("written-stream");
    const fs::path path = folder.path() / "Base.xls";
    std::ofstream(path) << "old contents";
    const std::vector<std::uint8_t> some(70000, 7);
    EXPECT_THROW(office::engine::writeFileAtomically(path.string(),
                                                     [&](const office::engine::BytesPut& put) {
                                                         put(some);
                                                         throw std::runtime_error("the model cannot be written");
                                                     }),
                 std::runtime_error);
    EXPECT_EQ(testsupport::readFileBytes(path), std::vector<std::uint8_t>({'o', 'l', 'd', ' ', 'c', 'o', 'n', 't', 'e', 'n', 't', 's'}));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) ++files;
    EXPECT_EQ(files, 1u);
}

}  // namespace
