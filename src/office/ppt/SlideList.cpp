#include "office/ppt/SlideList.h"

#include <new>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include "automation/AutomationError.h"
#include "office/io/LeView.h"
#include "office/ole/DocumentSource.h"
#include "office/ole/PropertySet.h"

namespace office::ppt {

namespace {

using ole::kPowerPointErrors;

// Record types.
constexpr std::uint16_t kDocumentContainer = 0x03E8;
constexpr std::uint16_t kSlideContainer = 0x03EE;
constexpr std::uint16_t kSlidePersistAtom = 0x03F3;
constexpr std::uint16_t kSlideListWithText = 0x0FF0;
constexpr std::uint16_t kUserEditAtom = 0x0FF5;
constexpr std::uint16_t kCurrentUserAtom = 0x0FF6;
constexpr std::uint16_t kPersistDirectoryAtom = 0x1772;
constexpr std::uint16_t kSlidesInstance = 0;  // the slide list of slides (1 masters, 2 notes)

constexpr std::size_t kHeaderSize = 8;
constexpr std::uint32_t kPlainToken = 0xE391C05F;
constexpr std::uint32_t kEncryptedToken = 0xF3D1C4DF;
constexpr std::uint16_t kDocFileVersion = 0x03F4;
constexpr std::uint8_t kMajorVersion = 3;
constexpr std::uint32_t kEditWithEncryption = 0x20;  // UserEditAtom length with encryptSessionPersistIdRef

struct RecordHeader {
    std::uint16_t instance;
    std::uint16_t type;
    std::uint32_t length;
};

RecordHeader headerAt(const LeView& stream, std::uint64_t at) {
    const std::uint16_t versionAndInstance = stream.u16(at);
    return {static_cast<std::uint16_t>(versionAndInstance >> 4), stream.u16(at + 2), stream.u32(at + 4)};
}

[[noreturn]] void damaged(const std::string& what) {
    ole::throwCannotOpen(kPowerPointErrors, "it is damaged (" + what + ")");
}

struct CurrentUser {
    std::uint32_t offsetToCurrentEdit;
};

CurrentUser readCurrentUser(const cfb::Node& root) {
    const cfb::Node* node = root.child("Current User");
    if (!node || node->isStorage) damaged("the stream Current User is missing");
    const LeView stream(node->data);
    if (headerAt(stream, 0).type != kCurrentUserAtom) damaged("Current User holds no current-user record");
    const std::uint32_t token = stream.u32(12);
    if (token == kEncryptedToken) ole::throwNeedsPassword(kPowerPointErrors);
    if (token != kPlainToken) damaged("Current User has an unknown header token");
    if (stream.u16(22) != kDocFileVersion || stream.u8(24) != kMajorVersion)
        ole::throwCannotOpen(kPowerPointErrors, "it was saved by PowerPoint 95 or older");
    return {stream.u32(16)};
}

// Persist id -> stream offset, the newest edit's entries winning, and the
// persist id of the document container.
struct PersistDirectory {
    std::unordered_map<std::uint32_t, std::uint32_t> offsets;
    std::uint32_t documentId = 0;
    // The directories of all edits lie side by side in the stream, so
    // together they are never longer than it: more means they overlap, and
    // reading them over and over would take a damaged file forever.
    std::uint64_t bytesLeft = 0;
};

void addDirectoryEntries(const LeView& stream, std::uint32_t at, PersistDirectory& directory) {
    const RecordHeader header = headerAt(stream, at);
    if (header.type != kPersistDirectoryAtom) damaged("an edit points at no persist directory");
    const LeView entries(stream.slice(at + kHeaderSize, header.length));
    if (entries.size() > directory.bytesLeft) damaged("the persist directories overlap");
    directory.bytesLeft -= entries.size();
    std::uint64_t pos = 0;
    while (pos < entries.size()) {
        const std::uint32_t word = entries.u32(pos);
        const std::uint32_t firstId = word & 0xFFFFF;
        const std::uint32_t count = word >> 20;
        pos += 4;
        for (std::uint32_t k = 0; k < count; ++k, pos += 4)
            directory.offsets.try_emplace(firstId + k, entries.u32(pos));  // older edits do not override
    }
}

PersistDirectory readPersistDirectory(const LeView& stream, std::uint32_t currentEdit) {
    PersistDirectory directory;
    directory.bytesLeft = stream.size();
    std::set<std::uint32_t> seen;
    bool newest = true;
    for (std::uint32_t at = currentEdit;;) {
        if (!seen.insert(at).second) damaged("the chain of edits loops");
        const RecordHeader header = headerAt(stream, at);
        if (header.type != kUserEditAtom) damaged("Current User points at no edit");
        if (newest) {
            if (header.length >= kEditWithEncryption && stream.u32(at + kHeaderSize + 0x1C) != 0)
                ole::throwNeedsPassword(kPowerPointErrors);
            directory.documentId = stream.u32(at + kHeaderSize + 0x10);
            newest = false;
        }
        addDirectoryEntries(stream, stream.u32(at + kHeaderSize + 0x0C), directory);
        const std::uint32_t previous = stream.u32(at + kHeaderSize + 0x08);
        if (previous == 0) break;
        at = previous;
    }
    return directory;
}

// Counts the slide persist atoms of the slides' list; each must lead to a
// slide record.
long countSlides(const LeView& stream, const PersistDirectory& directory) {
    const auto documentAt = directory.offsets.find(directory.documentId);
    if (documentAt == directory.offsets.end()) damaged("the persist directory does not hold the document");
    const RecordHeader document = headerAt(stream, documentAt->second);
    if (document.type != kDocumentContainer) damaged("the document record is missing");
    const LeView children(stream.slice(documentAt->second + kHeaderSize, document.length));

    long slides = 0;
    for (std::uint64_t at = 0; at + kHeaderSize <= children.size();) {
        const RecordHeader child = headerAt(children, at);
        const LeView body(children.slice(at + kHeaderSize, child.length));
        at += kHeaderSize + child.length;
        if (child.type != kSlideListWithText || child.instance != kSlidesInstance) continue;
        for (std::uint64_t pos = 0; pos + kHeaderSize <= body.size();) {
            const RecordHeader item = headerAt(body, pos);
            if (item.type == kSlidePersistAtom) {
                const std::uint32_t persistId = body.u32(pos + kHeaderSize);
                const auto slideAt = directory.offsets.find(persistId);
                if (slideAt == directory.offsets.end() || headerAt(stream, slideAt->second).type != kSlideContainer)
                    damaged("slide " + std::to_string(slides + 1) + " of the slide list has no slide record");
                ++slides;
            }
            pos += kHeaderSize + body.slice(pos + kHeaderSize, item.length).size();
        }
    }
    return slides;
}

PresentationSlides readSlides(std::span<const std::uint8_t> fileBytes) {
    const cfb::Node root = ole::readDocumentCompound(fileBytes, kPowerPointErrors);
    const cfb::Node* document = root.child("PowerPoint Document");
    if (!document || document->isStorage)
        ole::throwCannotOpen(kPowerPointErrors, "it is not a PowerPoint 97-2003 presentation");
    PresentationSlides result;
    try {
        const CurrentUser user = readCurrentUser(root);
        const LeView stream(document->data);
        result.slides = countSlides(stream, readPersistDirectory(stream, user.offsetToCurrentEdit));
    } catch (const TruncatedData& missing) {
        damaged("a record runs past the end of its stream at offset " + std::to_string(missing.offset));
    }
    auto recorded = ole::recordedInteger(root, ole::kDocumentSummaryStream, ole::documentSummaryInformationId(),
                                         ole::pid::kSlideCount);
    if (recorded && *recorded >= 0 && *recorded <= INT32_MAX) result.recordedSlides = static_cast<long>(*recorded);
    return result;
}

}  // namespace

PresentationSlides readPresentationSlides(std::span<const std::uint8_t> fileBytes) {
    try {
        return readSlides(fileBytes);
    } catch (const std::bad_alloc&) {
        damaged("it is too large");
    } catch (const std::length_error&) {
        damaged("it is too large");
    }
}

PresentationSlides readPresentationSlidesFile(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ole::readSourceFile(path, kPowerPointErrors);
    try {
        return readPresentationSlides(bytes);
    } catch (const automation::AutomationError& error) {
        throw automation::AutomationError(error.number(), error.description(), path, error.offset());
    }
}

}  // namespace office::ppt
