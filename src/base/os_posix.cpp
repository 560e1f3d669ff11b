// os: POSIX answers for the portable modules in the native build, and what the POSIX back-ends share.
#include "base/os.h"
#include "base/os_posix.h"

#include <cctype>
#include <cerrno>

uint32_t OsLastError() {
    return (uint32_t)errno;
}

// A drive letter names the root: "C:\a" is "/a", and "C:" alone the current folder.
std::string OsPosixPath(const char *path) {
    if (isalpha((unsigned char)path[0]) && path[1] == ':') path += 2;
    std::string name(*path ? path : ".");
    for (char &c : name)
        if (c == '\\') c = '/';
    return name;
}
