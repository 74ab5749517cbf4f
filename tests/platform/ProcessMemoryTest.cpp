// Memory faulted in ahead serves the allocations that follow without a fault
// per page, and memory already free in the heap is not added again.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/ProcessMemory.h"

namespace {

long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// The faults taken while `bytes` are allocated and written as a reader makes
// cells: many blocks of a few hundred bytes. They are freed again after.
long faultsWritingSmallBlocks(std::size_t bytes) {
    std::vector<void*> blocks;
    blocks.reserve(bytes / 704 + 1);
    const long before = minorFaults();
    for (std::size_t done = 0; done < bytes; done += 704) {
        blocks.push_back(std::malloc(704));
        std::memset(blocks.back(), 1, 704);
    }
    const long faults = minorFaults() - before;
    for (void* block : blocks) std::free(block);
    return faults;
}

TEST(ProcessMemory, AHeapFaultedInAheadServesManySmallAllocationsWithoutAFaultPerPage) {
    platform::KeepFreedMemoryForReuse();
    constexpr std::size_t kBytes = 8 * 1024 * 1024;
    if (platform::PrefaultHeap(kBytes) == 0) GTEST_SKIP() << "memory cannot be faulted in ahead here: a kernel before Linux 5.14, or the address sanitizer's allocator";

    const std::size_t pages = 6 * 1024 * 1024 / static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    EXPECT_LT(faultsWritingSmallBlocks(6 * 1024 * 1024), static_cast<long>(pages / 10)) << "of " << pages << " pages";

    // All of that is free in the heap now: asking again adds nothing.
    EXPECT_EQ(platform::PrefaultHeap(4 * 1024 * 1024), 0u);
}

// Free memory at the heap's top, less than asked for: the rest is added and
// faulted in too, not served from that free memory alone.
TEST(ProcessMemory, FreeMemoryAtTheTopOfTheHeapIsToppedUpToWhatWasAskedFor) {
    platform::KeepFreedMemoryForReuse();
    constexpr std::size_t kBytes = 8 * 1024 * 1024;
    // 5 MB written and freed: it joins the free top of the heap, and holds
    // more than the 3 MB missing.
    void* volatile earlier = std::malloc(5 * 1024 * 1024);  // volatile: not left out by the compiler
    std::memset(earlier, 1, 5 * 1024 * 1024);
    std::free(earlier);
    if (platform::PrefaultHeap(kBytes) == 0)
        GTEST_SKIP() << "nothing was faulted in: a kernel before Linux 5.14, the address sanitizer's allocator, "
                        "or a heap holding that much free memory already (another test ran first in this process)";

    const std::size_t pages = 7 * 1024 * 1024 / static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    EXPECT_LT(faultsWritingSmallBlocks(7 * 1024 * 1024), static_cast<long>(pages / 10)) << "of " << pages << " pages";
}

}  // namespace
