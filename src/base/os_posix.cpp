// os: POSIX answers for the portable modules in the native build.
#include "base/os.h"

#include <cerrno>

uint32_t OsLastError() {
    return (uint32_t)errno;
}
