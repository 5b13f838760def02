#include "platform/heap.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void keep_large_blocks_apart() {
#if defined(__GLIBC__)
    // Pictures of a megabyte come and go with every scene. glibc raises its mapping threshold
    // each time such a block is freed, after which they come from the heap and fragment it, so
    // a long session's footprint crept up by some 3 MiB over a million passes. A fixed
    // threshold keeps them out of the heap; a 640 x 480 picture is well above it.
    constexpr int kLargeBlockBytes = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
#endif
}

}  // namespace platform
