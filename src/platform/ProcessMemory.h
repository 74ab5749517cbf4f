#pragma once
// How the process keeps its heap. A command reads and writes buffers of
// megabytes (the file, its stream, the new file) next to a model of many
// small cells: the C library would hand each large buffer back to the system
// when freed and fault fresh pages in for the next, which on a virtual machine
// costs more than the work on them.
#include <cstddef>

namespace platform {

// Large buffers come from the heap and freed memory stays for the next
// allocation. Called first thing in main.
void KeepFreedMemoryForReuse();

// Makes sure about `bytes` of heap are ready for use, counting what is free
// already: the rest is added to the heap and its pages faulted in with one
// call (several times cheaper than a fault per page on a virtual machine).
// Only after KeepFreedMemoryForReuse, which keeps those pages in the heap;
// more than a large buffer's threshold, a kernel without the call or a build
// with the address sanitizer is left alone. Returns the bytes faulted in.
std::size_t PrefaultHeap(std::size_t bytes);

}  // namespace platform
