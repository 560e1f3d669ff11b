// util_posix: the system side of the utilities on POSIX, for the native build: the tick count, sleeping
// and environment variables.
#include "base/util.h"

#include <cstdlib>
#include <ctime>

// Milliseconds of a steady clock; like the system's tick count it wraps after 49.7 days.
uint32_t UtilOsTickCount() {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint32_t)((uint64_t)now.tv_sec * 1000u + (uint64_t)now.tv_nsec / 1000000u);
}

void UtilOsSleep(uint32_t ms) {
    struct timespec wait = {(time_t)(ms / 1000), (long)(ms % 1000) * 1000000L};
    nanosleep(&wait, nullptr);
}

// A value longer than the buffer is cut.
int SysGetEnv(const char *name, char *buffer, int size) {
    if (size <= 0) return 0;
    StrCopyMaxLen(StrOrEmpty(getenv(name)), buffer, size - 1);
    return buffer[0] != 0;
}
