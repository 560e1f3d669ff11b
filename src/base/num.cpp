// num: integer arithmetic without overflow (prefix Num, and BitLength).
#include "base/num.h"

#include <climits>

int BitLength(uint32_t v) {
    int n = 0;
    for (; v; v >>= 1) n++;
    return n;
}

static int32_t NumSaturate(int64_t v) {
    return v > INT_MAX ? INT_MAX : v < -INT_MAX ? -INT_MAX : (int32_t)v;
}

// Exact in 64 bits: scaling the operands down to fit 31 bits (the old way) threw the result away when a
// was small and b large (1 × 2^30 / 2 gave 0), and |INT_MIN| overflowed. An out-of-range result saturates
// with its sign; a zero divisor gives INT_MAX.
int32_t NumMulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return INT_MAX;
    int64_t ua = a < 0 ? -(int64_t)a : a, ub = b < 0 ? -(int64_t)b : b, uc = c < 0 ? -(int64_t)c : c;
    uint64_t product = (uint64_t)ua * (uint64_t)ub;
    uint64_t r = (product + (uint64_t)uc / 2) / (uint64_t)uc;
    if (r > (uint64_t)INT_MAX) r = (uint64_t)INT_MAX + 1; // saturated below
    int negative = ((a < 0) != (b < 0)) != (c < 0);
    return NumSaturate(negative ? -(int64_t)r : (int64_t)r);
}

int32_t NumDivRound(int32_t a, int32_t b) {
    return NumMulDiv(a, 1, b);
}

int32_t NumDivCeil(int32_t a, int32_t b) {
    if (b == 0) return INT_MAX;
    int64_t q = (int64_t)a / b, r = (int64_t)a % b;
    if (r != 0 && (r < 0) == (b < 0)) q++;
    return NumSaturate(q);
}

int32_t NumPercentOf(int32_t part, int32_t whole) {
    if (part == 0) return 0;
    if (whole == 0) return 100;
    return NumMulDiv(part, 100, whole);
}
