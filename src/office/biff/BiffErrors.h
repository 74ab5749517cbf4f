#pragma once
// The errors the BIFF8 reader raises, worded as the user sees them.
#include <cstdint>
#include <string>

namespace office::biff {

// A damaged or truncated stream: AutomationError 1004 naming what is wrong
// and the Workbook-stream offset where it was found.
[[noreturn]] void throwDamaged(const std::string& what, std::uint64_t offset);

// A workbook we do not read (BIFF5 and older): AutomationError 1004.
[[noreturn]] void throwUnsupported(const std::string& what);

// Missing or wrong open password: AutomationError 1004 with Excel's wording.
[[noreturn]] void throwWrongPassword();

extern const char* const kWrongPasswordMessage;

}  // namespace office::biff
