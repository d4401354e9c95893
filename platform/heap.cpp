// The C library's heap settings for long drawing runs.
#include "platform/heap.h"

#include <cstdlib>  // defines __GLIBC__ with the GNU C library
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vornak {

namespace {

constexpr int mebibyte = 1024 * 1024;
constexpr int largestHeapBlock = 32 * mebibyte;  // larger blocks are mapped on their own
constexpr int keptHeapTop = 64 * mebibyte;       // free memory at the top of the heap kept for reuse

}  // namespace

void keepLargeBlocksInHeap()
{
#if defined(__GLIBC__)
    static const bool done = [] {
        mallopt(M_MMAP_THRESHOLD, largestHeapBlock);
        mallopt(M_TRIM_THRESHOLD, keptHeapTop);
        return true;
    }();
    (void)done;
#endif
}

}  // namespace vornak
