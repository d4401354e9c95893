#include "platform/heap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace vornak;

// The sanitizers bring their own allocator: the C library's heap is not what they allocate from.
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)

namespace {

// A block the size the PDF writer takes for each page, kept from being optimised away.
void *takeBlock(size_t size)
{
    void *block = std::malloc(size);
    asm volatile("" : : "r"(block) : "memory");
    return block;
}

}  // namespace

TEST(Heap, PageSizedBlocksComeFromTheHeapAndStayThereWhenFreed)
{
    keepLargeBlocksInHeap();
    keepLargeBlocksInHeap();  // a second call changes nothing
    constexpr size_t pageBuffer = 10 * 1024 * 1024;
    const struct mallinfo2 before = mallinfo2();
    void *block = takeBlock(pageBuffer);
    ASSERT_NE(block, nullptr);
    const struct mallinfo2 held = mallinfo2();
    EXPECT_EQ(held.hblkhd, before.hblkhd) << "the block was mapped on its own";
    std::free(block);
    const struct mallinfo2 freed = mallinfo2();
    EXPECT_GE(freed.arena, held.arena) << "the heap's top was handed back to the system";
    EXPECT_GE(freed.fordblks, pageBuffer);  // free for the next page
}

namespace {

long pageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

}  // namespace

TEST(Heap, MemoryFaultedInAheadIsTakenWithoutFaultsAndKeepsWhatWasWrittenMeanwhile)
{
    void *probe = mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    const bool populates = madvise(probe, 4096, MADV_POPULATE_WRITE) == 0;
    munmap(probe, 4096);
    if (!populates)
        GTEST_SKIP() << "this system cannot fault memory in ahead";

    constexpr size_t ahead = 16 * 1024 * 1024;
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    {
        const HeapFaultingAhead faulting(ahead);
        // Written while the thread may be faulting the same range in.
        auto *meanwhile = static_cast<unsigned char *>(takeBlock(ahead / 2));
        for (size_t i = 0; i < ahead / 2; i += page)
            meanwhile[i] = static_cast<unsigned char>(i / page);
        for (size_t i = 0; i < ahead / 2; i += page)
            ASSERT_EQ(meanwhile[i], static_cast<unsigned char>(i / page));
        std::free(meanwhile);
    }
    auto *block = static_cast<unsigned char *>(takeBlock(ahead - ahead / 8));
    const long before = pageFaults();
    for (size_t i = 0; i < ahead - ahead / 8; i += page)
        block[i] = 1;
    const long pages = long((ahead - ahead / 8) / page);
    EXPECT_LT(pageFaults() - before, pages / 16) << "of " << pages << " pages";
    std::free(block);
}

#endif
