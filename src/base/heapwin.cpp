// heapwin: global blocks on Win32 (prefix GlobalBlock): GlobalAlloc with GMEM_ZEROINIT, fixed in place so the
// handle is the pointer.
#include "base/heapwin.h"

#include <windows.h>

static int globalBlockFailures;

void GlobalBlockFailNext(int count) {
    globalBlockFailures = count;
}

void *GlobalBlockAlloc(size_t size) {
    if (globalBlockFailures > 0) {
        globalBlockFailures--;
        return nullptr;
    }
    return (void *)GlobalAlloc(GPTR, size);
}

void GlobalBlockFree(void *block) {
    if (block) GlobalFree((HGLOBAL)block);
}
