// tick_win: the system's tick count and sleep.
#include "base/tick.h"

#include <windows.h>

uint32_t TickOsNow() {
    return GetTickCount();
}

void TickOsSleep(uint32_t ms) {
    Sleep(ms);
}
