#pragma once
// How the process keeps its heap. A command reads and writes buffers of
// megabytes (the file, its stream, the new file) next to a model of many
// small cells: the C library would hand each large buffer back to the system
// when freed and fault fresh pages in for the next, which on a virtual machine
// costs more than the work on them.

namespace platform {

// Large buffers come from the heap and freed memory stays for the next
// allocation. Called first thing in main.
void KeepFreedMemoryForReuse();

}  // namespace platform
