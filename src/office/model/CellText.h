#pragma once
// A cell's text: immutable, and shared by every cell that holds it. One
// pointer wide; the reader makes each shared string once and every cell
// naming it takes a reference, so a sheet of ten thousand lines that repeats
// two hundred names holds two hundred texts. The empty text holds nothing.
#include <cstdint>
#include <string>
#include <string_view>

#include "office/model/IntrusiveRef.h"

namespace office {

class CellText {
public:
    CellText() = default;
    explicit CellText(std::string_view text);

    std::string_view view() const {
        return box_ ? std::string_view(box_.tail(), *box_.get()) : std::string_view();
    }
    std::string str() const { return std::string(view()); }
    bool empty() const { return !box_; }

    // Equal characters, whether or not the two hold the same text.
    bool operator==(const CellText& other) const { return box_ == other.box_ || view() == other.view(); }
    // The very same text, not an equal one.
    bool sameAs(const CellText& other) const { return box_ == other.box_; }

private:
    // The size; the characters follow it in the same allocation.
    IntrusiveRef<std::uint32_t> box_;
};

static_assert(sizeof(CellText) == sizeof(void*), "a cell's text is one pointer: see the note on CellValue");

}  // namespace office
