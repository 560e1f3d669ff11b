// os: Win32 answers for the portable modules.
#include "base/os.h"

#include <windows.h>

uint32_t OsLastError() {
    return GetLastError();
}
