// The embedded-object readers on any bytes: the OLE1 package stream, the
// storages of a compound file taken as embedded objects (class, file
// name, extraction), and a workbook's objects with their storages. Each
// either answers or raises AutomationError; nothing else may happen.
// Seeded with packages and workbooks holding objects.
#include <cstddef>
#include <cstdint>
#include <span>

#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "office/cfb/CompoundFile.h"
#include "office/ole/EmbeddedStorage.h"

namespace {

void readStorage(const office::cfb::Node& storage) {
    office::ole::classOfStorage(storage);
    office::ole::embeddedFileName(storage);
    try {
        office::ole::embeddedFile(storage);
    } catch (const automation::AutomationError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const office::ole::Package package = office::ole::readPackageStream(bytes);
        if (package.data.size() > bytes.size()) __builtin_trap();
    } catch (const automation::AutomationError&) {
    }
    if (!office::cfb::hasCompoundSignature(bytes)) return 0;
    try {
        const office::cfb::Node root = office::cfb::readCompoundFile(bytes);
        for (const office::cfb::Node& child : root.children)
            if (child.isStorage) readStorage(child);
    } catch (const automation::AutomationError&) {
    }
    try {
        const office::WorkbookModel model = office::readXls(bytes, "");
        for (const office::SheetModel& sheet : model.sheets)
            for (const office::DrawingObject& object : sheet.drawings)
                if (object.kind == office::DrawingKind::OleObject)
                    if (const auto* storage = model.rootStorage.child(office::ole::storageName(object.oleStorage)))
                        readStorage(*storage);
    } catch (const automation::AutomationError&) {
    }
    return 0;
}
