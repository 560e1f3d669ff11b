// fileprim: directory search with attribute filters over one shared search handle (prefix FileFind).
#include "base/fileprim.h"

#include "base/utilil.h"

#include <cstring>

static HANDLE fileFindShared = INVALID_HANDLE_VALUE;

static bool FileFindPasses(const WIN32_FIND_DATAA *fd, int filter) {
    if (filter == FIND_ANY) return true;
    if (filter == FIND_FILES) return !(fd->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    return (fd->dwFileAttributes & (DWORD)filter) != 0;
}

static void FileFindCloseSlot(HANDLE *slot) {
    if (*slot != INVALID_HANDLE_VALUE && *slot) FindClose(*slot);
    *slot = INVALID_HANDLE_VALUE;
}

int FileFindEx(HANDLE *slot, int fFirst, int filter, const char *pattern, WIN32_FIND_DATAA *fd, char *name,
               int nameSize) {
    if (!slot) slot = &fileFindShared;
    bool found;
    if (fFirst) {
        FileFindCloseSlot(slot);
        *slot = FindFirstFileA(pattern, fd);
        if (*slot == INVALID_HANDLE_VALUE) return 0;
        found = FileFindPasses(fd, filter);
        if (!found && !strpbrk(pattern, "*?")) return 0;
    } else {
        found = false;
    }
    while (!found) {
        if (*slot == INVALID_HANDLE_VALUE || !FindNextFileA(*slot, fd)) return 0;
        found = FileFindPasses(fd, filter);
    }
    if (name) StrCopyMaxLen(fd->cFileName, name, nameSize - 1);
    return 1;
}

int FileFind(int fFirst, int filter, const char *pattern, WIN32_FIND_DATAA *fd, char *name) {
    return FileFindEx(nullptr, fFirst, filter, pattern, fd, name, 256);
}

void FileFindClose() {
    FileFindCloseSlot(&fileFindShared);
}
