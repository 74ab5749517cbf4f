#include "office/biff/BiffErrors.h"

#include "automation/AutomationError.h"

namespace office::biff {

const char* const kWrongPasswordMessage =
    "The password you supplied is not correct. Verify that the CAPS LOCK key is off and be sure "
    "to use the correct capitalization.";

void throwDamaged(const std::string& what, std::uint64_t offset) {
    throw automation::AutomationError(
        automation::errnum::kApplicationDefined,
        "The file is not a workbook Tavolex can read: " + what + " (at offset " + std::to_string(offset) + ").",
        {}, static_cast<std::int64_t>(offset));
}

void throwUnsupported(const std::string& what) {
    throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                      "The file is not a workbook Tavolex can read: " + what);
}

void throwWrongPassword() {
    throw automation::AutomationError(automation::errnum::kApplicationDefined, kWrongPasswordMessage);
}

}  // namespace office::biff
