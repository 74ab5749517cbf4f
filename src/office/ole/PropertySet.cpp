#include "office/ole/PropertySet.h"

#include "automation/AutomationError.h"
#include "text/Utf.h"
#include "office/io/LeView.h"

namespace office::ole {

namespace {

constexpr std::uint16_t kByteOrderMark = 0xFFFE;
constexpr std::size_t kHeaderSize = 28;         // byte order .. number of sections
constexpr std::size_t kSectionListEntry = 20;   // format id + offset
constexpr std::uint32_t kMaxSections = 64;      // real streams have one or two
constexpr std::uint32_t kDictionaryId = 0;      // names of user properties, not a value
constexpr std::int64_t kUtf16CodePage = 1200;
constexpr std::int64_t kUtf8CodePage = 65001;
constexpr std::uint32_t kMaxTextBytes = 1 << 20;

enum VarType : std::uint16_t {
    kI2 = 2, kI4 = 3, kBool = 11, kI1 = 16, kUi1 = 17, kUi2 = 18, kUi4 = 19, kI8 = 20, kUi8 = 21,
    kInt = 22, kUint = 23, kLpstr = 30, kLpwstr = 31, kFiletime = 64
};

[[noreturn]] void damaged(const std::string& what, std::uint64_t offset) {
    throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                      "The document properties are damaged: " + what + " (at offset " +
                                          std::to_string(offset) + ").",
                                      {}, static_cast<std::int64_t>(offset));
}

std::string utf16Text(const LeView& view, std::uint64_t at, std::uint64_t units) {
    std::u16string text;
    text.reserve(static_cast<std::size_t>(units));
    for (std::uint64_t k = 0; k < units; ++k) {
        const char16_t unit = view.u16(at + 2 * k);
        if (unit == 0) break;
        text.push_back(unit);
    }
    return ::text::utf16ToUtf8(text);
}

std::string eightBitText(std::span<const std::uint8_t> bytes, std::int64_t codePage) {
    std::size_t length = 0;
    while (length < bytes.size() && bytes[length] != 0) ++length;
    if (codePage == kUtf8CodePage) return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    std::string out;
    ::text::appendLatin1(out, bytes.data(), length);
    return out;
}

// The value at `at` (section-relative offsets already added), or nothing for
// types the program does not read.
std::optional<PropertyValue> readValue(const LeView& view, std::uint64_t at, std::int64_t codePage) {
    const std::uint16_t type = view.u16(at);
    const std::uint64_t value = at + 4;
    switch (type) {
    case kI2: return static_cast<std::int64_t>(static_cast<std::int16_t>(view.u16(value)));
    case kBool: return static_cast<std::int64_t>(view.u16(value) != 0 ? -1 : 0);
    case kI4:
    case kInt: return static_cast<std::int64_t>(static_cast<std::int32_t>(view.u32(value)));
    case kI1: return static_cast<std::int64_t>(static_cast<std::int8_t>(view.u8(value)));
    case kUi1: return static_cast<std::int64_t>(view.u8(value));
    case kUi2: return static_cast<std::int64_t>(view.u16(value));
    case kUi4:
    case kUint: return static_cast<std::int64_t>(view.u32(value));
    case kI8:
    case kUi8:
    case kFiletime: return static_cast<std::int64_t>(view.u64(value));
    case kLpstr: {
        const std::uint32_t size = view.u32(value);
        if (size > kMaxTextBytes) damaged("a text property is too long", value);
        if (codePage == kUtf16CodePage) return utf16Text(view, value + 4, size / 2);
        return eightBitText(view.slice(value + 4, size), codePage);
    }
    case kLpwstr: {
        const std::uint32_t units = view.u32(value);
        if (units > kMaxTextBytes / 2) damaged("a text property is too long", value);
        view.slice(value + 4, 2ull * units);  // all of it must be there
        return utf16Text(view, value + 4, units);
    }
    default: return std::nullopt;
    }
}

PropertySection readSection(const LeView& stream, const cfb::Clsid& fmtid, std::uint32_t offset) {
    if (!stream.has(offset, 8)) damaged("a section starts outside the stream", offset);
    const std::uint32_t size = stream.u32(offset);
    if (size < 8 || !stream.has(offset, size)) damaged("a section is larger than the stream", offset);
    const LeView section(stream.slice(offset, size));
    const std::uint32_t count = section.u32(4);
    if (count > (size - 8) / 8) damaged("a section lists more properties than it holds", offset);

    std::vector<std::pair<std::uint32_t, std::uint32_t>> entries;  // id, offset
    entries.reserve(count);
    std::int64_t codePage = 0;
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint32_t id = section.u32(8 + 8ull * k);
        const std::uint32_t at = section.u32(12 + 8ull * k);
        if (!section.has(at, 4)) damaged("a property lies outside its section", offset + 8 + 8ull * k);
        entries.emplace_back(id, at);
        if (id == pid::kCodePage && section.u16(at) == kI2)
            codePage = static_cast<std::uint16_t>(section.u16(at + 4));  // code pages are unsigned
    }

