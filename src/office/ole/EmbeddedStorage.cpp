#include "office/ole/EmbeddedStorage.h"

#include <cstdio>

#include "automation/AutomationError.h"

namespace office::ole {
namespace {

using automation::AutomationError;
constexpr long kError = automation::errnum::kApplicationDefined;

const char* const kCompObj = "\001CompObj";
const char* const kOle = "\001Ole";
const char* const kObjInfo = "\003ObjInfo";
const char* const kNative = "\001Ole10Native";

// A compound file, whole, stays below 2 GB; the storage's own streams and
// the workbook beside it need some room.
constexpr std::uint64_t kMaxDocumentSize = 0x7F000000;

const OleClass* documentClassOf(const cfb::Node& root) {
    const cfb::Node* word = root.child("WordDocument");
    if (word && !word->isStorage) return &kWordDocumentClass;
    const cfb::Node* ppt = root.child("PowerPoint Document");
    if (ppt && !ppt->isStorage) return &kPowerPointShowClass;
    return nullptr;
}

[[noreturn]] void tooLarge() {
    throw AutomationError(kError, "The file is too large to embed: a workbook file stays below 2 GB.");
}

}  // namespace

Embedding embeddingOf(std::vector<std::uint8_t> fileBytes, const std::string& fileName, const std::string& sourcePath) {
    Embedding embedding;
    if (cfb::hasCompoundSignature(fileBytes)) {
        if (fileBytes.size() > kMaxDocumentSize) tooLarge();
        try {
            cfb::Node root = cfb::readCompoundFile(fileBytes);
            if (const OleClass* documentClass = documentClassOf(root)) {
                embedding.oleClass = documentClass;
                embedding.storage = std::move(root);
                embedding.storage.isStorage = true;
                embedding.storage.clsid = clsidOf(*documentClass);
                embedding.storage.addStream(kCompObj, compObjStream(*documentClass));
                embedding.storage.addStream(kOle, oleStream());
                embedding.storage.addStream(kObjInfo, objInfoStream());
                return embedding;
            }
        } catch (const AutomationError&) {
            // Not a sound compound file: carried as the file it is.
        }
    }
    if (fileBytes.size() > kMaxPackagedFileSize) tooLarge();
    embedding.oleClass = &kPackageClass;
    embedding.storage.isStorage = true;
    embedding.storage.clsid = clsidOf(kPackageClass);
    embedding.storage.addStream(kCompObj, compObjStream(kPackageClass));
    std::vector<std::uint8_t> native = packageStream(fileName, sourcePath, fileBytes);
    fileBytes = {};  // the package holds them now; keep one copy only
    embedding.storage.addStream(kNative, std::move(native));
    return embedding;
}

std::string storageName(std::uint32_t id) {
    char name[12];
    std::snprintf(name, sizeof name, "MBD%08X", id);
    return name;
}

std::optional<std::uint32_t> storageIdOf(std::string_view name) {
    if (name.size() != 11 || name.substr(0, 3) != "MBD") return std::nullopt;
    std::uint32_t id = 0;
    for (char c : name.substr(3)) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else return std::nullopt;
        id = id * 16 + static_cast<std::uint32_t>(digit);
    }
    return id;
}

const OleClass* classOfStorage(const cfb::Node& storage) {
    for (const OleClass* known : {&kWordDocumentClass, &kPowerPointShowClass, &kPackageClass})
        if (storage.clsid == clsidOf(*known)) return known;
    // Some writers leave the CLSID empty; the contents still tell.
    if (const OleClass* documentClass = documentClassOf(storage)) return documentClass;
    if (storage.child(kNative)) return &kPackageClass;
    return nullptr;
}

std::vector<std::uint8_t> embeddedFile(const cfb::Node& storage) {
    const OleClass* oleClass = classOfStorage(storage);
    if (oleClass == &kPackageClass) {
        const cfb::Node* native = storage.child(kNative);
        if (!native || native->isStorage) throw AutomationError(kError, "The embedded package holds no file.");
        const Package package = readPackageStream(native->data);
        return {package.data.begin(), package.data.end()};
    }
    if (!oleClass) throw AutomationError(kError, "The embedded object is of a kind Tavolex cannot extract.");
    cfb::Node root;
    root.name = "Root Entry";
    root.isStorage = true;
    root.clsid = storage.clsid;
    for (const cfb::Node& child : storage.children)
        if (cfb::compareNames(child.name, kOle) != 0 && cfb::compareNames(child.name, kObjInfo) != 0)
            root.children.push_back(child);
    return cfb::writeCompoundFile(root);
}

std::string embeddedFileName(const cfb::Node& storage) {
    if (classOfStorage(storage) != &kPackageClass) return {};
    const cfb::Node* native = storage.child(kNative);
    if (!native || native->isStorage) return {};
    try {
        return readPackageStream(native->data).fileName();
    } catch (const AutomationError&) {
        return {};
    }
}

}  // namespace office::ole
