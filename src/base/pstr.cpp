// pstr: length-prefixed strings (prefix Pstr): one length byte and at most 255 characters, no NUL.
#include "base/pstr.h"

#include "base/utilil.h"

#include <cstring>

// A length byte cannot say more than 255, so a longer string is cut rather than given a wrapped length.
unsigned char *PstrFromSzInPlace(char *s) {
    size_t n = strnlen(s, 255);
    memmove(s + 1, s, n);
    s[0] = (char)n;
    return (unsigned char *)s;
}

unsigned char *PstrFromSzInPlaceCut(char *s) {
    return PstrFromSzInPlace(s);
}

unsigned char *PstrAppend(const unsigned char *src, unsigned char *dst) {
    PstrAppendMax(src, dst, 255);
    return dst;
}

// A source that does not fit is cut at max. (Marking the overflow with a length of max + 1 would make
// readers take one byte past the buffer, and with max 255 the length byte would wrap to 0.)
int PstrAppendMax(const unsigned char *src, unsigned char *dst, int max) {
    if (max > 255) max = 255;
    int have = dst[0] < max ? dst[0] : max;
    int n = src[0];
    int room = max - have;
    int fits = n <= room;
    if (!fits) n = room;
    memmove(dst + 1 + have, src + 1, n);
    dst[0] = (unsigned char)(have + n);
    return fits;
}

static Handle *PstrHandleMake(const char *s, size_t n, int withNul) {
    Handle *h = HAlloc((uint32_t)(n + 1 + withNul));
    if (!h) return nullptr;
    unsigned char *p = (unsigned char *)HLock(h);
    p[0] = (unsigned char)n;
    memcpy(p + 1, s, n);
    return h; // zeroed, so the NUL of the Nul form is in place
}

Handle *PstrHandleFromSz(const char *s) {
    return PstrHandleMake(s, strnlen(s, 255), 0);
}

Handle *PstrHandleDup(const unsigned char *pstr) {
    return PstrHandleMake((const char *)pstr + 1, pstr[0], 0);
}

Handle *PstrHandleFromSzNul(const char *s) {
    return PstrHandleMake(s, strnlen(s, 255), 1);
}

bool PstrHasPrefixSz(const unsigned char *pstr, const char *s) {
    size_t n = strlen(s);
    return n <= pstr[0] && memcmp(pstr + 1, s, n) == 0;
}