    PropertySection result;
    result.fmtid = fmtid;
    for (const auto& [id, at] : entries) {
        if (id == kDictionaryId) continue;
        try {
            if (auto value = readValue(section, at, codePage)) result.properties[id] = std::move(*value);
        } catch (const TruncatedData& missing) {
            damaged("a property value runs past its section", offset + missing.offset);
        }
    }
    return result;
}

cfb::Clsid clsidAt(const LeView& view, std::uint64_t at) {
    cfb::Clsid id{};
    const auto bytes = view.slice(at, id.size());
    std::copy(bytes.begin(), bytes.end(), id.begin());
    return id;
}

PropertySetStream readStream(const LeView& stream) {
    if (!stream.has(0, kHeaderSize) || stream.u16(0) != kByteOrderMark) damaged("it is not a property set", 0);
    const std::uint32_t count = stream.u32(24);
    if (count > kMaxSections || !stream.has(kHeaderSize, count * kSectionListEntry))
        damaged("the list of sections does not fit the stream", 24);
    PropertySetStream result;
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint64_t entry = kHeaderSize + k * kSectionListEntry;
        result.sections.push_back(readSection(stream, clsidAt(stream, entry), stream.u32(entry + 16)));
    }
    return result;
}

}  // namespace

std::optional<std::int64_t> PropertySection::integer(std::uint32_t id) const {
    auto found = properties.find(id);
    if (found == properties.end()) return std::nullopt;
    if (const auto* number = std::get_if<std::int64_t>(&found->second)) return *number;
    return std::nullopt;
}

std::optional<std::string> PropertySection::text(std::uint32_t id) const {
    auto found = properties.find(id);
    if (found == properties.end()) return std::nullopt;
    if (const auto* value = std::get_if<std::string>(&found->second)) return *value;
    return std::nullopt;
}

const PropertySection* PropertySetStream::section(const cfb::Clsid& fmtid) const {
    for (const PropertySection& s : sections)
        if (s.fmtid == fmtid) return &s;
    return nullptr;
}

const cfb::Clsid& summaryInformationId() {
    static const cfb::Clsid id = cfb::clsidFromString("{F29F85E0-4FF9-1068-AB91-08002B27B3D9}");
    return id;
}

const cfb::Clsid& documentSummaryInformationId() {
    static const cfb::Clsid id = cfb::clsidFromString("{D5CDD502-2E9C-101B-9397-08002B2CF9AE}");
    return id;
}

PropertySetStream readPropertySetStream(std::span<const std::uint8_t> bytes) {
    try {
        return readStream(LeView(bytes));
    } catch (const TruncatedData& missing) {
        damaged("a property runs past the end of the stream", missing.offset);
    }
}

std::optional<std::int64_t> recordedInteger(const cfb::Node& root, const char* streamName, const cfb::Clsid& fmtid,
                                            std::uint32_t id) {
    const cfb::Node* stream = root.child(streamName);
    if (!stream || stream->isStorage) return std::nullopt;
    try {
        const PropertySetStream properties = readPropertySetStream(stream->data);
        const PropertySection* section = properties.section(fmtid);
        return section ? section->integer(id) : std::nullopt;
    } catch (const automation::AutomationError&) {
        return std::nullopt;
    }
}

}  // namespace office::ole
