#pragma once
// A cell's text: immutable, and shared by every cell that holds it. One
// pointer wide; the reader makes each shared string once and every cell
// naming it takes a reference, so a sheet of ten thousand lines that repeats
// two hundred names holds two hundred texts. The empty text holds nothing.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace office {

class CellText {
public:
    CellText() = default;
    explicit CellText(std::string_view text);
    CellText(const CellText& other) noexcept;
    CellText(CellText&& other) noexcept : box_(other.box_) { other.box_ = nullptr; }
    CellText& operator=(const CellText& other) noexcept;
    CellText& operator=(CellText&& other) noexcept;
    ~CellText() { release(); }

    std::string_view view() const {
        return box_ ? std::string_view(reinterpret_cast<const char*>(box_ + 1), box_->size) : std::string_view();
    }
    std::string str() const { return std::string(view()); }
    bool empty() const { return box_ == nullptr; }

    // Equal characters, whether or not the two hold the same text.
    bool operator==(const CellText& other) const { return box_ == other.box_ || view() == other.view(); }
    // The very same text, not an equal one.
    bool sameAs(const CellText& other) const { return box_ == other.box_; }

private:
    // The characters follow the box in the same allocation.
    struct Box {
        std::atomic<std::uint32_t> references{1};
        std::uint32_t size = 0;
    };
    void release() noexcept;
    Box* box_ = nullptr;
};

}  // namespace office
