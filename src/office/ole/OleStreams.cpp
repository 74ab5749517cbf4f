#include "office/ole/OleStreams.h"

#include <limits>

#include "automation/AutomationError.h"
#include "office/io/LeView.h"
#include "text/Utf.h"
#include "text/Windows1252.h"

namespace office::ole {

const OleClass kWordDocumentClass{"Word.Document.8", "{00020906-0000-0000-C000-000000000046}",
                                  "Microsoft Office Word 97-2003 Document", "MSWordDoc"};
const OleClass kPowerPointShowClass{"PowerPoint.Show.8", "{64818D10-4F9B-11CF-86EA-00AA00B929E8}",
                                    "Microsoft Office PowerPoint 97-2003 Presentation", "PowerPoint 8"};
const OleClass kPackageClass{"Package", "{0003000C-0000-0000-C000-000000000046}", "OLE Package", ""};

namespace {

using automation::AutomationError;
constexpr long kError = automation::errnum::kApplicationDefined;

constexpr std::uint32_t kCompObjVersion = 0xFFFE0001;  // reserved1 as Office writes it
constexpr std::uint32_t kCompObjMarker = 0x00000A03;
constexpr std::uint32_t kUnicodeMarker = 0x71B239F4;
constexpr std::uint32_t kOleVersion = 0x02000001;
constexpr std::uint16_t kPackageKind = 2;               // an embedded file
constexpr std::uint16_t kPackageEmbedded = 3;

void putU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}
// A length-prefixed, zero-terminated ANSI string; an empty one is length 0.
void putLengthPrefixed(std::vector<std::uint8_t>& out, const std::string& text) {
    if (text.empty()) return putU32(out, 0);
    putU32(out, static_cast<std::uint32_t>(text.size() + 1));
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}
void putZeroTerminated(std::vector<std::uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}
void putUnicode(std::vector<std::uint8_t>& out, const std::string& utf8) {
    const std::u16string units = text::utf8ToUtf16(utf8);
    putU32(out, static_cast<std::uint32_t>(units.size()));
    for (char16_t unit : units) putU16(out, static_cast<std::uint16_t>(unit));
}

// The ANSI fields hold the names in the Western code page.
std::string ansi(const std::string& utf8) { return text::utf8ToWindows1252(utf8); }

[[noreturn]] void damaged(const std::string& what, std::uint64_t offset) {
    throw AutomationError(kError, "The embedded package is damaged: " + what + ".", {}, static_cast<std::int64_t>(offset));
}

// A zero-terminated ANSI string at `at` inside [.., end); moves `at` past it.
std::string readZeroTerminated(const LeView& view, std::uint64_t& at, std::uint64_t end, const char* what) {
    std::string out;
    while (true) {
        if (at >= end) damaged(std::string(what) + " has no end", at);
        const std::uint8_t c = view.u8(at++);
        if (c == 0) break;
        out.push_back(static_cast<char>(c));
    }
    return text::windows1252ToUtf8(out);
}

std::string readUnicode(const LeView& view, std::uint64_t& at, std::uint64_t end) {
    const std::uint32_t units = view.u32(at);
    at += 4;
    if (std::uint64_t{units} * 2 > end - at) damaged("a Unicode name runs past the stream", at);
    std::u16string text;
    for (std::uint32_t i = 0; i < units; ++i, at += 2) text.push_back(static_cast<char16_t>(view.u16(at)));
    return text::utf16ToUtf8(text);
}

}  // namespace

cfb::Clsid clsidOf(const OleClass& oleClass) { return cfb::clsidFromString(oleClass.clsid); }

std::vector<std::uint8_t> compObjStream(const OleClass& oleClass) {
    std::vector<std::uint8_t> out;
    putU32(out, kCompObjVersion);
    putU32(out, kCompObjMarker);
    putU32(out, 0xFFFFFFFF);
    const cfb::Clsid clsid = clsidOf(oleClass);
    out.insert(out.end(), clsid.begin(), clsid.end());
    putLengthPrefixed(out, oleClass.userType);
    putLengthPrefixed(out, oleClass.clipboardFormat);
    putLengthPrefixed(out, oleClass.progId);
    putU32(out, kUnicodeMarker);
    out.resize(out.size() + 12, 0);  // no Unicode user type, clipboard format or ProgID
    return out;
}

