#pragma once
// How many pages a Word 97-2003 document has, and where each one starts.
//
// Word paginates as it lays the text out, and records the count it reached
// when it saved: in the summary information (page count), and in the
// document properties (DOP cPg), which other writers keep as well. The
// engine takes the first of these that holds a count. A file that records
// none gets an estimate from its text (see estimatePages), marked as such.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace office::doc {

enum class PageCountSource {
    SummaryInformation,  // the count Word recorded in "\005SummaryInformation"
    DocumentProperties,  // the DOP's cPg
    Estimate,            // none recorded: estimated from the text
};

struct WordPages {
    long count = 1;
    PageCountSource source = PageCountSource::Estimate;
    long textLength = 0;  // characters of the main text
    // Where pages 2, 3, ... start when the text's hard page breaks match
    // the count (empty otherwise).
    std::vector<long> breakStarts;

    // Character position where page `page` starts (clamped to 1..count):
    // 0 for the first page, rising with the page. At the text's hard page
    // breaks where they match the count, otherwise spread evenly over the
    // text.
    long pageStart(long page) const;
};

// Reads the page count of a Word 97-2003 document held in memory. Errors
// (AutomationError, Word's numbers): not a compound file or not a Word
// document, damaged, or a Word 6/95 document that records no count: 5792;
// encrypted: 5408.
WordPages readWordPages(std::span<const std::uint8_t> fileBytes);

// The same for a file; a missing file raises 5174, an unreadable one 70.
WordPages readWordPagesFile(const std::string& path);

// Pages of a text laid out on a common page (Letter or A4, 11-12 point
// text, about 90 characters a line and 46 lines a page): every paragraph,
// table cell and line break starts a line, a page or section break
// character a page, and so does each paragraph formatted to start a page
// (`breakBefore`: the character positions where they begin, rising).
long estimatePages(std::u16string_view mainText, const std::vector<std::uint32_t>& breakBefore = {});

// The page starts of `pages` taken from `mainText`: its break characters and
// `breakBefore` paragraphs when together they match the count, else none.
void setPageBreaks(WordPages& pages, std::u16string_view mainText, const std::vector<std::uint32_t>& breakBefore = {});

}  // namespace office::doc
