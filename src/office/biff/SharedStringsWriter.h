#pragma once
// The shared string table of the file being written: each distinct text once,
// written as SST (+ CONTINUE past 8224 bytes) and EXTSST.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "office/biff/RecordWriter.h"

namespace office::biff {

class SharedStringsWriter {
public:
    // The index of `text` in the table. The text must outlive this object.
    std::uint32_t add(std::string_view text);
    // Writes SST, its CONTINUE records and EXTSST at the end of `out`.
    void write(RecordWriter& out) const;

    // Longest text a cell holds, in UTF-16 units; longer texts are cut.
    static constexpr std::size_t kMaxUnits = 32767;

private:
    std::unordered_map<std::string_view, std::uint32_t> index_;
    std::vector<std::string_view> strings_;
    std::uint32_t uses_ = 0;
};

}  // namespace office::biff
