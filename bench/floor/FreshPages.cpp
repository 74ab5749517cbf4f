// What this machine charges for memory no process touched before: allocates
// MEGABYTES of fresh anonymous memory and writes one byte in every page,
// either page by page (each first write faults) or after faulting it all in
// with one madvise call, as the store tool's heap preparer does. Timed from
// outside (bench/machine_floor.sh), as a whole process.
//   tavolex_fresh_pages MEGABYTES [populate]
#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s MEGABYTES [populate]\n", argv[0]);
        return 2;
    }
    const std::size_t bytes = std::strtoul(argv[1], nullptr, 10) << 20;
    if (bytes == 0) return 0;
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return 1;
    auto* pages = static_cast<volatile unsigned char*>(memory);
    if (argc > 2 && std::strcmp(argv[2], "populate") == 0 && madvise(memory, bytes, MADV_POPULATE_WRITE) != 0) return 1;
    for (std::size_t at = 0; at < bytes; at += 4096) pages[at] = 1;
    return pages[4096] == 1 ? 0 : 1;
}
