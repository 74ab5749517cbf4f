#pragma once
// The storage "MBD" + 8 hex digits that holds one embedded object at the root
// of a workbook file: a Word or PowerPoint 97-2003 file's own compound tree
// with the OLE streams beside it, or any other file as an OLE1 package.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "office/cfb/CompoundFile.h"
#include "office/ole/OleStreams.h"

namespace office::ole {

struct Embedding {
    const OleClass* oleClass = nullptr;
    cfb::Node storage;  // named by the caller
};

// The storage for a file's bytes. A compound file with a Word document or a
// PowerPoint presentation in it is embedded as that document, so it opens as
// one; anything else (a damaged compound file too) as a package named
// `fileName` from `sourcePath`. Raises AutomationError 1004 for a file
// larger than an embedded object may be.
Embedding embeddingOf(std::vector<std::uint8_t> fileBytes, const std::string& fileName, const std::string& sourcePath);

// "MBD0009CF7B" for 0x0009CF7B, and back (nullopt for other names).
std::string storageName(std::uint32_t id);
std::optional<std::uint32_t> storageIdOf(std::string_view name);

// The class of an embedded storage by its CLSID; nullptr for one the engine
// does not make.
const OleClass* classOfStorage(const cfb::Node& storage);

// The embedded file as it was: a package's bytes, or a document's compound
// file rebuilt from the storage without the OLE streams. Raises
// AutomationError 1004 for a damaged package or a storage of another class.
std::vector<std::uint8_t> embeddedFile(const cfb::Node& storage);
// The name of the embedded file: the package's label, or "" for a document.
std::string embeddedFileName(const cfb::Node& storage);

}  // namespace office::ole
