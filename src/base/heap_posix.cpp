// heap_posix: the size of a C library block in the native build.
#include "base/heap.h"

#include <malloc.h>

size_t HeapOsBlockSize(void *block) {
    return malloc_usable_size(block);
}
