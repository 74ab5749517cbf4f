// writeWorkbookStream: the globals substream, each sheet, then RC4 when asked.
#include <algorithm>
#include <memory>

#include "automation/AutomationError.h"
#include "office/biff/Biff8.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/ChartStreams.h"
#include "office/biff/FormatRecords.h"
#include "office/biff/PictureStore.h"
#include "office/biff/RecordCipher.h"
#include "office/biff/RecordWriter.h"
#include "office/biff/SharedStringsWriter.h"
#include "office/biff/SheetWriter.h"
#include "text/Utf.h"
#include "office/crypto/Crypto.h"
#include "office/io/FreshMemory.h"

namespace office::biff {
namespace {

std::u16string units(std::string_view text) {
    std::u16string out;
    text::utf8ToUtf16(text, out);
    return out;
}

// WINDOW1 must name a visible sheet.
std::uint16_t activeTab(const WorkbookModel& model) {
    auto visible = [&](std::size_t i) { return model.sheets[i].visibility == SheetVisibility::Visible; };
    if (model.activeSheet < model.sheets.size() && visible(model.activeSheet)) return model.activeSheet;
    for (std::size_t i = 0; i < model.sheets.size(); ++i)
        if (visible(i)) return static_cast<std::uint16_t>(i);
    throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                      "A workbook must contain at least one visible sheet.");
}

void writeBof(RecordWriter& out) {
    out.begin(rec::kBof);
    out.u16(rec::kBiff8Version);
    out.u16(rec::kBofGlobals);
    out.u16(rec::kBofBuild);
    out.u16(rec::kBofYear);
    out.u32(0);  // file history
    out.u32(rec::kBofLowestVersion);
    out.end();
}

void writeWriteAccess(RecordWriter& out) {
    out.begin(rec::kWriteAccess);
    out.unicodeString(u"Tavolex");
    out.bytes().insert(out.bytes().end(), 112 - out.bodySize(), ' ');  // padded with spaces to 112 bytes
    out.end();
}

void writeWindow1(RecordWriter& out, const WorkbookModel& model, std::uint16_t active) {
    out.begin(rec::kWindow1);
    out.u16(0x01E0);  // position and size in twips
    out.u16(0x005A);
    out.u16(0x3FCF);
    out.u16(0x2A4E);
    out.u16(0x0038);  // horizontal and vertical scroll bars, sheet tabs
    out.u16(active);
    out.u16(model.firstVisibleTab < model.sheets.size() ? model.firstVisibleTab : 0);
    out.u16(1);    // selected tabs
    out.u16(600);  // tab bar width ratio
    out.end();
}

// The font and XF tables with the entries every file must have.
struct Tables {
    std::vector<FontDef> fonts;
    std::vector<XfDef> xfs;
};

Tables completeTables(const WorkbookModel& model) {
    const WorkbookModel defaults = WorkbookModel::withDefaults();
    Tables t{model.fonts, model.xfs};
    while (t.fonts.size() < 4) t.fonts.push_back(defaults.fonts[t.fonts.size()]);
    while (t.xfs.size() < 16) t.xfs.push_back(defaults.xfs[t.xfs.size()]);
    return t;
}

// Chooses each worksheet's rows to copy as read (`copied`, one per sheet),
// and records the shared-string index of every text cell of the others in
// the order the sheets write them.
std::vector<std::uint32_t> collectStrings(const WorkbookModel& model, std::size_t xfCount, SharedStringsWriter& strings,
                                          std::vector<std::unique_ptr<CopiedCells>>& copied) {
    std::vector<std::uint32_t> indexes;
    for (const SheetModel& sheet : model.sheets) {
        copied.emplace_back();
        if (sheet.kind == SheetKind::Chart) continue;
        const std::uint32_t rowCount = std::min<std::uint32_t>(sheet.rows.count(), kMaxRows);
        if (sheet.rows.hasUndecoded())
            copied.back() = std::make_unique<CopiedCells>(sheet, rowCount, xfCount, strings);
        for (std::uint32_t row = 1; row <= rowCount; ++row) {
            if (copied.back() && copied.back()->copied(row)) continue;
            forEachWrittenCell(sheet, *sheet.rows.row(row), [&](std::size_t, const Cell& cell) {
                // A formula's text result goes in its STRING record instead.
                if (cell.value.isText() && !(cell.formula && formulaWritable(sheet, *cell.formula)))
                    indexes.push_back(strings.add(cell.value.text()));
            });
        }
    }
    return indexes;
}

void writeSheetList(RecordWriter& out, const WorkbookModel& model, std::vector<std::size_t>& offsetFields) {
    for (const SheetModel& sheet : model.sheets) {
        out.begin(rec::kBoundSheet);
        offsetFields.push_back(out.size());
        out.u32(0);  // lbPlyPos, patched once the sheet is written
        out.u8(static_cast<std::uint8_t>(sheet.visibility));
        out.u8(static_cast<std::uint8_t>(sheet.kind == SheetKind::Chart ? 2 : 0));
        out.shortString(clipUnits(units(sheet.name), kMaxSheetNameLength));
        out.end();
    }
}

// Drawing and shape ids for every drawing of the workbook, in writing order:
// each worksheet's drawing and then those inside its charts, a chart sheet's own.
struct DrawingPlan {
    ShapeIdPlan ids;
    std::vector<std::optional<SheetDrawingIds>> sheets;
};

DrawingPlan planDrawings(const WorkbookModel& model) {
    DrawingPlan plan;
    const std::size_t pictures = model.pictures.size();
    for (const SheetModel& sheet : model.sheets) {
        std::optional<SheetDrawingIds>& entry = plan.sheets.emplace_back();
        if (sheet.kind == SheetKind::Chart) {
            if (const std::uint32_t shapes = chartDrawingShapeCount(sheet.chartStream))
                entry.emplace().sheet = plan.ids.add(shapes);
            continue;
        }
        const std::uint32_t shapes = sheetShapeCount(sheet.drawings, pictures);
        if (shapes == 0) continue;
        entry.emplace().sheet = plan.ids.add(shapes);
        for (const DrawingObject& object : sheet.drawings) {
            if (object.kind != DrawingKind::Chart || !writableObject(object, pictures)) continue;
            if (const std::uint32_t inner = chartDrawingShapeCount(object.chartStream))
                entry->charts.push_back(plan.ids.add(inner));
        }
    }
    return plan;
}

// How many pictures on all sheets show each entry of the picture store.
std::vector<std::uint32_t> pictureUses(const WorkbookModel& model) {
    std::vector<std::uint32_t> uses(model.pictures.size(), 0);
    for (const SheetModel& sheet : model.sheets)
        for (const DrawingObject& object : sheet.drawings) {
            const bool showsPicture = object.kind == DrawingKind::Picture || object.kind == DrawingKind::OleObject;
            if (showsPicture && object.picture >= 1 && object.picture <= uses.size()) ++uses[object.picture - 1];
        }
    // Entries that other objects (kept as read) may show stay taken.
    for (std::uint32_t& count : uses) count = std::max<std::uint32_t>(count, 1);
    return uses;
}

// The external references and names as read; the reference to this
// workbook's own sheets counts the sheets the workbook has now.
void writeLinks(RecordWriter& out, const WorkbookModel& model) {
    constexpr std::uint16_t kSelfReference = 0x0401;
    for (const RawRecord& record : model.links) {
        std::vector<std::uint8_t> body = record.body;
        if (record.id == rec::kSupBook && body.size() >= 4 && (body[2] | (body[3] << 8)) == kSelfReference) {
            body[0] = static_cast<std::uint8_t>(model.sheets.size());
            body[1] = static_cast<std::uint8_t>(model.sheets.size() >> 8);
        }
        out.record(record.id, body);
    }
}

}  // namespace

