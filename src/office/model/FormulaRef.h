#pragma once
// A cell's formula, shared by the cell's copies and never changed through
// them. One pointer wide where a shared_ptr takes two: a store's sheet holds
// a hundred thousand cells, and every cell carries one, most of them empty.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "office/model/KeptRecords.h"

namespace office {

class FormulaRef {
public:
    FormulaRef() = default;
    FormulaRef(std::nullptr_t) {}
    // A new formula, held by this reference alone.
    explicit FormulaRef(Formula formula);
    FormulaRef(const FormulaRef& other) noexcept;
    FormulaRef(FormulaRef&& other) noexcept : box_(other.box_) { other.box_ = nullptr; }
    FormulaRef& operator=(const FormulaRef& other) noexcept;
    FormulaRef& operator=(FormulaRef&& other) noexcept;
    ~FormulaRef() { release(); }

    explicit operator bool() const { return box_ != nullptr; }
    const Formula& operator*() const { return box_->formula; }
    const Formula* operator->() const { return &box_->formula; }
    const Formula* get() const { return box_ ? &box_->formula : nullptr; }
    void reset() noexcept;

    // The formula itself, seen by every cell that shares it: only for the
    // reader, which completes a formula with the records that follow its cell.
    Formula& editShared() { return box_->formula; }

    // The same formula, not an equal one.
    bool operator==(const FormulaRef& other) const { return box_ == other.box_; }

private:
    struct Box {
        std::atomic<std::uint32_t> references{1};
        Formula formula;
    };
    void release() noexcept;
    Box* box_ = nullptr;
};

}  // namespace office
