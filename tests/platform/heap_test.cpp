#include "platform/heap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
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

#endif
