#include "platform/ProcessMemory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14; older kernels refuse it with EINVAL
#endif

#if defined(__SANITIZE_ADDRESS__)
#define TAVOLEX_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVOLEX_OWN_ALLOCATOR 1
#endif
#endif

namespace platform {

namespace {
// A fixed mmap threshold also stops glibc from moving it on its own;
// 64 MB is far above any store, and a workbook above it still works.
constexpr std::size_t kLargeBufferThreshold = 64 * 1024 * 1024;
bool heapKept = false;
}  // namespace

void KeepFreedMemoryForReuse() {
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kLargeBufferThreshold));
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    heapKept = true;
}

std::size_t PrefaultHeap(std::size_t bytes) {
    if (!heapKept) return 0;  // the block would go back to the system when freed
#ifdef TAVOLEX_OWN_ALLOCATOR
    return 0;  // the address sanitizer's allocator serves later allocations from elsewhere
#endif
    const std::size_t free = mallinfo2().fordblks;
    if (free >= bytes) return 0;
    if (bytes >= kLargeBufferThreshold) return 0;  // would be mapped apart and unmapped on free
    // No free block holds `bytes` (all of them together hold less), so this
    // one ends at the heap's top: it takes what is free there and grows the
    // heap by the rest. Asking for only the missing part would be served from
    // a large free top without adding a page. Freed, the block joins the top
    // again, and the next allocations are carved from pages already present;
    // faulting in the pages that were there already costs little.
    void* block = std::malloc(bytes);
    if (!block) return 0;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + page - 1) / page * page;
    const std::uintptr_t last = (start + bytes) / page * page;
    std::size_t done = 0;
    if (last > first && ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE) == 0)
        done = last - first;
    std::free(block);
    return done;
}

}  // namespace platform
