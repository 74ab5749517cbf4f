#pragma once
// The drawing layer of a sheet: pictures, chart objects and other drawn
// objects over the cells, each anchored to cells; and the workbook's picture
// store the pictures point into.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "office/model/CellFormat.h"
#include "office/model/KeptRecords.h"

namespace office {

// Where an object sits: its top-left and bottom-right corners as a cell
// (1-based) plus an offset into that cell, in 1/1024 of the column's width
// and 1/256 of the row's height.
struct DrawingAnchor {
    std::uint16_t flags = 0;  // as the file holds them: 0 moves and sizes with cells, 2 moves only, 3 neither
    std::uint32_t fromColumn = 1, fromRow = 1;
    std::uint16_t fromColumnOffset = 0, fromRowOffset = 0;
    std::uint32_t toColumn = 1, toRow = 1;
    std::uint16_t toColumnOffset = 0, toRowOffset = 0;
    bool operator==(const DrawingAnchor&) const = default;
};

enum class DrawingKind : std::uint8_t { Picture, Chart, OleObject, Other };

struct WorkbookModel;

// A record written between the pieces of a shape's drawing data (OBJ, TXO and
// their CONTINUE records), after `shapeOffset` bytes of the shape.
struct HostRecord {
    std::size_t shapeOffset = 0;
    RawRecord record;
    bool operator==(const HostRecord&) const = default;
};

struct DrawingObject {
    DrawingKind kind = DrawingKind::Other;
    DrawingAnchor anchor;
    std::uint16_t objectId = 0;       // the OBJ record's id, unique on its sheet
    std::uint32_t picture = 0;        // Picture: 1-based position in WorkbookModel::pictures
    std::string name;                 // for objects the engine makes ("Picture 1", "Object 2")
    // OleObject: the class named in its OBJ record ("Word.Document.8",
    // "Package"), the storage "MBD" + 8 hex digits at the root of the file
    // that holds it, and whether it shows as an icon; `picture` is its icon.
    std::string oleClass;
    std::uint32_t oleStorage = 0;
    bool oleIcon = false;
    // Not drawn (the shape's fHidden property): hidden objects stay in the
    // file and come back when shown again.
    bool hidden = false;
    std::vector<std::uint8_t> chartStream;  // Chart: its substream, BOF to EOF, as the file held it
    // A chart copied in from another workbook draws from that workbook as it
    // was (its cells, names and palette), not from the one it now sits in.
    // Never written to a file.
    std::shared_ptr<const WorkbookModel> chartWorkbook;
    // What the file held, written back as it was (both empty for objects the
    // engine made): the OfficeArt shape container and the records around it.
    std::vector<std::uint8_t> shape;
    std::vector<HostRecord> hostRecords;
    bool operator==(const DrawingObject&) const = default;
};

// File kinds of the picture store (the FBSE blip types).
enum class BlipType : std::uint8_t {
    Unknown = 0, Emf = 2, Wmf = 3, Pict = 4, Jpeg = 5, Png = 6, Dib = 7, Tiff = 0x11, CmykJpeg = 0x12
};

// One entry of the workbook's picture store.
struct StoredPicture {
    BlipType type = BlipType::Unknown;
    std::uint8_t macType = 0;  // the kind a Macintosh reader uses
    std::array<std::uint8_t, 16> uid{};
    std::vector<std::uint8_t> blip;  // the OfficeArt BLIP record, header included; empty when the file held none
    std::vector<std::uint8_t> name;  // the entry's name bytes, rarely present
    // The image file of a bitmap entry (PNG, JPEG, DIB, TIFF); empty otherwise.
    std::span<const std::uint8_t> imageBytes() const;
    bool operator==(const StoredPicture&) const = default;
};

}  // namespace office
