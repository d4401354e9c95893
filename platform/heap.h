#pragma once

#include <cstddef>
#include <thread>

namespace vornak {

// Lets the heap keep the blocks of a few megabytes that a long drawing run takes and gives back
// for every page (the platform's PDF writer takes two blocks of ten megabytes for each page it
// compresses, printing included). By default the C library adapts: it puts such blocks at the top
// of the heap and hands the top back to the system whenever it grows past twice the block size,
// so every page maps fresh memory and faults it in again, and a long run pays more for each page
// than a short one. From the first call on, blocks below 32 MiB come from the heap and its top
// is handed back only beyond 64 MiB. Idempotent; does nothing where the C library has no such
// settings.
void keepLargeBlocksInHeap();

// Hands the free memory of the heap back to the system, as a process that keeps running idle after
// a large piece of work does. Does nothing where the C library cannot.
void handBackFreeMemory();

// Has the next `bytes` of the heap (at most 32 MiB) faulted in on a thread of its own while the
// process goes on. A short process (a command) takes its memory fresh from the system, and each
// of its first pages costs a page fault when first written, one after another on the main thread;
// the report program, for one, writes some tens of megabytes that way. With the heap's top taken
// and given back at once (kept by keepLargeBlocksInHeap, which this calls), the thread asks the
// system to fault that range in writable without touching it, so the program's own allocations
// may use it meanwhile. Destroying the object waits for the thread. Does nothing where the system
// or the C library cannot do this.
class HeapFaultingAhead {
public:
    explicit HeapFaultingAhead(std::size_t bytes);
    ~HeapFaultingAhead();
    HeapFaultingAhead(const HeapFaultingAhead &) = delete;
    HeapFaultingAhead &operator=(const HeapFaultingAhead &) = delete;

private:
    std::thread thread_;
};

}  // namespace vornak
