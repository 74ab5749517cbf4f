// The page and slide counters and the property-set reader on any bytes:
// each either counts or raises AutomationError; nothing else may happen.
// Seeded with the sample documents and presentations of tests/data.
#include <cstddef>
#include <cstdint>
#include <span>

#include "automation/AutomationError.h"
#include "office/doc/WordPages.h"
#include "office/ole/PropertySet.h"
#include "office/ppt/SlideList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const office::doc::WordPages pages = office::doc::readWordPages(bytes);
        if (pages.pageStart(pages.count) < 0) __builtin_trap();
    } catch (const automation::AutomationError&) {
    }
    try {
        office::ppt::readPresentationSlides(bytes);
    } catch (const automation::AutomationError&) {
    }
    try {
        office::ole::readPropertySetStream(bytes);
    } catch (const automation::AutomationError&) {
    }
    return 0;
}
