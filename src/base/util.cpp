// util: the few shared helpers that belong to no larger family: the binary search over an array, the
// comparison of system times, and the environment (util_win.cpp, util_posix.cpp).

#include "base/util.h"
#include <climits>
#include <cstddef>

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
static int64_t UtilDaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

static int64_t UtilSecondsOf(const SystemTime *t) {
    int64_t days = UtilDaysFromCivil(t->year, t->month, t->day);
    return days * 86400 + t->hour * 3600 + t->minute * 60 + t->second;
}

// Compared as one count of seconds, so that two times a second apart across a minute, hour or day
// boundary still fall within the tolerance. The result is the difference in seconds, saturated.
int SystemTimeCompare(const SystemTime *a, const SystemTime *b, int tolerance) {
    int64_t d = UtilSecondsOf(a) - UtilSecondsOf(b);
    if ((d < 0 ? -d : d) < tolerance) return 0;
    return d > INT_MAX ? INT_MAX : d < -INT_MAX ? -INT_MAX : (int)d;
}

// The first element not ordered before the key: its index is the match or the insertion point.
int ArraySearch(const void *key, const void *base, int count, int elementSize, ArrayCompare compare,
                int *index) {
    int lo = 0, hi = count;
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (compare(key, (const char *)base + (size_t)mid * elementSize) > 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (index) *index = lo;
    return lo < count && compare(key, (const char *)base + (size_t)lo * elementSize) == 0;
}
