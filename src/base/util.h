// util: the few shared helpers that belong to no larger family: the binary search over an array, the
// comparison of system times and the environment.
#pragma once

#include <cstdint>

// The layout of the system's time record, so that portable code can compare file times.
struct SystemTime {
    uint16_t year, month, dayOfWeek, day, hour, minute, second, milliseconds;
};
int SystemTimeCompare(const SystemTime *a, const SystemTime *b, int tolerance);

typedef int (*ArrayCompare)(const void *key, const void *element);
int ArraySearch(const void *key, const void *base, int count, int elementSize, ArrayCompare compare,
                int *index);

int SysGetEnv(const char *name, char *buffer, int size); // a longer value is cut
