// globalblock_posix: the native build's global blocks come from the C library, zero-filled.
#include "base/globalblock.h"

#include <cstdlib>

void *GlobalBlockOsAlloc(size_t size) {
    return calloc(1, size ? size : 1);
}

void GlobalBlockOsFree(void *block) {
    free(block);
}
