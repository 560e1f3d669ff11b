// tick: the one clock of the program (prefix Tick), in milliseconds; it wraps after 49.7 days. Every timing
// of every module reads TickNow, and sleeps through TickSleep, so that tests can run time on a fake clock.
#pragma once

#include <cstdint>

uint32_t TickNow();
void TickSleep(uint32_t ms);
void TickPace();                    // at most one call every 33 ms: sleeps the rest
uint32_t TickBusyWait(uint32_t ms); // spins on the clock; returns the time that passed

// Test seam: the clock and the sleep; null puts the system's back (each on its own).
typedef uint32_t (*TickClockFn)();
typedef void (*TickSleepFn)(uint32_t ms);
void TickSetClock(TickClockFn now, TickSleepFn sleep);

// The system's side (tick_win.cpp, tick_posix.cpp).
uint32_t TickOsNow();
void TickOsSleep(uint32_t ms);
