// OLEObjects.Add: a file read once, its storage made, its icon drawn, and
// the object placed on the sheet, in that order, so that a failure on the
// way leaves the workbook as it was.
#include <algorithm>

#include "automation/AutomationError.h"
#include "office/biff/PictureStore.h"
#include "office/engine/EngineOleObject.h"
#include "office/engine/EngineWorkbook.h"
#include "office/engine/EngineWorksheet.h"
#include "office/engine/NeutralIcon.h"
#include "office/engine/SheetGeometry.h"
#include "office/ole/DocumentSource.h"
#include "office/ole/EmbeddedStorage.h"

namespace office::engine {
namespace {

namespace errnum = automation::errnum;

const ole::OpenErrors kEmbedErrors{"Excel", "an embedded object", errnum::kApplicationDefined,
                                   errnum::kApplicationDefined, errnum::kApplicationDefined};

// A workbook file is a compound file of version 3, which stays below 2 GB;
// the cells and pictures beside the objects need some room.
constexpr std::uint64_t kMaxStoredBytes = 0x7E000000;

std::uint64_t storedBytes(const cfb::Node& node) {
    std::uint64_t total = node.data.size();
    for (const cfb::Node& child : node.children) total += storedBytes(child);
    return total;
}

std::uint32_t unusedStorageId(const cfb::Node& root) {
    std::uint32_t id = 1;
    while (root.child(ole::storageName(id))) ++id;
    return id;
}

// The icon's picture: the desktop's icon of the kind by the picture maker,
// a plain document icon in builds without one.
automation::Picture iconOf(ApplicationState& app, const std::string& path, const std::string& label) {
    if (app.pictures) return app.pictures->iconPicture(path, label);
    automation::Picture plain;
    plain.png.assign(kNeutralIconPng.begin(), kNeutralIconPng.end());
    plain.widthPx = kNeutralIconWidth;
    plain.heightPx = kNeutralIconHeight;
    return plain;
}

[[noreturn]] void cannotInsert(const std::string& path, const std::string& why) {
    throw automation::AutomationError(errnum::kApplicationDefined, "Cannot insert object: " + why, path);
}

}  // namespace

std::uint16_t embedFile(EngineWorksheet& worksheet, const std::string& fileName, bool link, bool displayAsIcon,
                        const std::string& iconLabel) {
    SheetModel& sheet = worksheet.sheet();
    checkSheetUnprotected(sheet, true);
    if (link) cannotInsert(fileName, "Tavolex embeds copies of files, not links to them.");
    const std::string path = absolutePath(fileName);
    const std::string name = fileNameOf(path);

    std::vector<std::uint8_t> bytes;
    try {
        bytes = ole::readSourceFile(path, kEmbedErrors);
    } catch (const automation::AutomationError& e) {
        cannotInsert(path, e.description());
    }
    WorkbookModel& model = worksheet.core().model;
    if (bytes.size() + storedBytes(model.rootStorage) > kMaxStoredBytes)
        cannotInsert(path, "the file is too large: with it the workbook would pass 2 GB, the most an Excel "
                           "97-2003 file holds.");
    ole::Embedding embedding;
    try {
        embedding = ole::embeddingOf(std::move(bytes), name, path);
    } catch (const automation::AutomationError& e) {
        cannotInsert(path, e.description());
    }
    const automation::Picture icon = iconOf(*worksheet.core().app, path, iconLabel.empty() ? name : iconLabel);

    // Nothing can fail from here on.
    DrawingObject object;
    object.kind = DrawingKind::OleObject;
    object.oleClass = embedding.oleClass->progId;
    object.oleStorage = unusedStorageId(model.rootStorage);
    // Excel draws the content of an object not shown as an icon; Tavolex
    // has no pictures of contents, so the icon stands in for it too.
    object.oleIcon = displayAsIcon;
    const StoredPicture stored = biff::pngPicture(icon.png);
    auto same = std::find(model.pictures.begin(), model.pictures.end(), stored);
    if (same == model.pictures.end()) same = model.pictures.insert(model.pictures.end(), stored);
    object.picture = static_cast<std::uint32_t>(same - model.pictures.begin() + 1);
    std::uint32_t row = 1, column = 1;
    if (!sheet.window.selections.empty()) {
        row = sheet.window.selections.front().activeRow;
        column = sheet.window.selections.front().activeColumn;
    }
    constexpr double kPointsPerPixel = 0.75;  // at 96 pixels an inch
    object.anchor = anchorAt(sheet, row, column, icon.widthPx * kPointsPerPixel, icon.heightPx * kPointsPerPixel);
    std::uint16_t highest = 0;
    for (const DrawingObject& other : sheet.drawings) highest = std::max(highest, other.objectId);
    object.objectId = static_cast<std::uint16_t>(highest + 1);
    object.name = "Object " + std::to_string(object.objectId);

    cfb::Node& storage = model.rootStorage.addStorage(ole::storageName(object.oleStorage), embedding.storage.clsid);
    storage.children = std::move(embedding.storage.children);
    sheet.drawings.push_back(std::move(object));
    return sheet.drawings.back().objectId;
}

}  // namespace office::engine
