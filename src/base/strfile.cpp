// strfile: blocks and strings inside files of other modules (prefixes Handle, Str...Counted, Str...Long).
// Stored forms:
//   counted block:  uint32 length (little-endian), then length bytes.
//   counted string: uint32 length including the NUL (little-endian), then the characters and the NUL.
//   long string:    uint32 length (characters + 1, at most 2560), then the characters and the NUL.
#include "base/strfile.h"

#include "base/file.h"
#include "base/utilil.h"

#include <cstring>

static int UtilWriteLength(int file, uint32_t n) {
    unsigned char b[4] = {(unsigned char)n, (unsigned char)(n >> 8), (unsigned char)(n >> 16),
                          (unsigned char)(n >> 24)};
    return FileWriteExact(file, b, 4);
}

// The stored length, or 0 when it is missing or says more than the file still holds (a corrupt length
// must not turn into a huge allocation or a skip past the end).
static int UtilReadLength(int file, uint32_t *n) {
    unsigned char b[4];
    if (!FileReadExact(file, b, 4)) return 0;
    *n = b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
    uint32_t size = FileGetSize(file), at = FileTell(file);
    return at <= size && *n <= size - at;
}

int HandleWrite(int file, const Handle *h) {
    uint32_t n = HSize(h);
    return UtilWriteLength(file, n) && FileWriteExact(file, HLock(h), (int32_t)n);
}

Handle *HandleRead(int file) {
    uint32_t n;
    if (!UtilReadLength(file, &n)) return nullptr;
    Handle *h = HAlloc(n);
    if (h && !FileReadExact(file, HLock(h), (int32_t)n)) {
        HFree(h);
        h = nullptr;
    }
    return h;
}

int StrWriteCounted(const char *s, int file) {
    uint32_t n = (uint32_t)strlen(s) + 1;
    return UtilWriteLength(file, n) && FileWriteExact(file, s, (int32_t)n);
}

// At most max characters are read and the NUL goes at buffer[max] at the latest: a stored string of max
// or more characters must not have its NUL written one past the caller's max + 1 bytes.
int StrReadCounted(char *buffer, int file, int max) {
    buffer[0] = 0;
    uint32_t n;
    if (max < 0 || !UtilReadLength(file, &n)) return 0;
    uint32_t take = n < (uint32_t)max ? n : (uint32_t)max;
    if (!FileReadExact(file, buffer, (int32_t)take)) {
        buffer[0] = 0;
        return 0;
    }
    buffer[take] = 0;
    FileSkip(file, (int32_t)(n - take));
    return 1;
}

// Long strings.

char *LongStrAlloc() {
    return (char *)MemAlloc(LONG_STR_SIZE);
}

// A string that does not fit a long-string block could be written but never read back.
int StrWriteLong(const char *s, int file) {
    if (strlen(s) + 1 > LONG_STR_SIZE) return 0;
    return StrWriteCounted(s, file);
}

// The length comes from the file: one outside 1..2560 would overrun the block (or ask for none), so it is a
// short read. A damaged record without its NUL is still ended inside the block.
char *StrReadLong(int file) {
    unsigned char b[4];
    if (!FileReadExact(file, b, 4)) return nullptr;
    uint32_t n = b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
    if (n < 1 || n > LONG_STR_SIZE) return nullptr;
    char *s = LongStrAlloc();
    if (!s) return nullptr;
    if (!FileReadExact(file, s, (int32_t)n)) {
        FreeBlock(s);
        return nullptr;
    }
    s[n - 1] = 0;
    return s;
}
