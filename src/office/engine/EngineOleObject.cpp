#include "office/engine/EngineOleObject.h"

#include <algorithm>

#include "automation/AutomationError.h"
#include "office/engine/DocumentEngines.h"
#include "office/engine/EngineWorksheet.h"
#include "office/engine/SheetGeometry.h"
#include "office/ole/EmbeddedStorage.h"

namespace office::engine {

namespace word = automation::word;

DrawingObject& EngineOleObject::object() const {
    SheetModel& sheet = sheet_->sheet();
    auto it = std::find_if(sheet.drawings.begin(), sheet.drawings.end(), [&](const DrawingObject& o) {
        return o.kind == DrawingKind::OleObject && o.objectId == objectId_;
    });
    if (it == sheet.drawings.end()) raise("This object has been deleted; it can no longer be used.");
    return *it;
}

const cfb::Node& EngineOleObject::storage() const {
    const DrawingObject& embedded = object();
    const cfb::Node* node = sheet_->core().model.rootStorage.child(ole::storageName(embedded.oleStorage));
    if (!node || !node->isStorage)
        raise("The data of " + embedded.name + " is missing from the workbook; it cannot be opened.");
    return *node;
}

std::string EngineOleObject::Name() const { return object().name; }
std::string EngineOleObject::progID() const { return object().oleClass; }

void EngineOleObject::Activate() {
    const DrawingObject& embedded = object();
    if (ole::classOfStorage(storage()) != &ole::kWordDocumentClass)
        raise("Tavolex opens embedded Word documents only; " + embedded.name + " is a " + embedded.oleClass + ".");
    const std::vector<std::uint8_t> bytes = ole::embeddedFile(storage());
    document_ = openEmbeddedWordDocument(bytes, "Document in " + sheet_->core().name);
}

std::shared_ptr<word::Document> EngineOleObject::Object() {
    if (document_) {
        try {
            document_->Name();  // still open?
            return document_;
        } catch (const automation::AutomationError&) {
            document_.reset();
        }
    }
    Activate();
    return document_;
}

void EngineOleObject::Delete() {
    SheetModel& sheet = sheet_->sheet();
    checkSheetUnprotected(sheet, true);
    const DrawingObject* target = &object();
    const std::uint32_t storageId = target->oleStorage;
    std::erase_if(sheet.drawings, [&](const DrawingObject& o) { return &o == target; });
    dropUnusedStorages(sheet_->core().model, {storageId});
}

void dropUnusedStorages(WorkbookModel& model, const std::vector<std::uint32_t>& storages) {
    for (const std::uint32_t storageId : storages) {
        bool used = false;
        for (const SheetModel& sheet : model.sheets)
            for (const DrawingObject& o : sheet.drawings)
                used = used || (o.kind == DrawingKind::OleObject && o.oleStorage == storageId);
        if (used) continue;
        const std::string name = ole::storageName(storageId);
        std::erase_if(model.rootStorage.children,
                      [&](const cfb::Node& n) { return cfb::compareNames(n.name, name) == 0; });
    }
}

std::vector<std::uint8_t> EngineOleObject::FileBytes() const { return ole::embeddedFile(storage()); }
std::string EngineOleObject::FileName() const { return ole::embeddedFileName(storage()); }

double EngineOleObject::Left() const { return anchorRect(sheet_->sheet(), object().anchor).left; }
double EngineOleObject::Top() const { return anchorRect(sheet_->sheet(), object().anchor).top; }
double EngineOleObject::Width() const { return anchorRect(sheet_->sheet(), object().anchor).width; }
double EngineOleObject::Height() const { return anchorRect(sheet_->sheet(), object().anchor).height; }

bool EngineOleObject::Visible() const { return !object().hidden; }

void EngineOleObject::SetVisible(bool visible) {
    DrawingObject& embedded = object();
    checkSheetUnprotected(sheet_->sheet(), true);
    embedded.hidden = !visible;
}

}  // namespace office::engine
