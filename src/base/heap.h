// heap: every block of memory the program uses. Pointer blocks (Mem*) come zero-filled from the C library
// heap; movable blocks are known by a Handle record of buffer pointer and size (H*). Requests at or above the
// size limit fail at once; a failing C library call logs a line and sets "Low Memory".
// Success convention of the foundation (see erc.h): failure is false, 0, -1 or null, as each call says, with
// the current error set.
#pragma once

#include <cstddef>
#include <cstdint>

// A movable block. The pointer changes when the block is resized, so holders re-read it after any resize.
// In memory only: the pointer field grows with the pointer size.
struct Handle {
    void *ptr;
    uint32_t size; // bytes, at least 4
};

int HeapInit();

void *MemAlloc(size_t size);
void *MemRealloc(void *block, size_t size);
void *MemDup(const void *bytes, size_t length);
void MemFree(void *block);
// The same operation as MemFree, for callers that free foreign blocks.
inline void FreeBlock(void *block) {
    MemFree(block);
}
size_t MemSize(void *block);

Handle *HAlloc(uint32_t size);
Handle *HAllocCopy(uint32_t length, const void *bytes);
Handle *HDup(const Handle *h);
int HRealloc(Handle *h, uint32_t size, int exact);
int HResize(Handle *h, uint32_t size, void **outPtr);
inline void *HLock(const Handle *h) {
    return h->ptr;
}
inline void HUnlock(const Handle *) {}
inline uint32_t HSize(const Handle *h) {
    return h->size;
}
void HFree(Handle *h);
int32_t HLiveCount();
uint32_t HeapTotal();

// The size limit: requests of this many bytes or more fail. No limit until the system probe sets one.
void HeapSetSizeLimit(size_t limit);
size_t HeapGetSizeLimit();
size_t HeapLimitFromPhysical(uint64_t physicalBytes);

// Test seam: make `count` C library allocations fail, from the nth from now on (1 = the next one; count -1:
// every one from there); n = 0 turns it off.
void HeapFailNth(int n, int count = 1);

// The system's side: the usable size of a C library block (heap_win.cpp, heap_posix.cpp).
size_t HeapOsBlockSize(void *block);
