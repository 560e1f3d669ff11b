// util_win: the system side of the utilities: environment variables, and the system time record.

#include "base/util.h"
#include "base/heap.h"
#include "base/utilil.h"

#include <windows.h>

#include <cstddef>

// SystemTime mirrors the system's time record so that either can be handed to SystemTimeCompare.
static_assert(sizeof(SystemTime) == sizeof(SYSTEMTIME));
static_assert(offsetof(SystemTime, day) == offsetof(SYSTEMTIME, wDay));
static_assert(offsetof(SystemTime, second) == offsetof(SYSTEMTIME, wSecond));
static_assert(offsetof(SystemTime, milliseconds) == offsetof(SYSTEMTIME, wMilliseconds));

// A value longer than the buffer is cut (the system call would leave the buffer untouched and only report
// the size it needs).
int SysGetEnv(const char *name, char *buffer, int size) {
    if (size <= 0) return 0;
    buffer[0] = 0;
    DWORD n = GetEnvironmentVariableA(name, buffer, (DWORD)size);
    if (n >= (DWORD)size) {
        char *whole = (char *)MemAlloc(n);
        DWORD got = whole ? GetEnvironmentVariableA(name, whole, n) : 0;
        StrCopyMaxLen(got && got < n ? whole : "", buffer, size - 1);
        MemFree(whole);
    } else if (n == 0) {
        buffer[0] = 0;
    }
    return buffer[0] != 0;
}
