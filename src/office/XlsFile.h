#pragma once
// Whole Excel 97-2003 (.xls) files: the compound file around the BIFF8
// Workbook stream, to and from the workbook model.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "office/model/WorkbookModel.h"

namespace office {

// Reads the "Workbook" (or old "Book") stream of a compound file into the model, and
// keeps every other stream and storage in WorkbookModel::rootStorage. Not a compound file,
// no workbook stream, BIFF5 or older, damaged: AutomationError 1004 with a readable
// description. A wrong or missing open password: AutomationError 1004 as Excel words it.
WorkbookModel readXls(std::span<const std::uint8_t> fileBytes, const std::string& password);
// The same, letting go of the file's bytes as soon as the streams are taken out.
WorkbookModel readXls(std::vector<std::uint8_t>&& fileBytes, const std::string& password);

// A compound file holding the Workbook stream (RC4-encrypted when password is
// non-empty) beside the streams and storages of WorkbookModel::rootStorage.
std::vector<std::uint8_t> writeXls(const WorkbookModel& model, const std::string& password);
// The same handed to `put` piece by piece in file order, each valid during
// its call: a file of megabytes is not copied into one buffer first, and the
// Workbook stream is encrypted on its way out. With `clearStream`, it gives
// back its Workbook stream in clear, to be read again with readWrittenXls
// without decrypting (empty for a stream small enough for the mini stream).
using XlsBytesWriter = std::function<void(std::span<const std::uint8_t>)>;
void writeXls(const WorkbookModel& model, const std::string& password, const XlsBytesWriter& put,
              std::vector<std::uint8_t>* clearStream);
// What readXls gives for the file writeXls just wrote, from the clear stream
// it gave back and the written model's rootStorage.
WorkbookModel readWrittenXls(std::vector<std::uint8_t>&& clearStream, const cfb::Node& rootStorage);

// readXls over a file on disk; a missing or unreadable file raises AutomationError 1004.
// (Writing replaces files atomically in the engine, so there is no writeXlsFile.)
WorkbookModel readXlsFile(const std::string& path, const std::string& password);

}  // namespace office
