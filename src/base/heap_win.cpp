// heap_win: the size of a C library block on Windows.
#include "base/heap.h"

#include <malloc.h>

size_t HeapOsBlockSize(void *block) {
    return _msize(block);
}
