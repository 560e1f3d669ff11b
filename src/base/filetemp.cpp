// filetemp: whole-file and whole-folder operations (prefixes File, Dir, PathDelete, PathDirExists);
// see filetemp.h.
// The current folder is process state: an operation that changes it holds a DirKeep, which puts it back on
// every way out. Searches here use their own handles, so that none of them ends a caller's search on the
// shared handle.
// Stored form of a long string: a 32-bit little-endian length n (characters + 1, 1 <= n <= 2560), then n
// bytes, the last one the NUL.
#include "base/filetemp.h"

#include "base/erc.h"
#include "base/file.h"
#include "base/heap.h"
#include "base/path.h"
#include "base/util.h"
#include "base/utilil.h"
#include "base/win.h"

#include <direct.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

static const char fileTempFailedName[] = "<temp file>";

// ---------------------------------------------------------------------------------------------------------
// The current folder

DirKeep::DirKeep() {
    ok = PathOsGetCurrentDir(path);
}

DirKeep::~DirKeep() {
    if (ok) PathOsSetCurrentDir(path);
}

int DirSetCurrent(const char *path) {
    char p[PATH_BUFFER];
    StrCopyMaxLen(path, p, PATH_MAX_CHARS);
    return PathOsSetCurrentDir(StrUnquote(p));
}

int DirGetCurrent(char *buffer) {
    return PathOsGetCurrentDir(buffer);
}

int DirFullPath(const char *path, char *out) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
    if (n == 0 || n > PATH_MAX_CHARS) return 0;
    PathNormalize(full);
    strcpy(out, full);
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Temporary files

// The system writes up to MAX_PATH bytes, more than a path buffer holds: a name that does not fit is
// refused, and the empty file the system made for it is removed again.
static int FileSystemTempName(const char *prefix, const char *folder, char *out) {
    char name[MAX_PATH];
    if (!GetTempFileNameA(folder, prefix, 0, name)) return 0;
    if (strlen(name) > PATH_MAX_CHARS) {
        DeleteFileA(name);
        return 0;
    }
    strcpy(out, name);
    return 1;
}

int FileMakeTempName(const char *prefix, const char *ext, const char *folder, char *out) {
    DirKeep keep;
    if (!DirSetCurrent(folder)) return 0;
    if (!ext) return FileSystemTempName(prefix, folder, out);
    char head[3], name[PATH_BUFFER];
    StrCopyMaxLen(prefix, head, 2);
    uint32_t counter = TickNow();
    do {
        snprintf(name, sizeof name, "%s%06u%s", head, (unsigned)counter++, ext);
    } while (FileExists(name));
    PathJoin(folder, name, out);
    return 1;
}

int FileCreateTemp(const char *prefix, const char *ext, const char *folder, char *out) {
    char path[PATH_BUFFER];
    int file = FileMakeTempName(prefix, ext, folder, path) ? FileOpen(path, 1) : -1;
    if (file < 0) strcpy(path, fileTempFailedName);
    if (out) strcpy(out, path);
    return file;
}

// ---------------------------------------------------------------------------------------------------------
// Backups and copies

// The same file under two spellings ("C:\\a\\x" and "c:/a/x"): creating the destination would empty the
// source before a byte of it was read.
static int FileSameFile(const char *a, const char *b) {
    char fullA[PATH_BUFFER], fullB[PATH_BUFFER];
    return DirFullPath(a, fullA) && DirFullPath(b, fullB) && StrEqualI(fullA, fullB);
}

// The destination's blocks are written back before it is closed, so that a full disk fails the copy: the
// write-back of a close reports nothing. A failed copy leaves no half-written destination behind.
// A read-only destination is refused before the create: not every system refuses to empty it.
int FileCopy(const char *source, const char *destination) {
    if (FileSameFile(source, destination) || !FileIsWritable(destination)) return 0;
    int in = FileOpenEx(source, 0, 1, 1, 0);
    if (in < 0) return 0;
    FileSetMappable(in, 1);
    int out = FileOpenEx(destination, 1, 0, 1, 0);
    if (out < 0 || (FileGetRec(out)->flags & FILE_READONLY)) {
        FileClose(out);
        FileClose(in);
        return 0;
    }
    FileSetMappable(out, 1);
    int ok = FileCopyData(in, out) && FileFlushEx(out, 1);
    FileClose(in);
    if (ok)
        FileClose(out);
    else
        FileCloseDelete(out);
    return ok;
}

