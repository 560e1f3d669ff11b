// path_posix: the system side of path names on POSIX, for the native build. Paths keep their Windows form
// inside the program: the current folder is read with backslashes ("\tmp\dir").
#include "base/path.h"

#include "base/os_posix.h"

#include <climits>
#include <cstring>
#include <unistd.h>

int PathOsGetCurrentDir(char *buffer) {
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd) || strlen(cwd) > PATH_MAX_CHARS) {
        buffer[0] = 0;
        return 0;
    }
    strcpy(buffer, cwd);
    PathNormalize(buffer);
    return 1;
}

int PathOsSetCurrentDir(const char *folder) {
    return chdir(OsPosixPath(folder).c_str()) == 0;
}

// The longest name the folder's file system allows; root null asks about the current folder's.
int PathOsMaxComponentLength(const char *root) {
    long longest = pathconf(OsPosixPath(root ? root : ".").c_str(), _PC_NAME_MAX);
    return longest > 0 ? (int)longest : 0;
}
