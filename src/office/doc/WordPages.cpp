#include "office/doc/WordPages.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "automation/AutomationError.h"
#include "office/doc/Fib.h"
#include "office/doc/MainText.h"
#include "office/doc/ParagraphBreaks.h"
#include "office/ole/DocumentSource.h"
#include "office/ole/PropertySet.h"

namespace office::doc {

namespace {

using ole::kWordErrors;

constexpr std::size_t kDopCpgOffset = 46;  // cPg in the DOP's base part
constexpr long kCharsPerLine = 90;
constexpr long kLinesPerPage = 46;

[[noreturn]] void damaged(const std::string& what) { ole::throwCannotOpen(kWordErrors, "it is damaged (" + what + ")"); }

long ceilDiv(long a, long b) { return (a + b - 1) / b; }

std::optional<long> summaryPageCount(const cfb::Node& root) {
    auto count = ole::recordedInteger(root, ole::kSummaryStream, ole::summaryInformationId(), ole::pid::kPageCount);
    if (count && *count >= 1 && *count <= INT32_MAX) return static_cast<long>(*count);
    return std::nullopt;
}

std::optional<long> dopPageCount(const LeView& table, const Fib& fib) {
    if (fib.lcbDop < kDopCpgOffset + 2 || !table.has(fib.fcDop, fib.lcbDop)) return std::nullopt;
    const auto cPg = static_cast<std::int16_t>(table.u16(fib.fcDop + kDopCpgOffset));
    if (cPg >= 1) return cPg;
    return std::nullopt;
}

WordPages readWord97(const cfb::Node& root, const LeView& wordDocument) {
    const Fib fib = readFib(wordDocument);
    if (fib.encrypted) ole::throwNeedsPassword(kWordErrors);
    const char* tableName = fib.tableStream1 ? "1Table" : "0Table";
    const cfb::Node* tableNode = root.child(tableName);
    if (!tableNode || tableNode->isStorage) damaged(std::string("the stream ") + tableName + " is missing");
    const LeView table(tableNode->data);

    MainText main;
    try {
        main = readMainText(wordDocument, table, fib);
    } catch (const MalformedText& malformed) {
        damaged(malformed.what);
    } catch (const TruncatedData&) {
        damaged("the text lies outside its stream");
    }
    const std::u16string& text = main.text;
    const std::vector<std::uint32_t> breakBefore = breakBeforeParagraphs(wordDocument, table, fib, main);

    WordPages pages;
    if (auto recorded = summaryPageCount(root)) {
        pages.count = *recorded;
        pages.source = PageCountSource::SummaryInformation;
    } else if (auto kept = dopPageCount(table, fib)) {
        pages.count = *kept;
        pages.source = PageCountSource::DocumentProperties;
    } else {
        pages.count = estimatePages(text, breakBefore);
        pages.source = PageCountSource::Estimate;
    }
    setPageBreaks(pages, text, breakBefore);
    return pages;
}

// Word 6 and 95 files are another format; their recorded count is all the
// engine reads of them.
WordPages readWord6(const cfb::Node& root) {
    auto recorded = summaryPageCount(root);
    if (!recorded) ole::throwCannotOpen(kWordErrors, "it was saved by Word 6 or Word 95 and records no page count");
    WordPages pages;
    pages.count = *recorded;
    pages.source = PageCountSource::SummaryInformation;
    return pages;
}

WordPages readPages(std::span<const std::uint8_t> fileBytes) {
    const cfb::Node root = ole::readDocumentCompound(fileBytes, kWordErrors);
    const cfb::Node* stream = root.child("WordDocument");
    if (!stream || stream->isStorage) ole::throwCannotOpen(kWordErrors, "it is not a Word 97-2003 document");
    const LeView wordDocument(stream->data);
    try {
        switch (fibKind(wordDocument)) {
        case FibKind::Word97: return readWord97(root, wordDocument);
        case FibKind::Word6Or95: return readWord6(root);
        case FibKind::NotWord: break;
        }
    } catch (const TruncatedData& missing) {
        damaged("the file information block is cut short at offset " + std::to_string(missing.offset));
    }
    ole::throwCannotOpen(kWordErrors, "it is not a Word 97-2003 document");
}

}  // namespace

long estimatePages(std::u16string_view text, const std::vector<std::uint32_t>& breakBefore) {
    auto nextBreak = breakBefore.begin();
    long pages = 0;
    long lines = 0;
    long run = 0;  // characters of the line being laid out
    const auto endLine = [&] {
        lines += std::max(1L, ceilDiv(run, kCharsPerLine));
        run = 0;
    };
    const auto endPage = [&] {
        pages += std::max(1L, ceilDiv(lines, kLinesPerPage));
        lines = 0;
    };
    for (std::size_t cp = 0; cp < text.size(); ++cp) {
        const char16_t c = text[cp];
        if (nextBreak != breakBefore.end() && *nextBreak == cp) {
            ++nextBreak;
            if (run > 0) endLine();
            if (lines > 0) endPage();
        }
        if (c == kParagraphMark || c == kCellMark || c == kLineBreak) {
            endLine();
        } else if (c == kPageBreak) {
            if (run > 0) endLine();
            endPage();
        } else if (c >= 0x20 || c == u'\t') {
            ++run;
        }
    }
    if (run > 0) endLine();
    endPage();  // the last page, also when the text is empty
    return pages;
}

void setPageBreaks(WordPages& pages, std::u16string_view text, const std::vector<std::uint32_t>& breakBefore) {
    pages.textLength = static_cast<long>(text.size());
    pages.breakStarts.clear();
    std::vector<long> breaks(breakBefore.begin(), breakBefore.end());
    for (std::size_t k = 0; k + 1 < text.size(); ++k)
        if (text[k] == kPageBreak) breaks.push_back(static_cast<long>(k) + 1);
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    if (breaks.size() + 1 == static_cast<std::size_t>(pages.count)) pages.breakStarts = std::move(breaks);
}

long WordPages::pageStart(long page) const {
    page = std::clamp(page, 1L, count);
    if (page == 1) return 0;
    if (!breakStarts.empty()) return breakStarts[static_cast<std::size_t>(page - 2)];
    // Evenly: with at least one character a page the starts rise by one or
    // more; a shorter text gives each page one position.
    const long long length = textLength;
    if (length >= count) return static_cast<long>(length * (page - 1) / count);
    return page - 1;
}

WordPages readWordPages(std::span<const std::uint8_t> fileBytes) {
    try {
        return readPages(fileBytes);
    } catch (const std::bad_alloc&) {
        damaged("it is too large");
    } catch (const std::length_error&) {
        damaged("it is too large");
    }
}

WordPages readWordPagesFile(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ole::readSourceFile(path, kWordErrors);
    try {
        return readWordPages(bytes);
    } catch (const automation::AutomationError& error) {
        throw automation::AutomationError(error.number(), error.description(), path, error.offset());
    }
}

}  // namespace office::doc
