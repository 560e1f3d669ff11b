// globalblock_win: GlobalAlloc with GMEM_ZEROINIT, fixed in place so the handle is the pointer.
#include "base/globalblock.h"

#include <windows.h>

void *GlobalBlockOsAlloc(size_t size) {
    return (void *)GlobalAlloc(GPTR, size);
}

void GlobalBlockOsFree(void *block) {
    GlobalFree((HGLOBAL)block);
}
