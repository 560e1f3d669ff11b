// instblock: writing and reading the request block between instances (prefix InstBlock). Words are put and
// taken byte by byte, so the block reads the same on any host.
#include "shell/instblock.h"

#include "base/heap.h"

#include <cstring>

static void InstBlockPut32(unsigned char *at, uint32_t value) {
    for (int i = 0; i < 4; i++) at[i] = (unsigned char)(value >> (8 * i));
}

static uint32_t InstBlockGet32(const unsigned char *at) {
    return (uint32_t)at[0] | (uint32_t)at[1] << 8 | (uint32_t)at[2] << 16 | (uint32_t)at[3] << 24;
}

uint32_t InstBlockSize(uint32_t length) {
    return length > INSTBLOCK_DATA_MAX ? 0 : INSTBLOCK_HEADER_SIZE + length;
}

void InstBlockWrite(void *block, uint32_t code, uint32_t window, uint32_t address, const void *data,
                    uint32_t length) {
    unsigned char *bytes = (unsigned char *)block;
    memset(bytes, 0, INSTBLOCK_HEADER_SIZE + (size_t)length);
    InstBlockPut32(bytes + offsetof(InstanceRequestHeader, code), code);
    InstBlockPut32(bytes + offsetof(InstanceRequestHeader, window), window);
    InstBlockPut32(bytes + offsetof(InstanceRequestHeader, address), address);
    InstBlockPut32(bytes + offsetof(InstanceRequestHeader, length), length);
    if (length) memcpy(bytes + INSTBLOCK_HEADER_SIZE, data, length);
}

bool InstBlockRead(const void *view, size_t viewSize, InstanceEntry *out) {
    *out = {};
    const unsigned char *bytes = (const unsigned char *)view;
    if (!bytes || viewSize < INSTBLOCK_HEADER_SIZE) return false;
    uint32_t length = InstBlockGet32(bytes + offsetof(InstanceRequestHeader, length));
    // A length past the view would read beyond the mapping: such a block is refused whole.
    if (length > viewSize - INSTBLOCK_HEADER_SIZE || length > INSTBLOCK_DATA_MAX) return false;
    char *data = (char *)MemAlloc((size_t)length + 1);
    if (!data) return false;
    memcpy(data, bytes + INSTBLOCK_HEADER_SIZE, length);
    data[length] = 0;
    out->code = (int32_t)InstBlockGet32(bytes + offsetof(InstanceRequestHeader, code));
    out->window = InstBlockGet32(bytes + offsetof(InstanceRequestHeader, window));
    out->data = data;
    out->length = length;
    return true;
}

void InstBlockFreeEntry(InstanceEntry *entry) {
    MemFree(entry->data);
    entry->data = nullptr;
}
