// writeWorkbookStream: the globals substream, each sheet, then RC4 when asked.
#include <algorithm>

#include "automation/AutomationError.h"
#include "office/biff/Biff8.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/RecordCipher.h"
#include "office/biff/RecordWriter.h"
#include "office/biff/SharedStringsWriter.h"
#include "office/biff/SheetWriter.h"
#include "text/Utf.h"
#include "office/crypto/Crypto.h"

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
    out.u16(0x0DBB);
    out.u16(0x07CC);
    out.u32(0);
    out.u32(0x06);
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

void writeFont(RecordWriter& out, const FontDef& font) {
    out.begin(rec::kFont);
    out.u16(font.heightTwips);
    out.u16(static_cast<std::uint16_t>((font.italic ? 0x02 : 0) | (font.strikeout ? 0x08 : 0)));
    out.u16(font.colorIndex);
    out.u16(font.weight);
    out.u16(0);
    out.u8(font.underline);
    out.u8(font.family);
    out.u8(font.charset);
    out.u8(0);
    out.shortString(units(font.name));
    out.end();
}

// Model font i is file font i, except that file index 4 is skipped.
std::uint16_t fileFontIndex(std::uint16_t font, std::size_t fontCount) {
    if (font >= fontCount) return 0;
    return font < 4 ? font : static_cast<std::uint16_t>(font + 1);
}

void writeXf(RecordWriter& out, const XfDef& xf, std::size_t fontCount, std::size_t xfCount) {
    out.begin(rec::kXf);
    out.u16(fileFontIndex(xf.font, fontCount));
    out.u16(xf.format);
    std::uint16_t flags = xf.protection & 0x000B;
    if (xf.isStyle) flags |= 0x0004 | 0xFFF0;
    else flags |= static_cast<std::uint16_t>((xf.parentStyle < xfCount ? xf.parentStyle : 0) << 4);
    out.u16(flags);
    out.raw(xf.rest.data(), xf.rest.size());
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

// Records the shared-string index of every text cell in the order the sheets write them.
std::vector<std::uint32_t> collectStrings(const WorkbookModel& model, SharedStringsWriter& strings) {
    std::vector<std::uint32_t> indexes;
    for (const SheetModel& sheet : model.sheets) {
        if (sheet.kind == SheetKind::Chart) continue;
        const std::size_t rowCount = std::min<std::size_t>(sheet.rows.size(), kMaxRows);
        for (std::size_t r = 0; r < rowCount; ++r)
            forEachWrittenCell(sheet, sheet.rows[r], [&](std::size_t, const Cell& cell) {
                if (cell.value.isText()) indexes.push_back(strings.add(cell.value.text()));
            });
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

}  // namespace

std::vector<std::uint8_t> writeWorkbookStream(const WorkbookModel& model, const std::string& password) {
    if (model.sheets.empty())
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "A workbook must contain at least one sheet.");
    const std::uint16_t active = activeTab(model);
    const Tables tables = completeTables(model);
    SharedStringsWriter strings;
    const std::vector<std::uint32_t> stringIndexes = collectStrings(model, strings);

    RecordWriter out;
    out.bytes().reserve(4096 + stringIndexes.size() * 24);
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
    out.recordU16(rec::kDateMode, 0);
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
    out.begin(rec::kStyle);  // the built-in Normal style on XF 0
    out.u16(0x8000);
    out.u8(0);
    out.u8(0xFF);
    out.end();
    out.recordU16(rec::kUsesElfs, 0);
    std::vector<std::size_t> offsetFields;
    writeSheetList(out, model, offsetFields);
    out.begin(rec::kCountry);
    out.u16(1);
    out.u16(1);
    out.end();
    strings.write(out);
    out.empty(rec::kEof);

    SheetWriteContext context;
    context.xfCount = tables.xfs.size();
    context.stringIndexes = &stringIndexes;
    for (std::size_t i = 0; i < model.sheets.size(); ++i) {
        out.patchU32(offsetFields[i], static_cast<std::uint32_t>(out.size()));
        context.active = i == active;
        if (model.sheets[i].kind == SheetKind::Chart) writeChartSheet(out, model.sheets[i], context);
        else writeWorksheet(out, model.sheets[i], context);
    }
    if (cipher) return applyRecordCipher(out.bytes(), 0, *cipher);
    return std::move(out.bytes());
}

}  // namespace office::biff
