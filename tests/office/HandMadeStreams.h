#pragma once
// Workbook streams made record by record, for the reader's tests: a BOF, and
// a stream with one sheet "S" whose records the test writes.
#include <cstdint>
#include <functional>
#include <vector>

#include "office/biff/BiffRecords.h"
#include "office/biff/RecordWriter.h"

namespace testsupport {

inline void bof(office::biff::RecordWriter& w, std::uint16_t type) {
    w.begin(office::biff::rec::kBof);
    w.u16(0x0600);
    w.u16(type);
    w.zeros(12);
    w.end();
}

inline void nothing(office::biff::RecordWriter&) {}

// `globals` adds records before the sheet list (fonts, XFs...), `afterSheets`
// after it (SST), `cells` the sheet body.
inline std::vector<std::uint8_t> workbookStream(const std::function<void(office::biff::RecordWriter&)>& globals,
                                                const std::function<void(office::biff::RecordWriter&)>& afterSheets,
                                                const std::function<void(office::biff::RecordWriter&)>& cells) {
    namespace rec = office::biff::rec;
    office::biff::RecordWriter w;
    bof(w, rec::kBofGlobals);
    globals(w);
    w.begin(rec::kBoundSheet);
    const std::size_t offsetField = w.size();
    w.u32(0);
    w.u8(0);
    w.u8(0);
    w.shortString(u"S");
    w.end();
    afterSheets(w);
    w.empty(rec::kEof);
    w.patchU32(offsetField, static_cast<std::uint32_t>(w.size()));
    bof(w, rec::kBofWorksheet);
    cells(w);
    w.empty(rec::kEof);
    return w.bytes();
}

}  // namespace testsupport
