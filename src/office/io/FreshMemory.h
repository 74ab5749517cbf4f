#pragma once
// A reader that knows how much heap it is about to fill says so first. The
// first touch of a fresh page costs a fault; on a virtual machine that costs
// far more than the work done on the page, and a process that keeps its freed
// memory can fault a known amount in with one call instead of one fault per
// page. The engine itself sets no policy: the program's main wires one in.
#include <cstddef>

namespace office::io {

using HeapPreparer = void (*)(std::size_t bytes);

// None by default; nullptr removes it.
void setHeapPreparer(HeapPreparer preparer);

// About `bytes` of heap will be allocated and written soon.
void expectAllocations(std::size_t bytes);

}  // namespace office::io
