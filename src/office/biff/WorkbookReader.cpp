// readWorkbookStream: version check, decryption, then the globals and each sheet.
#include <map>
#include <memory>
#include <vector>

#include "automation/AutomationError.h"
#include "office/biff/Biff8.h"
#include "office/biff/BiffErrors.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/GlobalsReader.h"
#include "office/biff/RecordCipher.h"
#include "office/biff/RecordReader.h"
#include "office/biff/SheetReader.h"
#include "office/crypto/Crypto.h"

namespace office::biff {
namespace {

// The stream must open with a BIFF8 globals BOF; older versions are named.
void checkVersion(RecordReader& reader) {
    Record bof;
    if (!reader.next(bof)) throwDamaged("the workbook stream is empty", 0);
    switch (bof.id) {
    case 0x0009:
    case 0x0209:
    case 0x0409:
        throwUnsupported("it was saved by Excel 2.x-4.0; only Excel 97-2003 workbooks are supported.");
    case rec::kBof:
        break;
    default:
        throwDamaged("the workbook stream does not start with a BOF record", 0);
    }
    if (bof.body.size() < 4) throwDamaged("the first BOF record is too short", 0);
    std::uint16_t version = static_cast<std::uint16_t>(bof.body[0] | (bof.body[1] << 8));
    std::uint16_t type = static_cast<std::uint16_t>(bof.body[2] | (bof.body[3] << 8));
    if (version != rec::kBiff8Version)
        throwUnsupported("it was saved by Excel 5.0/95 or older; only Excel 97-2003 workbooks are supported.");
    if (type != rec::kBofGlobals) throwDamaged("the workbook stream does not start with the workbook globals", 0);
}

std::unique_ptr<crypto::BlockCipher> openCipher(std::span<const std::uint8_t> filePass, const std::string& password) {
    std::unique_ptr<crypto::BlockCipher> cipher;
    if (!password.empty()) cipher = crypto::openFilePass(filePass, password);
    if (!cipher && password != crypto::kDefaultPassword) cipher = crypto::openFilePass(filePass, crypto::kDefaultPassword);
    if (!cipher) throwWrongPassword();
    return cipher;
}

// The FILEPASS record of the globals, if any (it comes right after BOF).
bool findFilePass(RecordReader reader, Record& filePass) {
    while (reader.next(filePass)) {
        if (filePass.id == rec::kFilePass) return true;
        if (filePass.id == rec::kEof) return false;
    }
    return false;
}

// The globals and each sheet of a stream whose records are in clear after its
// first BOF. With `kept` (holding `stream`), the sheets decode their cells
// from it as they are asked for.
WorkbookModel readClearStream(std::span<const std::uint8_t> stream, std::size_t globalsStart,
                              std::shared_ptr<const std::vector<std::uint8_t>> kept = nullptr) {
    Globals globals = readGlobals(stream, globalsStart, kept != nullptr);
    WorkbookModel& model = globals.model;
    SheetSource source{std::move(kept), std::make_shared<const SharedStrings>(std::move(globals.sharedStrings))};
    const SharedStrings& strings = *source.strings;
    // Substreams must not overlap: a damaged sheet list would otherwise make us
    // read the same records again and again.
    std::map<std::size_t, std::size_t> read;  // start -> end
    for (std::size_t i = 0; i < model.sheets.size(); ++i) {
        SheetModel& sheet = model.sheets[i];
        if (sheet.kind == SheetKind::VbModule) continue;
        const std::size_t start = globals.sheetOffsets[i];
        if (sheet.kind == SheetKind::Chart) {
            // A chart sheet keeps its substream whole; one we cannot walk
            // leaves the sheet without it (and without a code name) rather
            // than the workbook unreadable.
            try {
                readChartSheet(stream, globals.sheetOffsets[i], sheet);
            } catch (const automation::AutomationError&) {
                sheet.chartStream.clear();
                sheet.codeName.clear();
            }
            continue;
        }
        auto after = read.upper_bound(start);
        if (after != read.begin() && std::prev(after)->second > start)
            throwDamaged("two sheets share one substream", start);
        std::size_t end = readSheet(stream, start, strings, model.xfs.size(), sheet, &source);
        if (after != read.end() && after->first < end) throwDamaged("two sheets share one substream", after->first);
        read[start] = end;
    }
    return std::move(globals.model);
}

}  // namespace

WorkbookModel readWorkbookStream(std::span<const std::uint8_t> stream, const std::string& password) {
    RecordReader reader(stream);
    checkVersion(reader);
    Record filePass;
    if (!findFilePass(reader, filePass)) return readClearStream(stream, reader.position());
    auto cipher = openCipher(filePass.body, password);
    std::vector<std::uint8_t> clear(stream.begin(), stream.end());
    applyRecordCipherInPlace(clear, reader.position(), *cipher);
    return readClearStream(clear, reader.position());
}

WorkbookModel readWorkbookStream(std::vector<std::uint8_t>&& stream, const std::string& password) {
    RecordReader reader(stream);
    checkVersion(reader);
    Record filePass;
    if (findFilePass(reader, filePass)) {
        auto cipher = openCipher(filePass.body, password);
        applyRecordCipherInPlace(stream, reader.position(), *cipher);
    }
    const std::size_t globalsStart = reader.position();
    auto kept = std::make_shared<const std::vector<std::uint8_t>>(std::move(stream));
    return readClearStream(*kept, globalsStart, kept);
}

WorkbookModel readWrittenWorkbookStream(std::vector<std::uint8_t>&& stream) {
    RecordReader reader(stream);
    checkVersion(reader);
    Record filePass;
    findFilePass(reader, filePass);
    const std::size_t globalsStart = reader.position();
    auto kept = std::make_shared<const std::vector<std::uint8_t>>(std::move(stream));
    return readClearStream(*kept, globalsStart, kept);
}

}  // namespace office::biff
