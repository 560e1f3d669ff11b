// fileprim: directory search with attribute filters over one shared search (prefix FileFind), the share
// roots of network paths, and file times.
// A search that brings no slot of its own uses the shared one; a new first search closes the previous one,
// and the file layer's idle step and shutdown close it through FileFindClose.
#include "base/fileprim.h"

#include "base/path.h"
#include "base/utilil.h"

#include <cstring>

static FileFindSlot fileFindShared;

static bool FileFindPasses(const FileFindData *fd, int filter) {
    if (filter == FIND_ANY) return true;
    if (filter == FIND_FILES) return !(fd->attributes & FILEOS_ATTR_FOLDER);
    return (fd->attributes & (uint32_t)filter) != 0;
}

void FileFindCloseSlot(FileFindSlot *slot) {
    if (*slot) FileOsGetCalls()->findEnd(*slot);
    *slot = 0;
}

static bool FileFindIsShareRoot(const char *pattern) {
    return pattern[0] == '\\' && pattern[1] == '\\' && PathIsRoot(pattern);
}

// A share root has no entry of its own in a directory listing: it is reported as a folder named by the
// pattern, which is what the callers asked for.
static void FileFindAsShareFolder(const char *pattern, FileFindData *fd) {
    fd->attributes = FILEOS_ATTR_FOLDER;
    StrCopyMaxLen(pattern, fd->name, (int)sizeof fd->name - 1);
}

// The first entry of a new search on the slot: 1 it passes the filter, 0 none (or none will), -1 the search
// goes on with the next entries.
static int FileFindStart(FileFindSlot *slot, int filter, const char *pattern, FileFindData *fd) {
    FileFindCloseSlot(slot);
    if (!FileOsGetCalls()->findFirst(pattern, fd, slot)) return 0;
    bool shareRoot = FileFindIsShareRoot(pattern);
    if (shareRoot) FileFindAsShareFolder(pattern, fd);
    if (FileFindPasses(fd, filter)) return 1;
    return shareRoot || !PathHasWildcards(pattern) ? 0 : -1;
}

bool FileFindEx(FileFindSlot *slot, bool first, int filter, const char *pattern, FileFindData *fd, char *name,
                int nameSize) {
    if (!slot) slot = &fileFindShared;
    int found = first ? FileFindStart(slot, filter, pattern, fd) : -1;
    while (found < 0) {
        if (!*slot || !FileOsGetCalls()->findNext(*slot, fd)) return false;
        if (FileFindPasses(fd, filter)) found = 1;
    }
    if (!found) return false;
    if (name) StrCopyMaxLen(fd->name, name, nameSize - 1);
    return true;
}

bool FileFind(bool first, int filter, const char *pattern, FileFindData *fd, char *name) {
    return FileFindEx(nullptr, first, filter, pattern, fd, name, 256);
}

void FileFindClose() {
    FileFindCloseSlot(&fileFindShared);
}

bool FileTouchTime(FileHandle file) {
    return FileOsGetCalls()->setTimeNow(file);
}

bool FileTimeToDateText(uint32_t timeLow, uint32_t timeHigh, char *buffer, int size) {
    if (size <= 0) return false;
    buffer[0] = 0;
    return FileOsGetCalls()->dateText(timeLow, timeHigh, buffer, (uint32_t)size);
}
