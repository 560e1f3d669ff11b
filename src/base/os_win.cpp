// os: Win32 answers for the portable modules.
#include "base/os.h"

#include <windows.h>

uint32_t OsLastError() {
    return GetLastError();
}

void OsGetLocalTime(OsDateTime *out) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    *out = {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}
