// Fuzz target: the request block another instance hands over, read as a receiver reads it. The input is the
// view the receiver mapped (the block and whatever follows it in the view's pages). Expected: a block is read
// only when its header fits and its length stays within the view; then the fields are the header's words, the
// data is a copy of the bytes after the header ending in a NUL, and written back the block gives the same
// bytes; a refused block leaves an entry without data; nothing is left behind.
#include "base/heap.h"
#include "shell/instblock.h"
#include "support/fuzz.h"

#include <cstring>
#include <vector>

static uint32_t FuzzWord(const uint8_t *at) {
    return (uint32_t)at[0] | (uint32_t)at[1] << 8 | (uint32_t)at[2] << 16 | (uint32_t)at[3] << 24;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    int32_t handles = HLiveCount();
    // An exact copy, so that a read past the view is a checker report.
    std::vector<uint8_t> view(data, data + size);
    InstanceEntry entry;
    bool read = InstBlockRead(view.empty() ? nullptr : view.data(), view.size(), &entry);
    bool fits = size >= INSTBLOCK_HEADER_SIZE && FuzzWord(data + 12) <= size - INSTBLOCK_HEADER_SIZE &&
                FuzzWord(data + 12) <= INSTBLOCK_DATA_MAX;
    FuzzCheck(read == fits || (fits && !read && entry.data == nullptr),
              "a block is read exactly when it fits");
    if (!read) {
        FuzzCheck(entry.data == nullptr && entry.length == 0 && entry.code == 0,
                  "a refused block has no data");
    } else {
        FuzzCheck((uint32_t)entry.code == FuzzWord(data) && entry.window == FuzzWord(data + 4),
                  "the fields are the header's");
        FuzzCheck(entry.length == FuzzWord(data + 12), "the length is the header's");
        FuzzCheck(memcmp(entry.data, data + INSTBLOCK_HEADER_SIZE, entry.length) == 0, "the data is copied");
        FuzzCheck(entry.data[entry.length] == 0, "the copy ends in a NUL");
        std::vector<uint8_t> again(InstBlockSize(entry.length));
        InstBlockWrite(again.data(), (uint32_t)entry.code, entry.window, FuzzWord(data + 8), entry.data,
                       entry.length);
        FuzzCheck(memcmp(again.data(), data, again.size()) == 0, "written back, the block is the same");
        InstBlockFreeEntry(&entry);
    }
    FuzzCheck(HLiveCount() == handles, "nothing is left behind");
    return 0;
}
