#pragma once
// The BIFF8 Workbook stream (Excel 97-2003) to and from the workbook model.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "office/crypto/Crypto.h"
#include "office/model/WorkbookModel.h"

namespace office::biff {

// Reads a Workbook stream (already taken out of the compound file). Decrypts when it
// holds FILEPASS: tries `password`, and when that is empty or wrong also the built-in
// password crypto::kDefaultPassword silently (as Excel does for files with only a
// structure password). Wrong or missing password: AutomationError 1004 with Excel's
// wording; damaged or pre-BIFF8 streams: AutomationError 1004 with a description.
WorkbookModel readWorkbookStream(std::span<const std::uint8_t> stream, const std::string& password);
// The same, decrypting in place in `stream` instead of in a copy.
WorkbookModel readWorkbookStream(std::vector<std::uint8_t>&& stream, const std::string& password);

// Writes a complete BIFF8 Workbook stream; encrypted with RC4 (FILEPASS) when password is
// non-empty, or with the built-in password when the workbook structure or windows are
// protected with a password (as Excel saves such files).
// A model without sheets, or with none visible, raises AutomationError 1004.
std::vector<std::uint8_t> writeWorkbookStream(const WorkbookModel& model, const std::string& password);

// The same left in clear, with the cipher that encrypts it record by record
// from the stream's start (none when it is not to be encrypted).
struct ClearWorkbookStream {
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<crypto::BlockCipher> cipher;
};
ClearWorkbookStream writeClearWorkbookStream(const WorkbookModel& model, const std::string& password);
// A stream this program wrote and kept in clear (FILEPASS and all), read as
// readWorkbookStream would read it once encrypted, without decrypting.
WorkbookModel readWrittenWorkbookStream(std::vector<std::uint8_t>&& clear);

}  // namespace office::biff
