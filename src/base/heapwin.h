// heapwin: zero-filled blocks of the system's global heap (prefix GlobalBlock), used only for the memory of
// the block disk cache.
#pragma once

#include <cstddef>

void *GlobalBlockAlloc(size_t size); // null on failure
void GlobalBlockFree(void *block);   // null is allowed

// Test seam: the next `count` allocations fail; 0 turns it off.
void GlobalBlockFailNext(int count);
