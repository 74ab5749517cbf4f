#pragma once
// The one error type of every automation call: a number and a description as
// the user sees them, plus where in which file it happened when that is known.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace automation {

class AutomationError : public std::runtime_error {
public:
    AutomationError(long number, std::string description, std::string file = {},
                    std::int64_t offset = -1);

    long number() const { return number_; }
    const std::string& description() const { return description_; }
    const std::string& file() const { return file_; }
    std::int64_t offset() const { return offset_; }

private:
    long number_;
    std::string description_;
    std::string file_;
    std::int64_t offset_;
};

// Numbers we raise, chosen to match what the Windows programs report for the
// same situation so that messages read the same.
namespace errnum {
constexpr long kApplicationDefined = 1004;  // Excel's generic "application-defined" error
constexpr long kBadFileName = 52;
constexpr long kFileNotFound = 53;
constexpr long kFileAlreadyOpen = 55;
constexpr long kFileExists = 58;
constexpr long kPermissionDenied = 70;
constexpr long kDiskNotReady = 71;
constexpr long kPathFileAccess = 75;
constexpr long kPathNotFound = 76;
constexpr long kCannotCreateObject = 429;   // "ActiveX component can't create object"
constexpr long kSubscriptOutOfRange = 9;
constexpr long kTypeMismatch = 13;
constexpr long kInvalidCall = 5;
// Word's and PowerPoint's own numbers for a document they cannot open.
constexpr long kWordFileNotFound = 5174;       // "This file could not be found."
constexpr long kWordFileCorrupt = 5792;        // "The file appears to be corrupted."
constexpr long kWordWrongPassword = 5408;      // the document needs a password
constexpr long kObjectFileNotFound = 432;      // GetObject: "File name or class name not found ..."
constexpr long kPowerPointCannotOpen = -2147467259;  // "PowerPoint could not open the file." (E_FAIL)
constexpr long kServerUnavailable = 462;       // a call on an application that has quit
constexpr long kWordObjectDeleted = 5825;      // a call on a closed document
constexpr long kPowerPointObjectGone = -2147188720;  // a call on a closed presentation
}  // namespace errnum

}  // namespace automation
