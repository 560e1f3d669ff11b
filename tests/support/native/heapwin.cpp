// Native stand-in for the Windows-only heapwin module: global blocks come from the C library, zero-filled,
// with the same failure seam.
#include "base/heapwin.h"

#include <cstdlib>

static int globalBlockFailures;

void GlobalBlockFailNext(int count) {
    globalBlockFailures = count;
}

void *GlobalBlockAlloc(size_t size) {
    if (globalBlockFailures > 0) {
        globalBlockFailures--;
        return nullptr;
    }
    return calloc(1, size ? size : 1);
}

void GlobalBlockFree(void *block) {
    free(block);
}