std::vector<std::uint8_t> writeWorkbookStream(const WorkbookModel& model, const std::string& password) {
    ClearWorkbookStream stream = writeClearWorkbookStream(model, password);
    if (stream.cipher) applyRecordCipherInPlace(stream.bytes, 0, *stream.cipher);
    return std::move(stream.bytes);
}

ClearWorkbookStream writeClearWorkbookStream(const WorkbookModel& model, const std::string& password) {
    if (model.sheets.empty())
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "A workbook must contain at least one sheet.");
    const std::uint16_t active = activeTab(model);
    const Tables tables = completeTables(model);
    // Room for the whole stream at once: growing a buffer of megabytes copies
    // it into fresh memory each time; room reserved but never written costs
    // nothing. It is announced with what the rows copied as read take, so that
    // all of it is carved from memory faulted in at once.
    std::size_t expected = 65536, planned = 0;
    for (const SheetModel& sheet : model.sheets) {
        expected += sheet.chartStream.size() + sheet.rows.count() * 24 + CopiedCells::textsFor(sheet) * 32;
        for (std::uint32_t row = 1; row <= sheet.rows.count(); ++row) expected += sheet.rows.width(row) * 20;
        planned += CopiedCells::heapFor(sheet);
    }
    io::expectAllocations(expected + planned);
    SharedStringsWriter strings;
    std::vector<std::unique_ptr<CopiedCells>> copied;
    const std::vector<std::uint32_t> stringIndexes = collectStrings(model, tables.xfs.size(), strings, copied);
    RecordWriter out;
    out.bytes().reserve(expected + strings.size() * 32);
    writeBof(out);
    std::unique_ptr<crypto::BlockCipher> cipher;
    // Like Excel, a workbook protected with a password but without an open
    // password is encrypted with the built-in one, which readers try by themselves.
    const WorkbookProtection& protection = model.protection;
    const bool builtIn = password.empty() && (protection.structure || protection.windows) && protection.passwordHash != 0;
    if (!password.empty() || builtIn) {
        crypto::NewFilePass filePass = crypto::makeRc4FilePass(builtIn ? crypto::kDefaultPassword : password);
        out.record(rec::kFilePass, filePass.body);
        cipher = std::move(filePass.cipher);
    }
    out.recordU16(rec::kInterfaceHdr, 1200);
    out.recordU16(rec::kMms, 0);
    out.empty(rec::kInterfaceEnd);
    writeWriteAccess(out);
    out.recordU16(rec::kCodePage, 1200);
    out.recordU16(rec::kDsf, 0);
    out.begin(rec::kTabId);
    for (std::size_t i = 0; i < model.sheets.size(); ++i) out.u16(static_cast<std::uint16_t>(i + 1));
    out.end();
    if (model.hasVbaProject) out.empty(rec::kObProj);
    if (!model.codeName.empty()) {
        out.begin(rec::kCodeName);
        out.unicodeString(units(model.codeName));
        out.end();
    }
    out.recordU16(rec::kFnGroupCount, 14);
    out.recordU16(rec::kWindowProtect, model.protection.windows ? 1 : 0);
    out.recordU16(rec::kProtect, model.protection.structure ? 1 : 0);
    out.recordU16(rec::kPassword, model.protection.passwordHash);
    out.recordU16(rec::kProt4Rev, 0);
    out.recordU16(rec::kProt4RevPass, 0);
    writeWindow1(out, model, active);
    out.recordU16(rec::kBackup, 0);
    out.recordU16(rec::kHideObj, 0);
    out.recordU16(rec::kDateMode, model.dates1904 ? 1 : 0);
    out.recordU16(rec::kPrecision, 1);
    out.recordU16(rec::kRefreshAll, 0);
    out.recordU16(rec::kBookBool, 0);
    for (const FontDef& font : tables.fonts) writeFont(out, font);
    for (const auto& [index, code] : model.numberFormats) {
        out.begin(rec::kFormat);
        out.u16(index);
        out.unicodeString(units(code));
        out.end();
    }
    for (const XfDef& xf : tables.xfs) writeXf(out, xf, tables.fonts.size(), tables.xfs.size());
    if (model.styles.empty()) {
        out.begin(rec::kStyle);  // the built-in Normal style on XF 0
        out.u16(0x8000);
        out.u8(0);
        out.u8(0xFF);
        out.end();
    }
    for (const RawRecord& style : model.styles) out.record(style.id, style.body);
    if (model.palette != defaultPalette()) writePalette(out, model.palette);
    out.recordU16(rec::kUsesElfs, 0);
    std::vector<std::size_t> offsetFields;
    writeSheetList(out, model, offsetFields);
    out.begin(rec::kCountry);
    out.u16(1);
    out.u16(1);
    out.end();
    writeLinks(out, model);
    const DrawingPlan drawings = planDrawings(model);
    if (!drawings.ids.empty()) writeDrawingGroup(out, drawings.ids, model.pictures, pictureUses(model));
    strings.write(out);
    out.empty(rec::kEof);

    SheetWriteContext context;
    context.xfCount = tables.xfs.size();
    context.pictureCount = model.pictures.size();
    context.stringIndexes = &stringIndexes;
    for (std::size_t i = 0; i < model.sheets.size(); ++i) {
        out.patchU32(offsetFields[i], static_cast<std::uint32_t>(out.size()));
        context.active = i == active;
        context.drawingIds = drawings.sheets[i];
        context.copied = copied[i].get();
        if (model.sheets[i].kind == SheetKind::Chart) writeChartSheet(out, model.sheets[i], context);
        else writeWorksheet(out, model.sheets[i], context);
    }
    return {std::move(out.bytes()), std::move(cipher)};
}

}  // namespace office::biff
