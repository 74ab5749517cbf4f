#pragma once
// The shared string table of the file being written: each distinct text once,
// written as SST (+ CONTINUE past 8224 bytes) and EXTSST.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "office/biff/RecordWriter.h"

namespace office::biff {

class SharedStringsWriter {
public:
    // The index of `text` in the table. The text must outlive this object.
    std::uint32_t add(std::string_view text);
    // Another use of the text at `index`, which add() gave.
    void addAgain(std::uint32_t) { ++uses_; }
    std::size_t size() const { return strings_.size(); }
    // Room for `more` texts besides those added: growing tables take fresh memory each time.
    void reserve(std::size_t more);
    // Writes SST, its CONTINUE records and EXTSST at the end of `out`.
    void write(RecordWriter& out) const;

    // Longest text a cell holds, in UTF-16 units; longer texts are cut.
    static constexpr std::size_t kMaxUnits = 32767;

private:
    void grow(std::size_t atLeast = 0);  // the slots, to at least `atLeast`

    // An open-addressing index over the texts: tens of thousands of them
    // take a few flat arrays, where a node-based map would take a fresh
    // allocation each.
    std::vector<std::string_view> strings_;
    std::vector<std::size_t> hashes_;     // of each text
    std::vector<std::uint32_t> slots_;    // index in strings_ + 1, or 0 when free; a power of two long
    std::uint32_t uses_ = 0;
};

}  // namespace office::biff
