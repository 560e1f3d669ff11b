// os: the few operating-system facts that portable modules need, behind plain functions.
// The Windows build implements them with Win32 calls (os_win.cpp).
#pragma once

#include <cstdint>

uint32_t OsLastError();

// The local date and time (the log's line prefix).
struct OsDateTime {
    uint16_t year;
    uint16_t month; // 1..12
    uint16_t day;
    uint16_t hour; // 0..23
    uint16_t minute;
    uint16_t second;
};
void OsGetLocalTime(OsDateTime *out);

// Number values of the program's per-user settings: on Windows the registry's per-user program key (decimal
// text, as the registry layer writes numbers); the native build keeps them in memory for the run. Get answers
// 1 and the value when the value exists; Set and Delete answer 1 when done.
int OsSettingGetInt(const char *name, int32_t *out);
int OsSettingSetInt(const char *name, int32_t value);
int OsSettingDelete(const char *name);
