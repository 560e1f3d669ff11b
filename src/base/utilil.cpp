// utilil: the small shared helpers of utilil.h that are not inline.
#include "base/utilil.h"

#include <cstddef>

unsigned char *PstrFromSzMax(const char *sz, unsigned char *pstr, int max) {
    if (max > 255) max = 255;
    size_t n = strnlen(sz, max);
    pstr[0] = (unsigned char)n;
    memcpy(pstr + 1, sz, n);
    return pstr;
}

int StrCopyMaxLen(const char *src, char *dst, int max) {
    size_t n = strnlen(src, max < 0 ? 0 : max);
    memcpy(dst, src, n);
    dst[n] = 0;
    return (int)n;
}

int StrCopyLen(const char *src, char *dst) {
    size_t n = strlen(src);
    memcpy(dst, src, n + 1);
    return (int)n;
}

char *StrCopyRange(const char *start, const char *end, char *dst, int size) {
    if (size <= 0) return dst;
    ptrdiff_t n = end - start;
    if (n < 0) n = 0;
    if (n > size - 1) n = size - 1;
    memcpy(dst, start, n);
    dst[n] = 0;
    return dst;
}

bool StrEqualI(const char *a, const char *b) {
    for (; *a && *b; a++, b++)
        if (CharCmpI(*a, *b)) return 0;
    return *a == *b;
}
