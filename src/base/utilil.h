// utilil: small helpers every module shares: integer ranges, string copies, length-prefixed strings and the
// case fold of case-blind comparison. A length-prefixed string is one length byte and up to 255 characters.
#pragma once

#include <cstdint>
#include <cstring>

inline int32_t Min(int32_t a, int32_t b) {
    return a < b ? a : b;
}
inline int32_t MinInt(int32_t a, int32_t b) {
    return Min(a, b);
}
inline int32_t Max(int32_t a, int32_t b) {
    return a > b ? a : b;
}
inline int32_t Average(int32_t a, int32_t b) {
    return (a + b + 1) / 2;
}
inline int32_t HalfUp(int32_t n) {
    return (n + 1) / 2;
}
inline int32_t Abs(int32_t v) {
    return v < 0 ? -v : v;
}

// lo when v < lo, else hi when v > hi, else v; the bounds are not reordered.
inline int32_t ClampValue(int32_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

// v limited to the range between a and b, which may come in either order.
inline int32_t Clamp(int32_t v, int32_t a, int32_t b) {
    return a <= b ? ClampValue(v, a, b) : ClampValue(v, b, a);
}
inline bool IntInRange(int32_t v, int32_t lo, int32_t hi) {
    return lo <= v && v < hi;
}

// Length-prefixed strings.
unsigned char *PstrFromSzMax(const char *sz, unsigned char *pstr, int max);
inline unsigned char *PstrFromSz(const char *sz, unsigned char *pstr) {
    return PstrFromSzMax(sz, pstr, 255);
}
inline bool PstrEqual(const unsigned char *a, const unsigned char *b) {
    return memcmp(a, b, a[0] + 1) == 0;
}

// C strings.
int StrCopyMaxLen(const char *src, char *dst, int max);
int StrCopyLen(const char *src, char *dst);
char *StrCopyRange(const char *start, const char *end, char *dst, int size);
inline const char *StrChrEnd(const char *s, int c) {
    while (*s && *s != (char)c) s++;
    return s;
}
inline const char *StrOrEmpty(const char *s) {
    return s ? s : "";
}

// Case-blind comparison folds every byte above 96 down by 32, letters or not: '{' equals '['.
inline int CharBeforeLower(unsigned char c) {
    return c <= 96;
}
inline int CharFromLower(unsigned char c) {
    return c > 96;
}
inline int CharFold(unsigned char c) {
    return c > 96 ? c - 32 : c;
}
inline int CharCmpI(unsigned char a, unsigned char b) {
    return a == b ? 0 : CharFold(a) - CharFold(b);
}
bool StrEqualI(const char *a, const char *b);
