#include "office/biff/GlobalsReader.h"

#include <algorithm>

#include "office/biff/BiffRecords.h"
#include "office/biff/BiffStrings.h"
#include "office/biff/FormatRecords.h"
#include "office/biff/PictureStore.h"
#include "office/biff/ByteCursor.h"
#include "office/biff/RecordReader.h"

namespace office::biff {
namespace {

SheetKind kindOf(std::uint8_t dt) {
    switch (dt) {
    case 1: return SheetKind::MacroSheet;
    case 2: return SheetKind::Chart;
    case 6: return SheetKind::VbModule;
    default: return SheetKind::Worksheet;
    }
}

SharedStrings readSharedStrings(const Record& sst, RecordReader& reader, bool streamKept) {
    ContinuedBytes in(sst, reader);
    in.u32();  // total uses
    std::uint32_t unique = in.u32();
    // Each entry takes at least 3 bytes: never trust the count for the reservation.
    const std::size_t expected = std::min<std::size_t>(unique, in.bytesLeft() / 3 + 1);
    if (streamKept) {
        std::vector<ContinuedBytes::Position> starts;
        starts.reserve(expected);
        for (std::uint32_t i = 0; i < unique; ++i) {
            starts.push_back(in.position());
            in.skipString();
        }
        return SharedStrings(std::move(in), std::move(starts));
    }
    std::vector<CellText> texts;
    texts.reserve(expected);
    std::string text;  // one buffer for all entries; each text is then made at its size
    for (std::uint32_t i = 0; i < unique; ++i) {
        text.clear();
        in.readString(text);
        texts.emplace_back(text);
    }
    return SharedStrings(std::move(texts));
}

// Pads what a sparse or damaged file left out, so the model has its minimum
// tables and every index in it points at an existing entry.
void completeTables(WorkbookModel& model) {
    const WorkbookModel defaults = WorkbookModel::withDefaults();
    while (model.fonts.size() < 4) model.fonts.push_back(defaults.fonts[model.fonts.size()]);
    while (model.xfs.size() < 16) model.xfs.push_back(defaults.xfs[model.xfs.size()]);
    for (XfDef& xf : model.xfs) {
        if (xf.font >= model.fonts.size()) xf.font = 0;
        if (xf.parentStyle >= model.xfs.size()) xf.parentStyle = 0;
    }
    if (model.activeSheet >= model.sheets.size()) model.activeSheet = 0;
    if (model.firstVisibleTab >= model.sheets.size()) model.firstVisibleTab = 0;
}

bool isLinkRecord(std::uint16_t id) {
    switch (id) {
    case rec::kSupBook: case rec::kExternName: case rec::kXct: case rec::kCrn: case rec::kExternSheet: case rec::kName:
        return true;
    default:
        return false;
    }
}

}  // namespace

Globals readGlobals(std::span<const std::uint8_t> stream, std::size_t start, bool streamKept) {
    Globals g;
    RecordReader reader(stream, start);
    Record r;
    bool ended = false;
    std::vector<std::uint8_t> drawingGroup;
    std::uint64_t drawingGroupOffset = 0;
    std::uint16_t previous = 0;  // the record a CONTINUE goes on
    while (!ended && reader.next(r)) {
        ByteCursor in(r.body, r.bodyOffset());
        const std::uint16_t id = r.id == rec::kContinue ? previous : r.id;
        if (r.id != rec::kContinue) previous = r.id;
        if (isLinkRecord(id)) {
            g.model.links.push_back({r.id, {r.body.begin(), r.body.end()}});
            continue;
        }
        if (id == rec::kMsoDrawingGroup) {
            if (drawingGroup.empty()) drawingGroupOffset = r.bodyOffset();
            drawingGroup.insert(drawingGroup.end(), r.body.begin(), r.body.end());
            continue;
        }
        if (r.id == rec::kContinue) continue;
        switch (r.id) {
        case rec::kFont:
            g.model.fonts.push_back(readFont(in));
            break;
        case rec::kPalette:
            g.model.palette = readPalette(in);
            break;
        case rec::kStyle:
            g.model.styles.push_back({r.id, {r.body.begin(), r.body.end()}});
            break;
        case rec::kDateMode:
            g.model.dates1904 = in.u16() != 0;
            break;
        case rec::kFormat: {
            std::uint16_t index = in.u16();
            g.model.numberFormats[index] = readUnicodeString(in);
            break;
        }
        case rec::kXf:
            g.model.xfs.push_back(readXf(in));
            break;
        case rec::kBoundSheet: {
            std::uint32_t offset = in.u32();
            std::uint8_t state = in.u8() & 0x03;
            std::uint8_t dt = in.u8();
            SheetModel& sheet = g.model.sheets.emplace_back();
            sheet.name = readShortString(in);
            sheet.kind = kindOf(dt);
            sheet.visibility = state == 0 ? SheetVisibility::Visible
                               : state == 2 ? SheetVisibility::VeryHidden
                                            : SheetVisibility::Hidden;
            g.sheetOffsets.push_back(offset);
            break;
        }
        case rec::kWindow1:
            in.skip(10);
            g.model.activeSheet = in.u16();
            g.model.firstVisibleTab = in.u16();
            break;
        case rec::kProtect:
            g.model.protection.structure = in.u16() != 0;
            break;
        case rec::kWindowProtect:
            g.model.protection.windows = in.u16() != 0;
            break;
        case rec::kPassword:
            g.model.protection.passwordHash = in.u16();
            break;
        case rec::kObProj:
            g.model.hasVbaProject = true;
            break;
        case rec::kCodeName:
            g.model.codeName = readUnicodeString(in);
            break;
        case rec::kSst:
            g.sharedStrings = readSharedStrings(r, reader, streamKept);
            break;
        case rec::kEof:
            ended = true;
            break;
        default:
            break;
        }
    }
    if (!ended) throwDamaged("the workbook globals have no end", reader.position());
    g.model.pictures = readPictureStore(drawingGroup, drawingGroupOffset);
    completeTables(g.model);
    return g;
}

}  // namespace office::biff
