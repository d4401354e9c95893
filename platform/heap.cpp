// The C library's heap settings for long drawing runs, and a short run's heap faulted in ahead.
#include "platform/heap.h"

#include <cstdlib>  // defines __GLIBC__ with the GNU C library
#if defined(__GLIBC__)
#include <malloc.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <system_error>

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

void handBackFreeMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

HeapFaultingAhead::HeapFaultingAhead(std::size_t bytes)
{
#if defined(__GLIBC__) && defined(MADV_POPULATE_WRITE) && !defined(__SANITIZE_ADDRESS__)
    keepLargeBlocksInHeap();
    if (bytes == 0 || bytes >= std::size_t(largestHeapBlock))
        return;
    // Taken from the top of the heap, which grows for it, and given back at once: it stays the
    // heap's free top (below the size beyond which the top is handed back) for what comes next.
    void *block = std::malloc(bytes);
    if (!block)
        return;
    const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const std::uintptr_t first = (std::uintptr_t(block) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (std::uintptr_t(block) + bytes) & ~(page - 1);
    std::free(block);
    if (end <= first)
        return;
    // Faulting in writes nothing, so allocations made meanwhile keep what they write there.
    // It runs in time no other thread of the system wants, so it never delays the process's own
    // start. Where no thread can be started, the pages are faulted in as they are first written.
    try {
        thread_ = std::thread([first, end] {
            const sched_param idle{};
            pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
            madvise(reinterpret_cast<void *>(first), end - first, MADV_POPULATE_WRITE);
        });
    } catch (const std::system_error &) {
    }
#else
    (void)bytes;
#endif
}

HeapFaultingAhead::~HeapFaultingAhead()
{
    if (thread_.joinable())
        thread_.join();
}

}  // namespace vornak
