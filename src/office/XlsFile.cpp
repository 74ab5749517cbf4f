#include "office/XlsFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <new>
#include <stdexcept>
#include <type_traits>

#include "automation/AutomationError.h"
#include "office/biff/Biff8.h"
#include "office/biff/RecordCipher.h"
#include "office/cfb/CompoundFile.h"

namespace office {
namespace {

using automation::AutomationError;
constexpr long kError = automation::errnum::kApplicationDefined;
const std::string kNotReadable = "The file is not a workbook Tavolex can read: ";

template <typename Bytes>
cfb::Node parseCompound(Bytes&& fileBytes) {
    if (!cfb::hasCompoundSignature(fileBytes))
        throw AutomationError(kError, kNotReadable + "it is not an Excel 97-2003 (.xls) file.");
    try {
        if constexpr (std::is_rvalue_reference_v<Bytes&&>)
            return cfb::readCompoundFile(std::move(fileBytes), "Workbook");  // the bytes become the stream
        else
            return cfb::readCompoundFile(std::span<const std::uint8_t>(fileBytes));
    } catch (const AutomationError& e) {
        throw AutomationError(kError, kNotReadable + e.description(), e.file(), e.offset());
    }
}

WorkbookModel readWorkbook(cfb::Node root, const std::string& password) {
    auto isWorkbook = [](const cfb::Node& node, std::string_view name) {
        return !node.isStorage && cfb::compareNames(node.name, name) == 0;
    };
    auto stream = std::find_if(root.children.begin(), root.children.end(),
                               [&](const cfb::Node& n) { return isWorkbook(n, "Workbook"); });
    if (stream == root.children.end())
        stream = std::find_if(root.children.begin(), root.children.end(),
                              [&](const cfb::Node& n) { return isWorkbook(n, "Book"); });
    if (stream == root.children.end()) throw AutomationError(kError, kNotReadable + "it holds no workbook stream.");
    // The stream is decrypted where it is, and everything else of the file kept as it is.
    std::vector<std::uint8_t> bytes = std::move(stream->data);
    root.children.erase(stream);
    WorkbookModel model = biff::readWorkbookStream(std::move(bytes), password);
    model.rootStorage = std::move(root);
    return model;
}

// A file too large for memory, or a damaged one claiming to be, is a bad file.
template <typename Read>
WorkbookModel guarded(Read&& read) {
    try {
        return read();
    } catch (const std::bad_alloc&) {
        throw AutomationError(kError, kNotReadable + "it is too large or damaged.");
    } catch (const std::length_error&) {
        throw AutomationError(kError, kNotReadable + "it is too large or damaged.");
    }
}

}  // namespace

WorkbookModel readXls(std::span<const std::uint8_t> fileBytes, const std::string& password) {
    return guarded([&] { return readWorkbook(parseCompound(fileBytes), password); });
}

WorkbookModel readXls(std::vector<std::uint8_t>&& fileBytes, const std::string& password) {
    return guarded([&] {
        cfb::Node root = parseCompound(std::move(fileBytes));
        std::vector<std::uint8_t>().swap(fileBytes);  // when not taken for the stream, its memory serves the cells
        return readWorkbook(std::move(root), password);
    });
}

void writeXls(const WorkbookModel& model, const std::string& password, const XlsBytesWriter& put,
              std::vector<std::uint8_t>* clearStream) {
    if (clearStream) clearStream->clear();
    // Nothing after the last record: readers that walk the records to the
    // stream's end (decrypters among them) stop on padding. A small stream
    // lives in the mini stream, as in Excel's own small files.
    biff::ClearWorkbookStream stream = biff::writeClearWorkbookStream(model, password);
    cfb::Node workbook;
    workbook.name = "Workbook";
    workbook.data = std::move(stream.bytes);
    // The kept storages (embedded files among them) are written from where
    // they are, not copied. Read back, they are what the model holds; a
    // Workbook stream among them is replaced.
    const bool keepable = !model.rootStorage.child(workbook.name);
    cfb::Node root;
    std::span<std::uint8_t> clear(workbook.data);
    auto piecesOf = [&] {
        if (keepable) {
            const cfb::Node* const extra[] = {&workbook};
            return cfb::writeCompoundFilePieces(model.rootStorage, extra);
        }
        if (root.children.empty()) {
            root = model.rootStorage;
            clear = root.addStream("Workbook", std::move(workbook.data)).data;
        }
        return cfb::writeCompoundFilePieces(root);
    };
    cfb::CompoundFilePieces pieces = piecesOf();
    auto inStream = [&clear](std::span<const std::uint8_t> part) {
        return !clear.empty() && part.data() >= clear.data() && part.data() < clear.data() + clear.size();
    };
    std::size_t written = 0;  // of the stream, from where it is
    for (const auto& part : pieces.parts)
        if (inStream(part)) written += part.size();
    if (stream.cipher && written < clear.size()) {
        // A small stream is copied into the compound file's mini stream: it
        // is encrypted where it is first, and not kept.
        biff::applyRecordCipherInPlace(clear, 0, *stream.cipher);
        stream.cipher.reset();
        clearStream = nullptr;
        pieces = piecesOf();
    }
    if (!stream.cipher) {
        for (const auto& part : pieces.parts) put(part);
    } else {
        // The stream's parts go through one buffer, encrypted there; the stream stays clear.
        biff::RecordEncrypter encrypter(clear, 0, *stream.cipher);
        std::vector<std::uint8_t> buffer;
        constexpr std::size_t kPiece = 64 * 1024;
        for (const auto& part : pieces.parts) {
            if (!inStream(part)) {
                put(part);
                continue;
            }
            for (std::size_t done = 0; done < part.size(); done += kPiece) {
                const std::size_t n = std::min(kPiece, part.size() - done);
                buffer.assign(part.data() + done, part.data() + done + n);
                encrypter.apply(buffer, static_cast<std::size_t>(part.data() + done - clear.data()));
                put(buffer);
            }
        }
    }
    if (clearStream && keepable) *clearStream = std::move(workbook.data);
}

WorkbookModel readWrittenXls(std::vector<std::uint8_t>&& clearStream, const cfb::Node& rootStorage) {
    WorkbookModel model = biff::readWrittenWorkbookStream(std::move(clearStream));
    model.rootStorage = rootStorage;
    return model;
}

std::vector<std::uint8_t> writeXls(const WorkbookModel& model, const std::string& password) {
    std::vector<std::uint8_t> out;
    const auto append = [&out](std::span<const std::uint8_t> piece) { out.insert(out.end(), piece.begin(), piece.end()); };
    writeXls(model, password, append, nullptr);
    return out;
}

WorkbookModel readXlsFile(const std::string& path, const std::string& password) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw AutomationError(kError, "'" + path + "' could not be found. Check the spelling of the file name, "
                                      "and verify that the file location is correct.", path);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw AutomationError(kError, "Tavolex cannot read '" + path + "'.", path);
    try {
        return readXls(std::move(bytes), password);
    } catch (const AutomationError& e) {
        throw AutomationError(e.number(), e.description(), path, e.offset());
    }
}

}  // namespace office
