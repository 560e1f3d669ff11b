// tick: the clock every timing reads, and its test seam.
#include "base/tick.h"

#include "base/seam.h"

enum { TICK_PACE_MS = 33 };

static TickClockFn tickNow = TickOsNow;
static TickSleepFn tickSleep = TickOsSleep;
static uint32_t tickPaceLast;

static void TickResetSeams() {
    tickNow = TickOsNow;
    tickSleep = TickOsSleep;
}

void TickSetClock(TickClockFn now, TickSleepFn sleep) {
    tickNow = now ? now : TickOsNow;
    tickSleep = sleep ? sleep : TickOsSleep;
    SeamRegisterReset(TickResetSeams);
}

uint32_t TickNow() {
    return tickNow();
}

void TickSleep(uint32_t ms) {
    tickSleep(ms);
}

void TickPace() {
    uint32_t now = tickNow();
    uint32_t passed = now - tickPaceLast; // unsigned: right across the tick count's wrap
    if (passed < TICK_PACE_MS) {
        tickSleep(TICK_PACE_MS - passed);
        now = tickNow();
    }
    tickPaceLast = now;
}

uint32_t TickBusyWait(uint32_t ms) {
    uint32_t start = tickNow(), passed;
    while ((passed = tickNow() - start) < ms) {
    }
    return passed;
}
