// fileprim: directory search with attribute filters over one shared search handle (prefix FileFind), the
// share roots of network paths, and file times.
// A search that brings no slot of its own uses the shared handle; a new first search closes the previous
// one, and the file layer's idle step and shutdown close it through FileFindClose.
#include "base/fileprim.h"

#include "base/path.h"
#include "base/utilil.h"
#include "base/win.h"

#include <winnetwk.h>

#include <cstring>

static HANDLE fileFindShared = INVALID_HANDLE_VALUE;
static bool FileFindPasses(const WIN32_FIND_DATAA *fd, int filter) {
    if (filter == FIND_ANY) return true;
    if (filter == FIND_FILES) return !(fd->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    return (fd->dwFileAttributes & (DWORD)filter) != 0;
}

void FileFindCloseSlot(HANDLE *slot) {
    if (*slot != INVALID_HANDLE_VALUE && *slot) FindClose(*slot);
    *slot = INVALID_HANDLE_VALUE;
}

static bool FileFindIsShareRoot(const char *pattern) {
    return pattern[0] == '\\' && pattern[1] == '\\' && PathIsRoot(pattern);
}

// A share root has no entry of its own in a directory listing: it is reported as a folder named by the
// pattern, which is what the callers asked for.
static void FileFindAsShareFolder(const char *pattern, WIN32_FIND_DATAA *fd) {
    fd->dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    StrCopyMaxLen(pattern, fd->cFileName, (int)sizeof fd->cFileName - 1);
}

// The older system family finds nothing for \\server\share itself; connecting to it tells whether it is
// there. A connection made only for the test is cancelled again. 1 reported, 0 none, -1 search normally.
static int FileFindShare9x(const char *pattern, int filter, WIN32_FIND_DATAA *fd) {
    if (!SysIsWin9x() || pattern[0] != '\\' || pattern[1] != '\\') return -1;
    if (filter != FIND_ANY && filter != FIND_FOLDERS) return -1;
    if (strlen(pattern) <= 3 || !strchr(pattern + 3, '\\')) return 0;
    if (!PathIsRoot(pattern)) return -1;
    DWORD result = WNetAddConnectionA(pattern, nullptr, nullptr);
    if (result != NO_ERROR && result != ERROR_ALREADY_ASSIGNED) return 0;
    if (result == NO_ERROR) WNetCancelConnectionA(pattern, FALSE);
    memset(fd, 0, sizeof *fd);
    FileFindAsShareFolder(pattern, fd);
    return 1;
}

// The first entry of a new search on the slot: 1 it passes the filter, 0 none (or none will), -1 the search
// goes on with the next entries.
static int FileFindStart(HANDLE *slot, int filter, const char *pattern, WIN32_FIND_DATAA *fd) {
    FileFindCloseSlot(slot);
    int share = FileFindShare9x(pattern, filter, fd);
    if (share >= 0) return share;
    *slot = FindFirstFileA(pattern, fd);
    if (*slot == INVALID_HANDLE_VALUE) return 0;
    bool shareRoot = FileFindIsShareRoot(pattern);
    if (shareRoot) FileFindAsShareFolder(pattern, fd);
    if (FileFindPasses(fd, filter)) return 1;
    return shareRoot || !PathHasWildcards(pattern) ? 0 : -1;
}

int FileFindEx(HANDLE *slot, int fFirst, int filter, const char *pattern, WIN32_FIND_DATAA *fd, char *name,
               int nameSize) {
    if (!slot) slot = &fileFindShared;
    int found = fFirst ? FileFindStart(slot, filter, pattern, fd) : -1;
    while (found < 0) {
        if (*slot == INVALID_HANDLE_VALUE || !FindNextFileA(*slot, fd)) return 0;
        if (FileFindPasses(fd, filter)) found = 1;
    }
    if (!found) return 0;
    if (name) StrCopyMaxLen(fd->cFileName, name, nameSize - 1);
    return 1;
}

int FileFind(int fFirst, int filter, const char *pattern, WIN32_FIND_DATAA *fd, char *name) {
    return FileFindEx(nullptr, fFirst, filter, pattern, fd, name, 256);
}

void FileFindClose() {
    FileFindCloseSlot(&fileFindShared);
}

int FileTouchTime(HANDLE file) {
    SYSTEMTIME now;
    FILETIME time;
    GetSystemTime(&now);
    return SystemTimeToFileTime(&now, &time) && SetFileTime(file, nullptr, nullptr, &time);
}

int FileTimeToDateText(FILETIME time, char *buffer, int size) {
    FILETIME local;
    SYSTEMTIME st;
    if (size <= 0) return 0;
    buffer[0] = 0;
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &st)) return 0;
    if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, size)) return 1;
    buffer[0] = 0; // a buffer too small is left holding part of the text
    return 0;
}
