// os: Win32 answers for the portable modules.
#include "base/os.h"

#include "base/reg.h"

#include <windows.h>

uint32_t OsLastError() {
    return GetLastError();
}

void OsGetLocalTime(OsDateTime *out) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    *out = {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

int OsSettingGetInt(const char *name, int32_t *out) {
    return RegQueryInt(RegUserProgramKey(), name, out);
}

int OsSettingSetInt(const char *name, int32_t value) {
    return RegUserProgramKey() && RegSetInt(RegUserProgramKey(), name, value) == ERROR_SUCCESS;
}

int OsSettingDelete(const char *name) {
    return RegUserProgramKey() && RegDeleteValueA(RegUserProgramKey(), name) == ERROR_SUCCESS;
}
