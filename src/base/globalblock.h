// globalblock: zero-filled blocks of the system's global heap (prefix GlobalBlock), used only for the memory
// of the block disk cache.
#pragma once

#include <cstddef>

void *GlobalBlockAlloc(size_t size); // null on failure
void GlobalBlockFree(void *block);   // null is allowed

// Test seam: fail `count` allocations, from the nth from now on (1 = the next one); n = 0 turns it off.
void GlobalBlockFailNth(int n, int count = 1);

// The system's side (globalblock_win.cpp, globalblock_posix.cpp).
void *GlobalBlockOsAlloc(size_t size);
void GlobalBlockOsFree(void *block);
