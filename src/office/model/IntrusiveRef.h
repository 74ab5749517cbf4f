#pragma once
// A reference to a payload that shares one allocation with its reference
// count: one pointer wide, where a shared_ptr takes two, for values that a
// sheet holds a hundred thousand times (a cell's text, its formula). The
// allocation may carry bytes of the holder's own after the box (a text's
// characters). Copies and releases are inline: a store's commands make and
// drop every cell of a sheet.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace office {

template <class Payload>
class IntrusiveRef {
public:
    IntrusiveRef() noexcept = default;

    // A new payload made of `args`, held by this reference alone, with
    // `tailBytes` more bytes in the same allocation right after its box.
    template <class... Args>
    static IntrusiveRef make(std::size_t tailBytes, Args&&... args) {
        void* memory = ::operator new(sizeof(Box) + tailBytes);
        IntrusiveRef made;
        try {
            made.box_ = new (memory) Box(std::forward<Args>(args)...);
        } catch (...) {
            ::operator delete(memory);
            throw;
        }
        return made;
    }

    IntrusiveRef(const IntrusiveRef& other) noexcept : box_(other.box_) {
        if (box_) box_->references.fetch_add(1, std::memory_order_relaxed);
    }
    IntrusiveRef(IntrusiveRef&& other) noexcept : box_(std::exchange(other.box_, nullptr)) {}
    IntrusiveRef& operator=(const IntrusiveRef& other) noexcept {
        IntrusiveRef copy(other);  // taken first: `other` may be the last holder's own copy
        std::swap(box_, copy.box_);
        return *this;
    }
    IntrusiveRef& operator=(IntrusiveRef&& other) noexcept {
        IntrusiveRef taken(std::move(other));  // to itself: taken and given back
        std::swap(box_, taken.box_);
        return *this;
    }
    ~IntrusiveRef() { release(); }

    explicit operator bool() const noexcept { return box_ != nullptr; }
    Payload* get() const noexcept { return box_ ? &box_->payload : nullptr; }
    // The bytes after the box; only for a reference made with some.
    char* tail() const noexcept { return reinterpret_cast<char*>(box_ + 1); }
    // How many references hold the payload; 0 for none.
    std::uint32_t holders() const noexcept { return box_ ? box_->references.load(std::memory_order_relaxed) : 0; }
    void reset() noexcept {
        release();
        box_ = nullptr;
    }

    // The same payload, not an equal one.
    bool operator==(const IntrusiveRef& other) const noexcept { return box_ == other.box_; }

private:
    struct Box {
        template <class... Args>
        explicit Box(Args&&... args) : payload(std::forward<Args>(args)...) {}
        std::atomic<std::uint32_t> references{1};
        Payload payload;
    };

    void release() noexcept {
        if (box_ && box_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) destroy(box_);
    }
    // Out of line: the payload's destructor is not copied into every holder's.
    [[gnu::noinline]] static void destroy(Box* box) noexcept {
        box->~Box();
        ::operator delete(box);
    }

    Box* box_ = nullptr;
};

}  // namespace office
