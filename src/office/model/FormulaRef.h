#pragma once
// A cell's formula, shared by the cell's copies and never changed through
// them. One pointer wide where a shared_ptr takes two: a store's sheet holds
// a hundred thousand cells, and every cell carries one, most of them empty.
#include <cstddef>
#include <utility>

#include "office/model/IntrusiveRef.h"
#include "office/model/KeptRecords.h"

namespace office {

class FormulaRef {
public:
    FormulaRef() = default;
    FormulaRef(std::nullptr_t) {}
    // A new formula, held by this reference alone.
    explicit FormulaRef(Formula formula) : box_(IntrusiveRef<Formula>::make(0, std::move(formula))) {}

    explicit operator bool() const { return static_cast<bool>(box_); }
    const Formula& operator*() const { return *box_.get(); }
    const Formula* operator->() const { return box_.get(); }
    const Formula* get() const { return box_.get(); }
    void reset() noexcept { box_.reset(); }

    // The formula itself, seen by every cell that shares it: only for the
    // reader, which completes a formula with the records that follow its cell.
    Formula& editShared() { return *box_.get(); }

    // The same formula, not an equal one.
    bool operator==(const FormulaRef& other) const { return box_ == other.box_; }

private:
    IntrusiveRef<Formula> box_;
};

static_assert(sizeof(FormulaRef) == sizeof(void*), "a cell's formula is one pointer: see the note on Cell");

}  // namespace office
