#pragma once
// Page breaks kept as paragraph formatting ("page break before", which
// other writers use where Word would put a break character): read from the
// paragraph properties' pages ([MS-DOC] 2.9.175 PapxFkp) so that a document
// without a recorded page count is estimated from its real breaks.
#include <cstdint>
#include <vector>

#include "office/doc/Fib.h"
#include "office/doc/MainText.h"
#include "office/io/LeView.h"

namespace office::doc {

// Character positions, rising, where a paragraph that starts a new page
// begins (never 0). Damaged or missing formatting gives fewer or none: the
// breaks only refine an estimate.
std::vector<std::uint32_t> breakBeforeParagraphs(const LeView& wordDocument, const LeView& table, const Fib& fib,
                                                  const MainText& main);

}  // namespace office::doc
