// util_posix: the system side of the utilities on POSIX, for the native build: environment variables.

#include "base/util.h"
#include "base/utilil.h"

#include <cstdlib>

// A value longer than the buffer is cut.
int SysGetEnv(const char *name, char *buffer, int size) {
    if (size <= 0) return 0;
    StrCopyMaxLen(StrOrEmpty(getenv(name)), buffer, size - 1);
    return buffer[0] != 0;
}
