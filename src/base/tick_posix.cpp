// tick_posix: a steady clock in milliseconds for the native build; like the system's tick count it wraps
// after 49.7 days.
#include "base/tick.h"

#include <ctime>

uint32_t TickOsNow() {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint32_t)((uint64_t)now.tv_sec * 1000u + (uint64_t)now.tv_nsec / 1000000u);
}

void TickOsSleep(uint32_t ms) {
    struct timespec wait = {(time_t)(ms / 1000), (long)(ms % 1000) * 1000000L};
    nanosleep(&wait, nullptr);
}