std::vector<std::uint8_t> oleStream() {
    std::vector<std::uint8_t> out;
    putU32(out, kOleVersion);
    out.resize(20, 0);
    return out;
}

std::vector<std::uint8_t> objInfoStream() {
    // Shown as an icon, recomposed on resize; its picture a metafile, as Word writes it.
    return {0x40, 0x02, 0x03, 0x00, 0x01, 0x00};
}

std::vector<std::uint8_t> packageStream(const std::string& fileName, const std::string& sourcePath,
                                        std::span<const std::uint8_t> data) {
    if (data.size() > kMaxPackagedFileSize)
        throw AutomationError(kError, "The file is too large to embed: an embedded file holds at most " +
                                          std::to_string(kMaxPackagedFileSize / (1024 * 1024)) + " MB.");
    const std::string tempPath = "C:\\Temp\\" + fileName;
    std::vector<std::uint8_t> head;
    putU16(head, kPackageKind);
    putZeroTerminated(head, ansi(fileName));
    putZeroTerminated(head, ansi(sourcePath));
    putU16(head, 0);
    putU16(head, kPackageEmbedded);
    putU32(head, static_cast<std::uint32_t>(ansi(tempPath).size() + 1));
    putZeroTerminated(head, ansi(tempPath));
    putU32(head, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> tail;
    putUnicode(tail, tempPath);
    putUnicode(tail, fileName);
    putUnicode(tail, sourcePath);

    std::vector<std::uint8_t> out;
    out.reserve(4 + head.size() + data.size() + tail.size());
    putU32(out, static_cast<std::uint32_t>(head.size() + data.size() + tail.size()));
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), data.begin(), data.end());
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

Package readPackageStream(std::span<const std::uint8_t> stream) {
    const LeView view(stream);
    Package package;
    try {
        const std::uint64_t size = view.u32(0);
        // Writers disagree on whether the size counts the Unicode tail; the
        // stream's own end is the limit either way.
        const std::uint64_t end = std::min<std::uint64_t>(stream.size(), 4 + size);
        std::uint64_t at = 4;
        if (view.u16(at) != kPackageKind) damaged("it is not an embedded file", at);
        at += 2;
        package.label = readZeroTerminated(view, at, end, "the label");
        package.sourcePath = readZeroTerminated(view, at, end, "the source path");
        at += 2;  // unused
        if (view.u16(at) != kPackageEmbedded) damaged("it holds a link, not a file", at);
        at += 2;
        const std::uint32_t tempLength = view.u32(at);
        at += 4;
        if (tempLength > end - std::min(end, at)) damaged("the temporary path runs past the stream", at);
        const std::uint64_t tempEnd = at + tempLength;
        package.tempPath = readZeroTerminated(view, at, tempEnd, "the temporary path");
        at = tempEnd;
        const std::uint32_t dataSize = view.u32(at);
        at += 4;
        if (dataSize > stream.size() - std::min<std::uint64_t>(stream.size(), at))
            damaged("the file runs past the stream", at);
        package.data = view.slice(at, dataSize);
        at += dataSize;
        // The Unicode tail is optional; a cut or damaged one leaves the ANSI names.
        try {
            std::uint64_t tail = at;
            const std::uint64_t limit = stream.size();
            if (view.has(tail, 4)) package.unicodeTempPath = readUnicode(view, tail, limit);
            if (view.has(tail, 4)) package.unicodeLabel = readUnicode(view, tail, limit);
            if (view.has(tail, 4)) package.unicodeSourcePath = readUnicode(view, tail, limit);
        } catch (const AutomationError&) {
            package.unicodeTempPath.clear();
            package.unicodeLabel.clear();
            package.unicodeSourcePath.clear();
        }
    } catch (const TruncatedData& e) {
        damaged("it is shorter than its fields say", e.offset);
    }
    return package;
}

}  // namespace office::ole