int FileBackup(const char *path) {
    if (!FileExists(path)) return 1;
    char folder[PATH_BUFFER], name[PATH_BUFFER], backupName[PATH_BUFFER], backup[PATH_BUFFER];
    PathSplit(path, folder, name);
    snprintf(backupName, sizeof backupName, "Backup of %s", name);
    PathJoin(folder, backupName, backup);
    FileDelete(backup);
    return FileCopy(path, backup);
}

// ---------------------------------------------------------------------------------------------------------
// Shell operations

// pFrom and pTo are lists ending in a double NUL: the buffers hold one byte more than a path and stay zeroed
// behind it.
static int DirShellOperation(UINT func, const char *folder, const char *destination, FILEOP_FLAGS flags) {
    char from[PATH_BUFFER + 1] = {}, to[PATH_BUFFER + 1] = {};
    PathJoin(folder, "*.*", from);
    if (destination) StrCopyMaxLen(destination, to, PATH_MAX_CHARS);
    SHFILEOPSTRUCTA op = {};
    op.wFunc = func;
    op.pFrom = from;
    op.pTo = destination ? to : nullptr;
    op.fFlags = flags;
    return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

int DirShellCopy(const char *sourceFolder, const char *destination, int fCopy) {
    return DirShellOperation(fCopy ? FO_COPY : FO_MOVE, sourceFolder, destination, 0);
}

int DirDeleteFiles(const char *folder) {
    return DirShellOperation(FO_DELETE, folder, nullptr,
                             FOF_NOCONFIRMATION | FOF_FILESONLY | FOF_NORECURSION);
}

// ---------------------------------------------------------------------------------------------------------
// Deleting and attributes

int FileDelete(const char *path) {
    return DeleteFileA(path) != 0;
}

int FileDeleteExt(const char *path, const char *ext) {
    char p[PATH_BUFFER];
    StrCopyMaxLen(path, p, PATH_MAX_CHARS);
    PathAddExt(p, ext);
    return FileDelete(p);
}

static PathRemoveFn pathDeleteFile = DeleteFileA;
static PathRemoveFn pathRemoveFolder = RemoveDirectoryA;

void PathDeleteSetCalls(PathRemoveFn deleteFile, PathRemoveFn removeFolder) {
    pathDeleteFile = deleteFile ? deleteFile : DeleteFileA;
    pathRemoveFolder = removeFolder ? removeFolder : RemoveDirectoryA;
}

static int DirEmptyCurrent();

// One entry of the folder being emptied; here is that folder. Hidden entries are never deleted, and a name
// too long for a path buffer would be cut into the name of some other file: both stop the delete.
static int DirDeleteEntry(const char *here, const WIN32_FIND_DATAA *fd) {
    char path[PATH_BUFFER];
    if (fd->dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) return 0;
    if (strlen(here) + 1 + strlen(fd->cFileName) > PATH_MAX_CHARS) return 0;
    PathJoin(here, fd->cFileName, path);
    if (!(fd->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return pathDeleteFile(path) != 0;
    // A linked folder is removed as a link: following it would empty the folder it points to.
    if (fd->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return pathRemoveFolder(path) != 0;
    return PathOsSetCurrentDir(path) && DirEmptyCurrent() && PathOsSetCurrentDir(here) &&
           pathRemoveFolder(path) != 0;
}

// Deletes everything in the current folder; 0 at the first entry that cannot or may not go.
static int DirEmptyCurrent() {
    char here[PATH_BUFFER];
    if (!PathOsGetCurrentDir(here)) return 0;
    HANDLE h;
    FileFindInitSlot(&h);
    WIN32_FIND_DATAA fd;
    int ok = 1;
    for (int more = FileFindEx(&h, 1, FIND_ANY, "*", &fd, nullptr, 0); ok && more;
         more = FileFindEx(&h, 0, FIND_ANY, "*", &fd, nullptr, 0))
        if (!PathIsDots(fd.cFileName)) ok = DirDeleteEntry(here, &fd);
    FileFindCloseSlot(&h);
    return ok;
}

// The folder and everything in it. A folder cannot be removed while it is the current one, so the delete
// leaves it for its parent first; the old current folder comes back when it still exists, else the parent
// stays current.
static int DirDeleteTree(const char *folder) {
    char parent[PATH_BUFFER], old[PATH_BUFFER];
    if (PathIsRoot(folder) || !PathOsGetCurrentDir(old)) return 0;
    PathSplit(folder, parent, nullptr);
    int ok = PathOsSetCurrentDir(parent) && PathOsSetCurrentDir(folder) && DirEmptyCurrent() &&
             PathOsSetCurrentDir(parent) && pathRemoveFolder(folder);
    if (!PathOsSetCurrentDir(old)) PathOsSetCurrentDir(parent);
    return ok;
}

// The path a delete may act on, in the system's own full form: "C:\a\..", "C:\..." and "C:\\" all name the
// root once the system has read them, so the root test is made on that form. Only a drive path with its
// backslash or a network path is taken: "C:a" is relative to the drive's current folder.
static int PathDeleteTarget(const char *path, char *out) {
    char p[PATH_BUFFER];
    StrCopyMaxLen(path, p, PATH_MAX_CHARS);
    PathNormalize(p);
    int drive = PathGetDrive(p) && p[2] == '\\';
    if (!drive && !(p[0] == '\\' && p[1] == '\\')) return 0;
    if (!DirFullPath(p, out) || PathIsRoot(out)) return 0;
    return FileFindOpen(p) < 0 && FileFindOpen(out) < 0;
}

int PathDelete(const char *path) {
    char target[PATH_BUFFER];
    if (!PathDeleteTarget(path, target)) return 0;
    DWORD attr = GetFileAttributesA(target);
    if (attr == INVALID_FILE_ATTRIBUTES) return 0;
    if (attr & FILE_ATTRIBUTE_DIRECTORY) return DirDeleteTree(target);
    return pathDeleteFile(target) != 0;
}

int FileSetReadOnlyAttr(const char *path, int mode) {
    DWORD attr = GetFileAttributesA(path);
    if (attr == INVALID_FILE_ATTRIBUTES || (mode != 0 && mode != 1)) return 0;
    attr = mode ? attr | FILE_ATTRIBUTE_READONLY : attr & ~(DWORD)FILE_ATTRIBUTE_READONLY;
    return SetFileAttributesA(path, attr) != 0;
}

int FileIsWritable(const char *path) {
    DWORD attr = GetFileAttributesA(path);
    return attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_READONLY);
}

int FileRecIsWritable(int file) {
    char path[PATH_BUFFER];
    FileGetPath(file, path);
    return FileIsWritable(path);
}

int FileNotFound(const char *path) {
    return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
}

// ---------------------------------------------------------------------------------------------------------
// Folders

int DirExists(const char *path) {
    if (!path[0] || PathHasWildcards(path)) return 0;
    DirKeep keep;
    return DirSetCurrent(path);
}

int FileExists(const char *path) {
    if (!path[0] || PathHasWildcards(path) || PathIsDots(PathGetName(path))) return 0;
    HANDLE h;
    FileFindInitSlot(&h);
    WIN32_FIND_DATAA fd;
    int found = FileFindEx(&h, 1, FIND_FILES, path, &fd, nullptr, 0);
    FileFindCloseSlot(&h);
    return found;
}

int PathDirExists(const char *path) {
    char folder[PATH_BUFFER];
    PathSplit(path, folder, nullptr);
    return DirExists(folder);
}

int DirCreate(const char *path) {
    return _mkdir(path) == 0;
}

int DirCreateAll(const char *path) {
    if (DirExists(path)) return 1;
    char p[PATH_BUFFER], parent[PATH_BUFFER];
    StrCopyMaxLen(path, p, PATH_MAX_CHARS);
    PathNormalize(p);
    PathSplit(p, parent, nullptr);
    if (parent[0] && strlen(parent) < strlen(p) && !PathIsRoot(p)) DirCreateAll(parent);
    DirCreate(p);
    return DirExists(p);
}

int DirHasSubfolders(const char *folder) {
    char pattern[PATH_BUFFER];
    PathJoin(folder, "*", pattern);
    HANDLE h;
    FileFindInitSlot(&h);
    WIN32_FIND_DATAA fd;
    int found = FileFindEx(&h, 1, FIND_FOLDERS, pattern, &fd, nullptr, 0);
    while (found && PathIsDots(fd.cFileName))
        found = FileFindEx(&h, 0, FIND_FOLDERS, pattern, &fd, nullptr, 0);
    FileFindCloseSlot(&h);
    return found;
}

// ---------------------------------------------------------------------------------------------------------
// Free space

static DirFreeSpaceExFn dirFreeSpaceEx;
static DirFreeSpaceFn dirFreeSpace;
static bool dirFreeSpaceReady;

void DirSetFreeSpaceCalls(DirFreeSpaceExFn ex, DirFreeSpaceFn plain) {
    dirFreeSpaceEx = ex;
    dirFreeSpace = plain;
    dirFreeSpaceReady = true;
}

void DirUseSystemFreeSpace() {
    dirFreeSpaceReady = false;
}

// The Ex call is missing from the oldest systems: it is looked up once.
static void DirFreeSpaceLookUp() {
    if (dirFreeSpaceReady) return;
    FARPROC ex = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA");
    DirSetFreeSpaceCalls((DirFreeSpaceExFn)(void (*)())ex, GetDiskFreeSpaceA);
}

static int DirFreeSpacePlain(const char *path, uint64_t *bytes) {
    char root[PATH_BUFFER + 1];
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
    PathGetRoot(path, root);
    if (PathGetDrive(root) && !root[2]) strcat(root, "\\");
    const char *ask = PathIsAbsolute(root) ? root : nullptr;
    if (!dirFreeSpace(ask, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) return 0;
    *bytes = (uint64_t)sectorsPerCluster * bytesPerSector * freeClusters; // the 32-bit product wraps
    return 1;
}

// The bytes the caller may still write. A full disk (or a used-up quota) is 0: neither the free bytes of
// other users nor the disk's size are room this program can use.
uint32_t DirFreeSpace(const char *path) {
    char p[PATH_BUFFER + 1];
    StrCopyMaxLen(path, p, PATH_MAX_CHARS);
    bool unc = p[0] == '\\' && p[1] == '\\';
    if (unc && SysIsWin9x()) return 0xFFFFFFFF;
    if (unc && p[strlen(p) - 1] != '\\') strcat(p, "\\");
    DirFreeSpaceLookUp();
    uint64_t bytes;
    ULARGE_INTEGER available, total, free;
    if (dirFreeSpaceEx) {
        if (!dirFreeSpaceEx(p, &available, &total, &free)) return 0;
        bytes = available.QuadPart;
    } else if (!dirFreeSpace || !DirFreeSpacePlain(p, &bytes)) {
        return 0;
    }
    return bytes >= 0x100000000ull ? 0xFFFFFFFF : (uint32_t)bytes;
}

// ---------------------------------------------------------------------------------------------------------
// Listings

enum { DIR_SUBFOLDER_STRINGS = 90 - STB_HEADER }; // a 90-byte block at first

static Stb *dirSubfolders;
static char dirSubfoldersFor[PATH_BUFFER];

int DirListAdd(Stb *block, const char *name, int filter) {
    return StbAppendSz(block, name, filter == FIND_FOLDERS ? DIR_LIST_FOLDER : DIR_LIST_FILE);
}

// Runs its own search: a listing made while a caller walks the shared handle must not end that walk.
int DirListNames(Stb *block, const char *pattern, int filter, DirNameFilter nameFilter) {
    HANDLE h;
    FileFindInitSlot(&h);
    WIN32_FIND_DATAA fd;
    int ok = 1;
    ErcHoldLowMemory();
    for (int more = FileFindEx(&h, 1, filter, pattern, &fd, nullptr, 0); ok && more;
         more = FileFindEx(&h, 0, filter, pattern, &fd, nullptr, 0)) {
        if (PathIsDots(fd.cFileName) || (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
        if (!nameFilter || nameFilter(fd.cFileName)) ok = DirListAdd(block, fd.cFileName, filter);
    }
    ErcReleaseLowMemory();
    FileFindCloseSlot(&h);
    return ok;
}

// ".." goes in after the sort, so that it stays first whatever the names sort before it. A listing cut short
// by low memory is not kept as the folder's list: the next call builds it again.
static void DirSubfolderListBuild(const char *here) {
    if (!dirSubfolders) dirSubfolders = StbCreate(DIR_SUBFOLDER_STRINGS, 0);
    if (!dirSubfolders) return;
    StbReset(dirSubfolders);
    ErcHoldLowMemory();
    int ok = DirListNames(dirSubfolders, "*.*", FIND_FOLDERS, nullptr);
    StbSort(dirSubfolders);
    if (ok && !PathIsRoot(here)) ok = StbInsertSz(dirSubfolders, 0, "..", DIR_LIST_FOLDER);
    ErcReleaseLowMemory();
    strcpy(dirSubfoldersFor, ok ? here : "");
}

Stb *DirSubfolderList() {
    char here[PATH_BUFFER];
    if (!PathOsGetCurrentDir(here)) return dirSubfolders;
    if (!dirSubfolders || !StrEqualI(here, dirSubfoldersFor)) DirSubfolderListBuild(here);
    return dirSubfolders;
}

void DirSubfolderListFree() {
    StbFree(&dirSubfolders);
    dirSubfoldersFor[0] = 0;
}

// ---------------------------------------------------------------------------------------------------------
// Walks

// The current folder's own entry, for the callback of the walk's first folder.
static void DirSelfEntry(const char *here, WIN32_FIND_DATAA *fd) {
    HANDLE h;
    FileFindInitSlot(&h);
    int found = !PathIsRoot(here) && FileFindEx(&h, 1, FIND_FOLDERS, here, fd, nullptr, 0);
    FileFindCloseSlot(&h);
    if (found) return;
    memset(fd, 0, sizeof *fd);
    fd->dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    StrCopyMaxLen(here, fd->cFileName, (int)sizeof fd->cFileName - 1);
}

// The current folder, then its subfolders depth first. A subfolder that cannot be entered, or whose path
// no longer fits a path buffer, is passed over.
static int DirWalkHere(DirWalkProc callback, void *data, const WIN32_FIND_DATAA *self) {
    char here[PATH_BUFFER];
    if (!PathOsGetCurrentDir(here)) return 1;
    if (!callback(here, self, data)) return 0;
    HANDLE h;
    FileFindInitSlot(&h);
    WIN32_FIND_DATAA fd;
    int ok = 1;
    for (int more = FileFindEx(&h, 1, FIND_FOLDERS, "*", &fd, nullptr, 0); ok && more;
         more = FileFindEx(&h, 0, FIND_FOLDERS, "*", &fd, nullptr, 0)) {
        if (PathIsDots(fd.cFileName) || (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
        if (!PathOsSetCurrentDir(fd.cFileName)) continue;
        ok = DirWalkHere(callback, data, &fd);
        if (!PathOsSetCurrentDir(here)) ok = 0;
    }
    FileFindCloseSlot(&h);
    return ok;
}

int DirWalk(DirWalkProc callback, void *data) {
    DirKeep keep;
    if (!keep.ok) return 0;
    WIN32_FIND_DATAA self;
    DirSelfEntry(keep.path, &self);
    return DirWalkHere(callback, data, &self);
}

struct DirCount {
    DirCountFilter filter;
    int32_t count;
    bool aborted;
};

static int DirCountHere(const char *, const WIN32_FIND_DATAA *, void *data) {
    DirCount *count = (DirCount *)data;
    HANDLE h;
    FileFindInitSlot(&h);
    WIN32_FIND_DATAA fd;
    for (int more = FileFindEx(&h, 1, FIND_FILES, "*", &fd, nullptr, 0); more && !count->aborted;
         more = FileFindEx(&h, 0, FIND_FILES, "*", &fd, nullptr, 0)) {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) continue;
        int verdict = count->filter ? count->filter(fd.cFileName) : 1;
        if (verdict == -1)
            count->aborted = true;
        else if (verdict)
            count->count++;
    }
    FileFindCloseSlot(&h);
    return !count->aborted;
}

static int32_t DirCountIn(const char *folder, DirCountFilter filter, bool fTree) {
    DirKeep keep;
    if (!DirSetCurrent(folder)) return 0;
    DirCount count = {filter, 0, false};
    if (fTree)
        DirWalk(DirCountHere, &count);
    else
        DirCountHere(nullptr, nullptr, &count);
    return count.aborted ? 0 : count.count;
}

int32_t DirCountFiles(const char *folder, DirCountFilter filter) {
    return DirCountIn(folder, filter, true);
}

int32_t DirCountFilesTop(const char *folder, DirCountFilter filter) {
    return DirCountIn(folder, filter, false);
}
