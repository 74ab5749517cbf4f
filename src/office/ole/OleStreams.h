#pragma once
// The streams an embedded object's storage holds besides its data ([MS-OLEDS]):
// "\001CompObj" (the object's class, in words and as a ProgID), "\001Ole"
// (an embedded, not linked, object), "\003ObjInfo" (how it is shown), and the
// OLE1 package "\001Ole10Native" that carries any file whole.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "office/cfb/CompoundFile.h"

namespace office::ole {

// The classes the engine embeds as.
struct OleClass {
    const char* progId;           // "Word.Document.8"
    const char* clsid;            // registry form
    const char* userType;         // "Microsoft Office Word 97-2003 Document"
    const char* clipboardFormat;  // "MSWordDoc"; empty for none
};
extern const OleClass kWordDocumentClass;
extern const OleClass kPowerPointShowClass;
extern const OleClass kPackageClass;

std::vector<std::uint8_t> compObjStream(const OleClass& oleClass);
// "\001Ole" of an embedded object: version, no flags, no monikers.
std::vector<std::uint8_t> oleStream();
// "\003ObjInfo" of an object shown as an icon.
std::vector<std::uint8_t> objInfoStream();

// The contents of an OLE1 package. The ANSI fields hold the names as the
// system's code page has them; `unicode*` the same names exactly (the
// optional tail newer writers add; empty when absent).
struct Package {
    std::string label;       // the file name shown under the icon
    std::string sourcePath;  // where the file came from
    std::string tempPath;    // where an opening program would write it
    std::span<const std::uint8_t> data;
    std::string unicodeLabel, unicodeSourcePath, unicodeTempPath;
    // The best name of the file: the Unicode label, else the ANSI one.
    std::string fileName() const { return unicodeLabel.empty() ? label : unicodeLabel; }
};

// The largest file a package carries: its size and the stream's own size are
// 32-bit fields, and a compound file's stream stays below 2 GB.
constexpr std::uint64_t kMaxPackagedFileSize = 0x7FFF0000;

// "\001Ole10Native" for `data`, named `fileName` (UTF-8) from `sourcePath`.
// Raises AutomationError 1004 when the data is larger than a package holds.
std::vector<std::uint8_t> packageStream(const std::string& fileName, const std::string& sourcePath,
                                        std::span<const std::uint8_t> data);

// Reads "\001Ole10Native"; `data` points into `stream`. A stream too short
// for what its fields say, or strings without their terminator, raise
// AutomationError 1004 naming what is wrong.
Package readPackageStream(std::span<const std::uint8_t> stream);

// The registry form of a class as bytes of a storage.
cfb::Clsid clsidOf(const OleClass& oleClass);

}  // namespace office::ole
