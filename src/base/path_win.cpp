// path_win: the system side of path names: the current folder and what a volume allows.
#include "base/path.h"

#include <windows.h>

int PathOsGetCurrentDir(char *buffer) {
    DWORD n = GetCurrentDirectoryA(PATH_BUFFER, buffer);
    if (n == 0 || n >= PATH_BUFFER) { // a longer folder only reports the size it needs
        buffer[0] = 0;
        return 0;
    }
    PathNormalize(buffer);
    return 1;
}

int PathOsSetCurrentDir(const char *folder) {
    return SetCurrentDirectoryA(folder) != 0;
}

int PathOsMaxComponentLength(const char *root) {
    DWORD longest = 0;
    if (!GetVolumeInformationA(root, nullptr, 0, nullptr, &longest, nullptr, nullptr, 0)) return 0;
    return (int)longest;
}
