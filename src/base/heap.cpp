// heap: pointer blocks and movable Handle blocks over the C library heap (prefixes Mem, H, Heap).
// Every new block is zero-filled. A request at or above the size limit fails quietly (no log, no error);
// a failing C library call writes its failure line to the log and sets "Low Memory".
// The total-allocated counter counts the bytes of live blocks, as the C library reports their sizes.
#include "base/heap.h"

#include "base/erc.h"
#include "base/seam.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

static size_t heapSizeLimit = std::numeric_limits<size_t>::max();
static int32_t heapLiveHandles;
static uint32_t heapTotal;
static SeamFault heapFault; // lets tests see the failure paths without exhausting memory

static size_t HeapBlockSize(void *block) {
    return HeapOsBlockSize(block);
}

static bool HeapInjectFailure() {
    return SeamFaultHit(&heapFault);
}

static void HeapLogFailure(const char *who, size_t size) {
    char line[256];
    snprintf(line, sizeof line, "%s Failure: %lul bytes requested; current total allocated bytes=%lul", who,
             (unsigned long)size, (unsigned long)heapTotal);
    ErcWriteLine(line);
}

int HeapInit() {
    return 1;
}

void HeapSetSizeLimit(size_t limit) {
    heapSizeLimit = limit ? limit : std::numeric_limits<size_t>::max();
}
size_t HeapGetSizeLimit() {
    return heapSizeLimit;
}

// 75 % of physical memory, in 64 bits so that a large machine does not wrap around.
size_t HeapLimitFromPhysical(uint64_t physicalBytes) {
    uint64_t limit = physicalBytes / 100 * 75 + physicalBytes % 100 * 75 / 100;
    if (limit > std::numeric_limits<size_t>::max()) return std::numeric_limits<size_t>::max();
    return (size_t)limit;
}

static void HeapResetSeams() {
    heapFault = {};
}

void HeapFailNth(int n, int count) {
    SeamFaultSet(&heapFault, n, count);
    SeamRegisterReset(HeapResetSeams);
}

void *MemAlloc(size_t size) {
    if (size >= heapSizeLimit) return nullptr;
    void *block = HeapInjectFailure() ? nullptr : calloc(1, size ? size : 1);
    if (!block) {
        HeapLogFailure("malloc", size);
        ErcSetLowMemory();
        return nullptr;
    }
    heapTotal += (uint32_t)HeapBlockSize(block);
    return block;
}

void *MemRealloc(void *block, size_t size) {
    if (!block) return MemAlloc(size);
    size_t old = HeapBlockSize(block);
    void *grown = HeapInjectFailure() ? nullptr : realloc(block, size ? size : 1);
    if (!grown) {
        HeapLogFailure("malloc", size);
        ErcSetLowMemory();
        return nullptr;
    }
    heapTotal += (uint32_t)HeapBlockSize(grown) - (uint32_t)old;
    return grown;
}

void *MemDup(const void *bytes, size_t length) {
    void *block = MemAlloc(length);
    if (block && length) memcpy(block, bytes, length);
    return block;
}

void MemFree(void *block) {
    if (!block) return;
    heapTotal -= (uint32_t)HeapBlockSize(block);
    free(block);
}

size_t MemSize(void *block) {
    return HeapBlockSize(block);
}

Handle *HAlloc(uint32_t size) {
    if (size < 4) size = 4;
    if (size >= heapSizeLimit) return nullptr;
    Handle *h = (Handle *)MemAlloc(sizeof(Handle));
    if (h) {
        h->ptr = MemAlloc(size);
        if (!h->ptr) {
            MemFree(h);
            h = nullptr;
        }
    }
    if (!h) {
        HeapLogFailure("HAlloc", size);
        return nullptr;
    }
    h->size = size;
    heapLiveHandles++;
    return h;
}

Handle *HAllocCopy(uint32_t length, const void *bytes) {
    Handle *h = HAlloc(length);
    if (h && length) memcpy(h->ptr, bytes, length);
    return h;
}

Handle *HDup(const Handle *src) {
    return HAllocCopy(src->size, src->ptr);
}

int HRealloc(Handle *h, uint32_t size, int exact) {
    if (size < 4) size = 4;
    if (size >= heapSizeLimit) return 0;
    if (!exact && h->size >= size) return 1;
    if (size == h->size) return 1;
    void *block = MemRealloc(h->ptr, size);
    if (!block) {
        HeapLogFailure("HAlloc", size);
        return 0;
    }
    // Grown bytes come zero-filled, as every block of this layer does.
    if (size > h->size) memset((char *)block + h->size, 0, size - h->size);
    h->ptr = block;
    h->size = size;
    return 1;
}

int HResize(Handle *h, uint32_t size, void **outPtr) {
    int ok = HRealloc(h, size, 1);
    *outPtr = h->ptr;
    return ok;
}

void HFree(Handle *h) {
    if (!h) return;
    MemFree(h->ptr);
    MemFree(h);
    heapLiveHandles--;
}

int32_t HLiveCount() {
    return heapLiveHandles;
}
uint32_t HeapTotal() {
    return heapTotal;
}
