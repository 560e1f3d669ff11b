// heapwin: global blocks on Win32 (prefix GlobalBlock): GlobalAlloc with GMEM_ZEROINIT, fixed in place so the
// handle is the pointer.
#include "base/heapwin.h"

#include <windows.h>

static int globalBlockFailCountdown;

void GlobalBlockFailNthAlloc(int n) {
    globalBlockFailCountdown = n;
}

void *GlobalBlockAlloc(size_t size) {
    if (globalBlockFailCountdown > 0 && --globalBlockFailCountdown == 0) return nullptr;
    return (void *)GlobalAlloc(GPTR, size);
}

void GlobalBlockFree(void *block) {
    if (block) GlobalFree((HGLOBAL)block);
}
