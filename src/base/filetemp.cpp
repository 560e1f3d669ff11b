// filetemp: temporary names and files (prefixes FileMakeTempName, FileCreateTemp). With an extension the
// name is made here from a tick counter raised past every existing file; without one the system makes the
// name and its empty file together, so that no other instance can take it in between.
#include "base/filetemp.h"

#include "base/file.h"
#include "base/fileos.h"
#include "base/folder.h"
#include "base/path.h"
#include "base/tick.h"
#include "base/utilil.h"

#include <cstdio>
#include <cstring>

static const char fileTempFailedName[] = "<temp file>";

// ---------------------------------------------------------------------------------------------------------
// Temporary files

// A name that does not fit a path buffer is refused, and the empty file the system made for it removed.
static bool FileSystemTempName(const char *prefix, const char *folder, char *out) {
    return FileOsGetCalls()->tempName(folder, prefix, out, PATH_BUFFER);
}

bool FileMakeTempName(const char *prefix, const char *ext, const char *folder, char *out) {
    DirKeep keep;
    if (!DirSetCurrent(folder)) return false;
    if (!ext) return FileSystemTempName(prefix, folder, out);
    char head[3], name[PATH_BUFFER];
    StrCopyMaxLen(prefix, head, 2);
    uint32_t counter = TickNow();
    do {
        snprintf(name, sizeof name, "%s%06u%s", head, (unsigned)counter++, ext);
    } while (FileExists(name));
    PathJoin(folder, name, out);
    return true;
}

int FileCreateTemp(const char *prefix, const char *ext, const char *folder, char *out) {
    char path[PATH_BUFFER];
    int file = FileMakeTempName(prefix, ext, folder, path) ? FileOpen(path, FILE_OPEN_CREATE) : -1;
    if (file < 0) strcpy(path, fileTempFailedName);
    if (out) strcpy(out, path);
    return file;
}
