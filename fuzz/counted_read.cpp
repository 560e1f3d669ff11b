// Fuzz target: blocks, strings and long strings stored with a 32-bit length before them, read from a file of
// arbitrary bytes. The first input byte chooses what is read and the string buffer's size; the rest is the
// file. Reading goes on until a read fails. Expected: a block holds exactly the bytes that follow its length
// word; a string is cut at the buffer's size and ends with a NUL inside it (the buffer is exactly its size,
// so a byte past it is a checker report); a long string ends inside its block; every read moves forward; the
// table is left as it was.
#include "base/erc.h"
#include "base/file.h"
#include "base/heap.h"
#include "base/strfile.h"
#include "support/fuzz.h"

#include <cstring>
#include <vector>

static uint32_t FuzzWord(const uint8_t *at) {
    return (uint32_t)at[0] | (uint32_t)at[1] << 8 | (uint32_t)at[2] << 16 | (uint32_t)at[3] << 24;
}

static void FuzzReadBlocks(int file, const uint8_t *bytes, size_t size) {
    for (;;) {
        uint32_t at = FileTell(file);
        Handle *h = HandleRead(file);
        if (!h) break;
        FuzzCheck((uint64_t)at + 4 <= size, "a block has its length word");
        uint32_t n = FuzzWord(bytes + at);
        FuzzCheck((uint64_t)at + 4 + n <= size && FileTell(file) == at + 4 + n, "a block moves past itself");
        FuzzCheck(HSize(h) >= n && memcmp(HLock(h), bytes + at + 4, n) == 0, "a block holds its bytes");
        HFree(h);
    }
}

static void FuzzReadLongStrings(int file) {
    for (;;) {
        uint32_t at = FileTell(file);
        char *s = StrReadLong(file);
        if (!s) break;
        FuzzCheck(memchr(s, 0, LONG_STR_SIZE) != nullptr, "a long string ends inside its block");
        FuzzCheck(FileTell(file) > at + 4, "a long-string read moves past its length and text");
        FreeBlock(s);
    }
}

static void FuzzReadStrings(int file, int max) {
    std::vector<char> buffer(max + 1);
    for (;;) {
        uint32_t at = FileTell(file);
        if (!StrReadCounted(buffer.data(), file, max)) break;
        FuzzCheck(memchr(buffer.data(), 0, max + 1) != nullptr, "a string ends inside its buffer");
        FuzzCheck(FileTell(file) > at, "a string read moves forward");
    }
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    int mode = data[0];
    int open = FileCountOpen();
    int file = FuzzOpenBytes("counted.bin", data + 1, size - 1);
    if (mode % 3 == 0)
        FuzzReadBlocks(file, data + 1, size - 1);
    else if (mode % 3 == 1)
        FuzzReadStrings(file, mode / 3);
    else
        FuzzReadLongStrings(file);
    FileClose(file);
    FuzzCheck(FileCountOpen() == open, "closing frees the slot");
    ErcClear();
    return 0;
}
