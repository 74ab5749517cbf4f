#pragma once
// Reading a user's Word or PowerPoint file for the engine: the bytes, read
// without ever opening the file for writing, and its compound file, with the
// failures worded as the application that would open it words them.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "office/cfb/CompoundFile.h"

namespace office::ole {

// The numbers and words one application uses when it cannot open a file.
struct OpenErrors {
    const char* application;   // "Word"
    const char* documentKind;  // "a Word 97-2003 document"
    long notFound;
    long cannotOpen;           // damaged, foreign, too old
    long password;
};
extern const OpenErrors kWordErrors;
extern const OpenErrors kPowerPointErrors;

// AutomationError `cannotOpen`: "<application> cannot open the file: <why>."
[[noreturn]] void throwCannotOpen(const OpenErrors& errors, const std::string& why);
// AutomationError `password`: the file is protected by a password.
[[noreturn]] void throwNeedsPassword(const OpenErrors& errors);

// The whole file. Missing: `notFound`; not readable: 70; a folder, a device
// or a file too large: `cannotOpen`. The path travels with the error.
std::vector<std::uint8_t> readSourceFile(const std::string& path, const OpenErrors& errors);

// The compound file of a document: anything else (a text, a newer zipped
// document), a damaged structure or an encrypted package raises the errors
// above.
cfb::Node readDocumentCompound(std::span<const std::uint8_t> bytes, const OpenErrors& errors);

}  // namespace office::ole
