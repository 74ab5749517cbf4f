#pragma once
// OLE property sets ([MS-OLEPS]): the "\005SummaryInformation" and
// "\005DocumentSummaryInformation" streams in which Word, PowerPoint and
// Excel record a document's title, author, application and the counts of its
// pages, words and slides as they were when the file was saved.
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "office/cfb/CompoundFile.h"

namespace office::ole {

// Integers of every width (booleans and times included) or text.
using PropertyValue = std::variant<std::int64_t, std::string>;

struct PropertySection {
    cfb::Clsid fmtid{};
    std::map<std::uint32_t, PropertyValue> properties;  // by property id

    // The property as a number, nothing when absent or text.
    std::optional<std::int64_t> integer(std::uint32_t id) const;
    // The property as text (UTF-8), nothing when absent or a number.
    std::optional<std::string> text(std::uint32_t id) const;
};

struct PropertySetStream {
    std::vector<PropertySection> sections;
    // The section with that format id, nullptr when there is none.
    const PropertySection* section(const cfb::Clsid& fmtid) const;
};

// Format ids of the two standard streams' first sections.
const cfb::Clsid& summaryInformationId();
const cfb::Clsid& documentSummaryInformationId();

// Property ids the program reads.
namespace pid {
constexpr std::uint32_t kCodePage = 1;
constexpr std::uint32_t kTitle = 2;         // summary information
constexpr std::uint32_t kPageCount = 14;    // summary information
constexpr std::uint32_t kWordCount = 15;    // summary information
constexpr std::uint32_t kAppName = 18;      // summary information
constexpr std::uint32_t kSlideCount = 7;    // document summary information
}  // namespace pid

// Reads a whole property-set stream. Properties of types the program has no
// use for (vectors, blobs, pictures) are skipped; text in an 8-bit code page
// other than UTF-8 is read as Latin-1. A stream that is not a property set,
// or whose sections or properties lie outside it, raises AutomationError 1004
// describing the damage.
PropertySetStream readPropertySetStream(std::span<const std::uint8_t> bytes);

// The first-section property `id` of the stream `streamName` directly under
// `root` as a number; nothing when the stream, the section or the property
// is missing, is not a number, or the stream is damaged (these counts are a
// convenience a writer may leave out, never a reason to refuse a file).
std::optional<std::int64_t> recordedInteger(const cfb::Node& root, const char* streamName,
                                            const cfb::Clsid& fmtid, std::uint32_t id);

inline constexpr const char* kSummaryStream = "\005SummaryInformation";
inline constexpr const char* kDocumentSummaryStream = "\005DocumentSummaryInformation";

}  // namespace office::ole
