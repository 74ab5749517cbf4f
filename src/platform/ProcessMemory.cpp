#include "platform/ProcessMemory.h"

#include <malloc.h>

namespace platform {

void KeepFreedMemoryForReuse() {
    // A fixed mmap threshold also stops glibc from moving it on its own;
    // 64 MB is far above any store, and a workbook above it still works.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
}

}  // namespace platform
