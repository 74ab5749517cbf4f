#include "office/model/CellText.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace office {

CellText::CellText(std::string_view text) {
    if (text.empty()) return;
    if (text.size() > UINT32_MAX) throw std::length_error("a cell text longer than 4 GB");
    void* memory = ::operator new(sizeof(Box) + text.size());
    box_ = new (memory) Box;
    box_->size = static_cast<std::uint32_t>(text.size());
    std::memcpy(reinterpret_cast<char*>(box_ + 1), text.data(), text.size());
}

CellText::CellText(const CellText& other) noexcept : box_(other.box_) {
    if (box_) box_->references.fetch_add(1, std::memory_order_relaxed);
}

CellText& CellText::operator=(const CellText& other) noexcept {
    CellText copy(other);  // taken first: `other` may be the last holder's own copy
    std::swap(box_, copy.box_);
    return *this;
}

CellText& CellText::operator=(CellText&& other) noexcept {
    if (this != &other) {
        release();
        box_ = std::exchange(other.box_, nullptr);
    }
    return *this;
}

void CellText::release() noexcept {
    if (box_ && box_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        box_->~Box();
        ::operator delete(box_);
    }
}

}  // namespace office
