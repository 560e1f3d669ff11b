// Fuzz target: the string table block's file form read from arbitrary bytes. Expected: an accepted block
// passes StbCheck, and written back and read again gives
// the same strings and values.
#include "base/erc.h"
#include "base/file.h"
#include "base/stb.h"
#include "support/fuzz.h"

#include <cstring>

static bool FuzzSameStrings(const Stb *a, const Stb *b) {
    if (StbCount(a) != StbCount(b)) return false;
    for (int32_t i = 0; i < StbCount(a); i++) {
        unsigned char x[257], y[257]; // a 255-character string and its stored NUL
        int32_t vx, vy;
        StbGet(a, i, x, &vx);
        StbGet(b, i, y, &vy);
        if (vx != vy || x[0] != y[0] || memcmp(x + 1, y + 1, x[0]) != 0) return false;
    }
    return true;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    int open = FileCountOpen();
    int file = FuzzOpenBytes("stb.bin", data, size);
    if (Stb *block = StbRead(file)) {
        FuzzCheck(StbCheck(block) == 1, "a block read is sound");
        int scratch = FuzzOpenBytes("stb-again.bin", nullptr, 0);
        FuzzCheck(StbWrite(block, scratch) == 1, "a block read can be written");
        FileSeek(scratch, 0);
        Stb *again = StbRead(scratch);
        FuzzCheck(again && FuzzSameStrings(block, again), "the block survives the round trip");
        StbFree(&again);
        StbFree(&block);
        FileClose(scratch);
    }
    FileClose(file);
    FuzzCheck(FileCountOpen() == open, "the files are closed");
    ErcClear();
    return 0;
}
