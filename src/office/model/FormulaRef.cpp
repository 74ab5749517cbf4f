#include "office/model/FormulaRef.h"

#include <utility>

namespace office {

FormulaRef::FormulaRef(Formula formula) : box_(new Box) { box_->formula = std::move(formula); }

FormulaRef::FormulaRef(const FormulaRef& other) noexcept : box_(other.box_) {
    if (box_) box_->references.fetch_add(1, std::memory_order_relaxed);
}

FormulaRef& FormulaRef::operator=(const FormulaRef& other) noexcept {
    FormulaRef copy(other);  // taken first: `other` may be the last holder's own copy
    std::swap(box_, copy.box_);
    return *this;
}

FormulaRef& FormulaRef::operator=(FormulaRef&& other) noexcept {
    if (this != &other) {
        release();
        box_ = std::exchange(other.box_, nullptr);
    }
    return *this;
}

void FormulaRef::reset() noexcept {
    release();
    box_ = nullptr;
}

void FormulaRef::release() noexcept {
    if (box_ && box_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete box_;
}

}  // namespace office
