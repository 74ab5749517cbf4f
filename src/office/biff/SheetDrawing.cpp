#include "office/biff/SheetDrawing.h"

#include <algorithm>
#include <optional>
#include <string>

#include "office/biff/BiffErrors.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/ChartStreams.h"
#include "office/biff/OfficeArt.h"
#include "office/biff/PictureStore.h"

namespace office::biff {
namespace {

// OBJ sub-records.
constexpr std::uint16_t kFtEnd = 0x00;
constexpr std::uint16_t kFtCf = 0x07;
constexpr std::uint16_t kFtPioGrbit = 0x08;
constexpr std::uint16_t kFtPictFmla = 0x09;
constexpr std::uint16_t kFtCmo = 0x15;
constexpr std::uint16_t kObjectChart = 5;
constexpr std::uint16_t kObjectPicture = 8;
constexpr std::uint16_t kCmoLockedPrintable = 0x6011;  // locked, printed, automatic fill and line
constexpr std::uint16_t kNativePicture = 0xFFFF;       // ftCf: the picture store's own format
constexpr std::uint16_t kAutomaticPicture = 0x0001;    // ftPioGrbit
constexpr std::uint16_t kIconPicture = 0x0008;         // ftPioGrbit: an embedded object shown as an icon
constexpr std::uint8_t kPtgTbl = 0x02;                 // the formula of an embedded object's picture
constexpr std::uint8_t kEmbedInfo = 0x03;              // the class after that formula

constexpr std::uint16_t kMoveWithCells = 2;            // anchor flags of a pasted picture

struct ObjInfo {
    std::uint16_t type = 0;
    std::uint16_t id = 0;
    bool linked = false;  // a picture formula: an OLE object or a linked picture
    std::uint16_t pictureFlags = 0;
    std::optional<std::string> embeddedClass;  // an embedded object's class and storage
    std::uint32_t storage = 0;
};

// ftPictFmla: a formula (PtgTbl for an embedded object), the object's class
// after it, and the storage id after the formula.
void readPictureFormula(std::span<const std::uint8_t> sub, ObjInfo& info) {
    if (sub.size() < 2) return;
    const std::size_t formulaSize = art::readU16(sub, 0);
    if (formulaSize < 11 || 2 + formulaSize + 4 > sub.size()) return;
    const std::span<const std::uint8_t> formula = sub.subspan(2, formulaSize);
    const std::size_t tokens = art::readU16(formula, 0) & 0x7FFF;
    if (tokens != 5 || formula[6] != kPtgTbl) return;
    std::size_t at = 6 + tokens;
    if (at + 4 > formula.size() || formula[at] != kEmbedInfo) return;
    const std::size_t chars = formula[at + 1];
    const bool wide = formula[at + 3] & 0x01;
    at += 4;
    if (at + chars * (wide ? 2 : 1) > formula.size()) return;
    std::string name;
    for (std::size_t i = 0; i < chars; ++i) {
        const std::uint16_t c = wide ? art::readU16(formula, at + 2 * i) : formula[at + i];
        name.push_back(c < 0x80 ? static_cast<char>(c) : '?');  // class names are ASCII
    }
    info.embeddedClass = std::move(name);
    info.storage = art::readU32(sub, 2 + formulaSize);
}

ObjInfo readObj(std::span<const std::uint8_t> body) {
    ObjInfo info;
    std::size_t at = 0;
    while (at + 4 <= body.size()) {
        const std::uint16_t ft = art::readU16(body, at);
        const std::uint16_t size = art::readU16(body, at + 2);
        if (ft == kFtEnd) break;
        if (ft == kFtCmo && size >= 4 && at + 8 <= body.size()) {
            info.type = art::readU16(body, at + 4);
            info.id = art::readU16(body, at + 6);
        }
        if (ft == kFtPioGrbit && size >= 2 && at + 6 <= body.size()) info.pictureFlags = art::readU16(body, at + 4);
        if (ft == kFtPictFmla) {
            info.linked = true;
            readPictureFormula(body.subspan(at + 4, std::min<std::size_t>(size, body.size() - at - 4)), info);
        }
        at += 4 + size;
    }
    return info;
}

DrawingAnchor readAnchor(std::span<const std::uint8_t> data, std::size_t body) {
    DrawingAnchor a;
    a.flags = art::readU16(data, body);
    a.fromColumn = art::readU16(data, body + 2) + 1u;
    a.fromColumnOffset = art::readU16(data, body + 4);
    a.fromRow = art::readU16(data, body + 6) + 1u;
    a.fromRowOffset = art::readU16(data, body + 8);
    a.toColumn = art::readU16(data, body + 10) + 1u;
    a.toColumnOffset = art::readU16(data, body + 12);
    a.toRow = art::readU16(data, body + 14) + 1u;
    a.toRowOffset = art::readU16(data, body + 16);
    return a;
}

std::uint16_t zeroBased(std::uint32_t oneBased, std::uint32_t limit) {
    return static_cast<std::uint16_t>(std::clamp<std::uint32_t>(oneBased, 1, limit) - 1);
}

void putAnchor(std::span<std::uint8_t> data, std::size_t body, const DrawingAnchor& a) {
    art::putU16(data, body, a.flags);
    art::putU16(data, body + 2, zeroBased(a.fromColumn, 256));
    art::putU16(data, body + 4, a.fromColumnOffset);
    art::putU16(data, body + 6, zeroBased(a.fromRow, 65536));
    art::putU16(data, body + 8, a.fromRowOffset);
    art::putU16(data, body + 10, zeroBased(a.toColumn, 256));
    art::putU16(data, body + 12, a.toColumnOffset);
    art::putU16(data, body + 14, zeroBased(a.toRow, 65536));
    art::putU16(data, body + 16, a.toRowOffset);
}

// What a shape container says about itself.
struct ShapeFacts {
    std::uint16_t shapeType = 0;
    std::uint32_t flags = 0;
    std::uint32_t picture = 0;
    bool hidden = false;
    std::optional<std::size_t> anchorBody;  // of its own client anchor
    std::optional<DrawingAnchor> anchor;
};

ShapeFacts factsOf(std::span<const std::uint8_t> data, const art::ArtRecord& shape, std::uint64_t streamOffset) {
    ShapeFacts facts;
    if (shape.type == art::kSpgrContainer) {
        // A group: its anchor is the one of its first member, the group's own record.
        auto members = art::children(data, shape.body(), shape.end(), streamOffset);
        if (!members.empty() && members[0].type == art::kSpContainer) {
            const ShapeFacts group = factsOf(data, members[0], streamOffset);
            facts.anchor = group.anchor;
            facts.hidden = group.hidden;
        }
        return facts;
    }
    if (shape.type != art::kSpContainer) return facts;
    for (const art::ArtRecord& r : art::children(data, shape.body(), shape.end(), streamOffset)) {
        if (r.type == art::kFsp && r.length >= 8) {
            facts.shapeType = r.instance;
            facts.flags = art::readU32(data, r.body() + 4);
        } else if (r.type == art::kOpt) {
            facts.picture = art::propertyValue(data, r, art::kPropertyPib);
            facts.hidden = art::isHidden(art::propertyValue(data, r, art::kPropertyGroupBooleans));
        } else if (r.type == art::kClientAnchor && r.length >= art::kClientAnchorSize) {
            facts.anchorBody = r.body();
            facts.anchor = readAnchor(data, r.body());
        }
    }
    return facts;
}

bool isPatriarch(std::span<const std::uint8_t> data, const art::ArtRecord& shape, std::uint64_t streamOffset) {
    return shape.type == art::kSpContainer && (factsOf(data, shape, streamOffset).flags & art::kShapePatriarch);
}

// Sets the kind of a read object from its shape and its OBJ record.
void classify(DrawingObject& object, const ShapeFacts& facts) {
    auto obj = std::find_if(object.hostRecords.begin(), object.hostRecords.end(),
                            [](const HostRecord& h) { return h.record.id == rec::kObj; });
    if (obj == object.hostRecords.end()) return;
    const ObjInfo info = readObj(obj->record.body);
    object.objectId = info.id;
    if (info.type == kObjectChart && !object.chartStream.empty()) {
        object.kind = DrawingKind::Chart;
    } else if (info.type == kObjectPicture && facts.shapeType == art::kPictureFrame && facts.picture > 0 &&
               !(facts.flags & art::kShapeOle) && !info.linked) {
        object.kind = DrawingKind::Picture;
        object.picture = facts.picture;
    } else if (info.type == kObjectPicture && (facts.flags & art::kShapeOle) && info.embeddedClass) {
        object.kind = DrawingKind::OleObject;
        object.picture = facts.picture;
        object.oleClass = *info.embeddedClass;
        object.oleStorage = info.storage;
        object.oleIcon = info.pictureFlags & kIconPicture;
        object.name = "Object " + std::to_string(info.id);
    }
}

// The number of shapes in a shape container (groups hold several).
std::uint32_t shapesIn(std::span<const std::uint8_t> shape) {
    std::uint32_t count = 0;
    art::walk(shape, 0, shape.size(), 0, [&](const art::ArtRecord& r) {
        if (r.type == art::kFsp && r.length >= 8) ++count;
    });
    return count;
}

std::uint32_t objectShapeCount(const DrawingObject& object) {
    return object.shape.empty() ? 1 : shapesIn(object.shape);
}

std::vector<std::uint8_t> objRecordOf(const DrawingObject& object) {
    std::vector<std::uint8_t> body;
    auto put = [&](std::uint16_t v) {
        body.push_back(static_cast<std::uint8_t>(v));
        body.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put(kFtCmo), put(18), put(kObjectPicture), put(object.objectId), put(kCmoLockedPrintable);
    body.resize(body.size() + 12, 0);
    put(kFtCf), put(2), put(kNativePicture);
    const bool ole = object.kind == DrawingKind::OleObject;
    put(kFtPioGrbit), put(2), put(kAutomaticPicture | (ole && object.oleIcon ? kIconPicture : 0));
    if (ole) {
        // PtgTbl with its 4 unused bytes, then the class as an 8-bit string, padded to even.
        const std::size_t chars = std::min<std::size_t>(object.oleClass.size(), 255);
        const std::size_t formulaSize = (2 + 4 + 5 + 4 + chars + 1) & ~std::size_t{1};
        put(kFtPictFmla), put(static_cast<std::uint16_t>(2 + formulaSize + 4));
        const std::size_t start = body.size();
        put(static_cast<std::uint16_t>(formulaSize)), put(5), put(0), put(0);
        body.push_back(kPtgTbl);
        body.resize(body.size() + 4, 0);
        body.push_back(kEmbedInfo);
        body.push_back(static_cast<std::uint8_t>(chars));
        body.push_back(0), body.push_back(0);
        body.insert(body.end(), object.oleClass.begin(), object.oleClass.begin() + static_cast<std::ptrdiff_t>(chars));
        body.resize(start + 2 + formulaSize, 0);
        put(static_cast<std::uint16_t>(object.oleStorage)), put(static_cast<std::uint16_t>(object.oleStorage >> 16));
    }
    put(kFtEnd), put(0);
    return body;
}

// A shape property as an OPT record holds it.
struct Property {
    std::uint16_t id;
    std::uint32_t value;
};

// A picture frame with its properties, anchored; its OBJ record comes after it.
std::vector<std::uint8_t> newFrameShape(std::uint32_t shapeFlags, const std::vector<Property>& properties,
                                        DrawingAnchor anchor) {
    std::vector<std::uint8_t> shape;
    const std::size_t container = art::appendHeader(shape, 0xF, 0, art::kSpContainer, 0);
    art::appendHeader(shape, 2, art::kPictureFrame, art::kFsp, 8);
    shape.resize(shape.size() + 8);
    art::putU32(shape, shape.size() - 4, shapeFlags);
    const auto optLength = static_cast<std::uint32_t>(6 * properties.size());
    art::appendHeader(shape, 3, static_cast<std::uint16_t>(properties.size()), art::kOpt, optLength);
    for (const Property& p : properties) {
        shape.resize(shape.size() + 6);
        art::putU16(shape, shape.size() - 6, p.id);
        art::putU32(shape, shape.size() - 4, p.value);
    }
    art::appendHeader(shape, 0, 0, art::kClientAnchor, art::kClientAnchorSize);
    shape.resize(shape.size() + art::kClientAnchorSize);
    if (anchor.flags == 0) anchor.flags = kMoveWithCells;
    putAnchor(shape, shape.size() - art::kClientAnchorSize, anchor);
    art::appendHeader(shape, 0, 0, art::kClientData, 0);
    art::patchLength(shape, container);
    return shape;
}

// A picture shape as Excel writes a pasted picture.
std::vector<std::uint8_t> newPictureShape(const DrawingObject& object) {
    return newFrameShape(art::kShapeHasAnchor | art::kShapeHasType,
                         {{art::kPropertyPib | art::kPropertyIsBlip, object.picture}}, object.anchor);
}

// An embedded object's frame with the properties Excel gives it: its
// picture, activation, and fill, line and shadow switched off.
std::vector<std::uint8_t> newOleShape(const DrawingObject& object) {
    std::vector<Property> properties{{0x00BF, 0x00080008}, {art::kPropertyPib | art::kPropertyIsBlip, object.picture},
                                     {0x010B, 1}};
    if (object.oleClass != "Package") properties.push_back({0x013F, 0x00010000});
    properties.insert(properties.end(), {{0x0181, 0x08000041}, {0x0183, 0x08000041}, {0x01BF, 0x00100010},
                                         {0x01C0, 0x08000040}, {0x01FF, 0x00080008}, {0x023F, 0x00020000}});
    return newFrameShape(art::kShapeHasAnchor | art::kShapeHasType | art::kShapeOle, properties, object.anchor);
}

struct PreparedShape {
    std::vector<std::uint8_t> bytes;
    art::Insertion inserted;  // where it grew against the shape the model holds
    // Where a record that followed `offset` bytes of the model's shape goes now.
    std::size_t moved(std::size_t offset) const {
        return offset >= inserted.offset ? offset + inserted.count : offset;
    }
};

// The object's shape ready to write: numbered from `nextShapeId`, with its
// anchor, picture and visibility as the model holds them now.
PreparedShape preparedShape(const DrawingObject& object, std::uint32_t& nextShapeId) {
    PreparedShape prepared;
    prepared.bytes = !object.shape.empty()                    ? object.shape
                     : object.kind == DrawingKind::OleObject ? newOleShape(object)
                                                             : newPictureShape(object);
    prepared.inserted = art::setShapeHidden(prepared.bytes, object.hidden);
    std::vector<std::uint8_t>& shape = prepared.bytes;
    art::walk(shape, 0, shape.size(), 0, [&](const art::ArtRecord& r) {
        if (r.type == art::kFsp && r.length >= 8) art::putU32(shape, r.body(), nextShapeId++);
    });
    const art::ArtRecord top = art::recordAt(shape, 0, shape.size(), 0);
    if (top.type != art::kSpContainer) return prepared;
    for (const art::ArtRecord& r : art::children(shape, top.body(), top.end(), 0)) {
        if (r.type == art::kClientAnchor && r.length >= art::kClientAnchorSize) putAnchor(shape, r.body(), object.anchor);
        if (r.type == art::kOpt && (object.kind == DrawingKind::Picture || object.kind == DrawingKind::OleObject)) {
            const std::size_t count = std::min<std::size_t>(r.instance, r.length / 6);
            for (std::size_t i = 0; i < count; ++i)
                if ((art::readU16(shape, r.body() + i * 6) & art::kPropertyIdMask) == art::kPropertyPib)
                    art::putU32(shape, r.body() + i * 6 + 2, object.picture);
        }
    }
    return prepared;
}

}  // namespace

DrawingRecordKinds::Kind DrawingRecordKinds::next(const Record& record) {
    switch (record.id) {
    case rec::kMsoDrawing:
        after_ = After::Drawing;
        return Kind::Drawing;
    case rec::kObj:
        after_ = After::Object;
        return Kind::Host;
    case rec::kTxo:
        after_ = After::TextBox;
        textLeft_ = record.body.size() >= 14 ? art::readU16(record.body, 10) : 0;
        runsLeft_ = record.body.size() >= 14 ? art::readU16(record.body, 12) : 0;
        return Kind::Host;
    case rec::kContinue:
        if (after_ == After::TextBox && textLeft_ > 0 && !record.body.empty()) {
            const std::size_t width = (record.body[0] & 0x01) ? 2 : 1;  // each piece restates its character width
            textLeft_ -= std::min(textLeft_, (record.body.size() - 1) / width);
            return Kind::Host;
        }
        if (after_ == After::TextBox && runsLeft_ > 0) {
            runsLeft_ -= std::min(runsLeft_, record.body.size());
            return Kind::Host;
        }
        if (after_ == After::Other) return Kind::Other;
        after_ = After::Drawing;
        return Kind::Drawing;
    default:
        after_ = After::Other;
        return Kind::Other;
    }
}

void SheetDrawingReader::addData(const Record& record) {
    if (data_.empty()) firstOffset_ = record.bodyOffset();
    data_.insert(data_.end(), record.body.begin(), record.body.end());
}

void SheetDrawingReader::addHostRecord(const Record& record) {
    hosts_.push_back({data_.size(), {record.id, {record.body.begin(), record.body.end()}}, {}});
}

void SheetDrawingReader::addChart(std::span<const std::uint8_t> substream) {
    // Only a chart's OBJ is followed by a chart; anything else is not kept.
    if (hosts_.empty() || hosts_.back().record.id != rec::kObj || !hosts_.back().chart.empty()) return;
    std::vector<std::uint8_t>& chart = hosts_.back().chart;
    chart.assign(substream.begin(), substream.end());
    chartDrawingShapeCount(substream);  // its own drawing must be sound to be numbered later
    clearChartBof(chart);
}

std::vector<DrawingObject> SheetDrawingReader::finish() {
    std::vector<DrawingObject> objects;
    if (data_.empty()) return objects;
    const art::ArtRecord top = art::recordAt(data_, 0, data_.size(), firstOffset_);
    if (top.type != art::kDgContainer || !top.isContainer())
        throwDamaged("a sheet's drawing does not start with its container", firstOffset_);
    std::optional<art::ArtRecord> group;
    for (const art::ArtRecord& r : art::children(data_, top.body(), top.end(), firstOffset_))
        if (r.type == art::kSpgrContainer && !group) group = r;
    if (!group) return objects;

    struct Placed {
        std::size_t start, end;
        ShapeFacts facts;
    };
    std::vector<Placed> placed;
    for (const art::ArtRecord& shape : art::children(data_, group->body(), group->end(), firstOffset_)) {
        if (isPatriarch(data_, shape, firstOffset_)) continue;
        // A kept shape is walked whole when it is written: damage anywhere in
        // it is the file's, and is reported now rather than at the next save.
        art::walk(data_, shape.offset, shape.end(), firstOffset_, [](const art::ArtRecord&) {});
        DrawingObject& object = objects.emplace_back();
        object.shape.assign(data_.begin() + static_cast<std::ptrdiff_t>(shape.offset),
                            data_.begin() + static_cast<std::ptrdiff_t>(shape.end()));
        ShapeFacts facts = factsOf(data_, shape, firstOffset_);
        if (facts.anchor) object.anchor = *facts.anchor;
        object.hidden = facts.hidden;
        placed.push_back({shape.offset, shape.end(), facts});
    }
    // Each host record belongs to the shape whose data it follows.
    for (Host& host : hosts_) {
        auto owner = std::find_if(placed.begin(), placed.end(),
                                  [&](const Placed& p) { return host.at > p.start && host.at <= p.end; });
        if (owner == placed.end()) continue;  // outside every shape: nothing it could describe
        DrawingObject& object = objects[static_cast<std::size_t>(owner - placed.begin())];
        object.hostRecords.push_back({host.at - owner->start, std::move(host.record)});
        if (!host.chart.empty() && object.chartStream.empty()) object.chartStream = std::move(host.chart);
    }
    for (std::size_t i = 0; i < objects.size(); ++i) classify(objects[i], placed[i].facts);
    return objects;
}

bool writableObject(const DrawingObject& object, std::size_t pictureCount) {
    switch (object.kind) {
    case DrawingKind::Picture: return object.picture >= 1 && object.picture <= pictureCount;
    case DrawingKind::OleObject:
        return !object.shape.empty() || (object.picture >= 1 && object.picture <= pictureCount);
    case DrawingKind::Chart: return !object.shape.empty() && !object.chartStream.empty();
    case DrawingKind::Other: return !object.shape.empty();
    }
    return false;
}

std::uint32_t sheetShapeCount(const std::vector<DrawingObject>& objects, std::size_t pictureCount) {
    std::uint32_t count = 0;
    for (const DrawingObject& object : objects)
        if (writableObject(object, pictureCount)) count += objectShapeCount(object);
    return count == 0 ? 0 : count + 1;
}

void writeSheetDrawing(RecordWriter& out, const std::vector<DrawingObject>& objects, std::size_t pictureCount,
                       const SheetDrawingIds& ids) {
    // The whole drawing data first, then cut into pieces around the host records.
    std::vector<std::uint8_t> data;
    const std::size_t drawingLength = art::appendHeader(data, 0xF, 0, art::kDgContainer, 0);
    art::appendHeader(data, 0, static_cast<std::uint16_t>(ids.sheet.drawingId), art::kFdg, 8);
    data.resize(data.size() + 8);
    art::putU32(data, data.size() - 8, ids.sheet.shapeCount);
    art::putU32(data, data.size() - 4, ids.sheet.lastShapeId());
    const std::size_t groupLength = art::appendHeader(data, 0xF, 0, art::kSpgrContainer, 0);
    const std::size_t patriarchLength = art::appendHeader(data, 0xF, 0, art::kSpContainer, 0);
    art::appendHeader(data, 1, 0, art::kFspgr, 16);
    data.resize(data.size() + 16);
    art::appendHeader(data, 2, 0, art::kFsp, 8);
    data.resize(data.size() + 8);
    art::putU32(data, data.size() - 8, ids.sheet.firstShapeId);
    art::putU32(data, data.size() - 4, art::kShapeGroup | art::kShapePatriarch);
    art::patchLength(data, patriarchLength);

    struct Cut {
        std::size_t at;
        const RawRecord* record;
        std::vector<std::uint8_t> owned;  // records made here
        const DrawingObject* chartOf = nullptr;
        std::size_t chartIndex = 0;
    };
    std::vector<Cut> cuts;
    std::uint32_t nextShapeId = ids.sheet.firstShapeId + 1;
    std::size_t chartIndex = 0;
    for (const DrawingObject& object : objects) {
        if (!writableObject(object, pictureCount)) continue;
        const std::size_t start = data.size();
        const PreparedShape prepared = preparedShape(object, nextShapeId);
        const std::vector<std::uint8_t>& shape = prepared.bytes;
        data.insert(data.end(), shape.begin(), shape.end());
        if (object.shape.empty()) {
            cuts.push_back({data.size(), nullptr, objRecordOf(object)});
            continue;
        }
        bool chartPlaced = false;
        for (const HostRecord& host : object.hostRecords) {
            Cut cut{start + std::min(prepared.moved(host.shapeOffset), shape.size()), &host.record, {}};
            if (object.kind == DrawingKind::Chart && !chartPlaced && host.record.id == rec::kObj) {
                cut.chartOf = &object;
                cut.chartIndex = chartIndex;
                chartPlaced = true;
            }
            cuts.push_back(std::move(cut));
        }
        if (object.kind == DrawingKind::Chart && chartDrawingShapeCount(object.chartStream) > 0) ++chartIndex;
    }
    art::patchLength(data, groupLength);
    art::patchLength(data, drawingLength);

    std::size_t written = 0;
    for (const Cut& cut : cuts) {
        if (cut.at > written) {
            writeContinued(out, rec::kMsoDrawing, std::span(data).subspan(written, cut.at - written));
            written = cut.at;
        }
        if (cut.record) writeContinued(out, cut.record->id, cut.record->body);
        else out.record(rec::kObj, cut.owned);
        if (cut.chartOf) {
            std::vector<std::uint8_t> chart = cut.chartOf->chartStream;
            if (cut.chartIndex < ids.charts.size() && chartDrawingShapeCount(chart) > 0)
                renumberChartDrawing(chart, ids.charts[cut.chartIndex]);
            out.raw(chart.data(), chart.size());
        }
    }
    if (written < data.size()) writeContinued(out, rec::kMsoDrawing, std::span(data).subspan(written));
}

}  // namespace office::biff
