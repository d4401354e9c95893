#pragma once

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

}  // namespace vornak
