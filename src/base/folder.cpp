// folder: whole-file and whole-folder operations (prefixes Dir, File and PathDelete): backups and copies,
// deleting, attributes, the current folder, folder creation, free disk space, folder listings into string
// table blocks, walks over folder trees, and bulk copy, move and delete of a folder's files. Every system
// call goes through the file layer's table (base/fileos.h).
// The current folder is process state: an operation that changes it holds a DirKeep, which puts it back on
// every way out. Searches here use their own handles, so that none of them ends a caller's search on the
// shared handle.
#include "base/folder.h"

#include "base/erc.h"
#include "base/file.h"
#include "base/fileos.h"
#include "base/heap.h"
#include "base/path.h"
#include "base/str.h"
#include "base/utilil.h"

#include <cstdio>
#include <cstring>

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
    char full[PATH_BUFFER];
    if (!FileOsGetCalls()->fullPath(path, full, sizeof full)) return 0;
    PathNormalize(full);
    strcpy(out, full);
    return 1;
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
    int in = FileOpenSeq(source, FILE_OPEN_READONLY);
    if (in < 0) return 0;
    FileSetMappable(in, true);
    int out = FileOpenSeq(destination, FILE_OPEN_CREATE);
    if (out < 0 || FileIsReadOnly(out)) {
        FileClose(out);
        FileClose(in);
        return 0;
    }
    FileSetMappable(out, true);
    int ok = FileCopyData(in, out) && FileFlushEx(out, FILE_FLUSH_DISK);
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

int DirShellCopy(const char *sourceFolder, const char *destination, bool copy) {
    return FileOsGetCalls()->folderFiles(copy ? FILEOS_FILES_COPY : FILEOS_FILES_MOVE, sourceFolder,
                                         destination);
}

int DirDeleteFiles(const char *folder) {
    return FileOsGetCalls()->folderFiles(FILEOS_FILES_DELETE, folder, nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// Deleting and attributes

int FileDelete(const char *path) {
    return FileOsGetCalls()->remove(path);
}

int FileDeleteExt(const char *path, const char *ext) {
    char p[PATH_BUFFER];
    StrCopyMaxLen(path, p, PATH_MAX_CHARS);
    PathAddExt(p, ext);
    return FileDelete(p);
}

static int PathDeleteFile(const char *path) {
    return FileOsGetCalls()->remove(path);
}

static int PathRemoveFolder(const char *path) {
    return FileOsGetCalls()->removeDir(path);
}

static int DirEmptyCurrent();

// One entry of the folder being emptied; here is that folder. Hidden entries are never deleted, and a name
// too long for a path buffer would be cut into the name of some other file: both stop the delete.
static int DirDeleteEntry(const char *here, const FileFindData *fd) {
    char path[PATH_BUFFER];
    if (fd->attributes & FILEOS_ATTR_HIDDEN) return 0;
    if (strlen(here) + 1 + strlen(fd->name) > PATH_MAX_CHARS) return 0;
    PathJoin(here, fd->name, path);
    if (!(fd->attributes & FILEOS_ATTR_FOLDER)) return PathDeleteFile(path) != 0;
    // A linked folder is removed as a link: following it would empty the folder it points to.
    if (fd->attributes & FILEOS_ATTR_LINK) return PathRemoveFolder(path) != 0;
    return PathOsSetCurrentDir(path) && DirEmptyCurrent() && PathOsSetCurrentDir(here) &&
           PathRemoveFolder(path) != 0;
}

// Deletes everything in the current folder; 0 at the first entry that cannot or may not go.
static int DirEmptyCurrent() {
    char here[PATH_BUFFER];
    if (!PathOsGetCurrentDir(here)) return 0;
    FileFindSlot h;
    FileFindInitSlot(&h);
    FileFindData fd;
    int ok = 1;
    for (int more = FileFindEx(&h, 1, FIND_ANY, "*", &fd, nullptr, 0); ok && more;
         more = FileFindEx(&h, 0, FIND_ANY, "*", &fd, nullptr, 0))
        if (!PathIsDots(fd.name)) ok = DirDeleteEntry(here, &fd);
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
             PathOsSetCurrentDir(parent) && PathRemoveFolder(folder);
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
    FileOsInfo info;
    if (!FileOsPathInfo(target, &info)) return 0;
    if (info.attributes & FILEOS_ATTR_FOLDER) return DirDeleteTree(target);
    return PathDeleteFile(target) != 0;
}

int FileSetReadOnlyAttr(const char *path, int mode) {
    if (mode != 0 && mode != 1) return 0;
    return FileOsGetCalls()->setReadOnly(path, mode);
}

bool FileIsWritable(const char *path) {
    FileOsInfo info;
    return !FileOsPathInfo(path, &info) || !(info.attributes & FILEOS_ATTR_READONLY);
}

bool FileRecIsWritable(int file) {
    char path[PATH_BUFFER];
    FileGetPath(file, path);
    return FileIsWritable(path);
}

bool FileNotFound(const char *path) {
    FileOsInfo info;
    return !FileOsPathInfo(path, &info);
}

// ---------------------------------------------------------------------------------------------------------
// Folders

bool DirExists(const char *path) {
    if (!path[0] || PathHasWildcards(path)) return 0;
    DirKeep keep;
    return DirSetCurrent(path);
}

bool FileExists(const char *path) {
    if (!path[0] || PathHasWildcards(path) || PathIsDots(PathGetName(path))) return 0;
    FileFindSlot h;
    FileFindInitSlot(&h);
    FileFindData fd;
    int found = FileFindEx(&h, 1, FIND_FILES, path, &fd, nullptr, 0);
    FileFindCloseSlot(&h);
    return found;
}

bool PathDirExists(const char *path) {
    char folder[PATH_BUFFER];
    PathSplit(path, folder, nullptr);
    return DirExists(folder);
}

int DirCreate(const char *path) {
    return FileOsGetCalls()->makeDir(path);
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

bool DirHasSubfolders(const char *folder) {
    char pattern[PATH_BUFFER];
    PathJoin(folder, "*", pattern);
    FileFindSlot h;
    FileFindInitSlot(&h);
    FileFindData fd;
    int found = FileFindEx(&h, 1, FIND_FOLDERS, pattern, &fd, nullptr, 0);
    while (found && PathIsDots(fd.name)) found = FileFindEx(&h, 0, FIND_FOLDERS, pattern, &fd, nullptr, 0);
    FileFindCloseSlot(&h);
    return found;
}

// ---------------------------------------------------------------------------------------------------------
// Free space

// The free clusters of the root, for systems without the call that answers in bytes. The product is 64-bit:
// in 32 bits it wraps on a large disk.
static int DirFreeSpacePlain(const char *path, uint64_t *bytes) {
    char root[PATH_BUFFER + 1];
    uint32_t sectorsPerCluster, bytesPerSector, freeClusters;
    PathGetRoot(path, root);
    if (PathGetDrive(root) && !root[2]) strcat(root, "\\");
    const char *ask = PathIsAbsolute(root) ? root : nullptr;
    if (!FileOsGetCalls()->freeClusters(ask, &sectorsPerCluster, &bytesPerSector, &freeClusters)) return 0;
    *bytes = (uint64_t)sectorsPerCluster * bytesPerSector * freeClusters;
    return 1;
}

// The bytes the caller may still write. A full disk (or a used-up quota) is 0: neither the free bytes of
// other users nor the disk's size are room this program can use.
uint32_t DirFreeSpace(const char *path) {
    char p[PATH_BUFFER + 1];
    StrCopyMaxLen(path, p, PATH_MAX_CHARS);
    bool unc = p[0] == '\\' && p[1] == '\\';
    if (unc && p[strlen(p) - 1] != '\\') strcat(p, "\\");
    uint64_t bytes;
    int answer = FileOsGetCalls()->freeSpace(p, &bytes);
    if (answer == 0 || (answer < 0 && !DirFreeSpacePlain(p, &bytes))) return 0;
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
    FileFindSlot h;
    FileFindInitSlot(&h);
    FileFindData fd;
    int ok = 1;
    ErcHoldLowMemory();
    for (int more = FileFindEx(&h, 1, filter, pattern, &fd, nullptr, 0); ok && more;
         more = FileFindEx(&h, 0, filter, pattern, &fd, nullptr, 0)) {
        if (PathIsDots(fd.name) || (fd.attributes & FILEOS_ATTR_HIDDEN)) continue;
        if (!nameFilter || nameFilter(fd.name)) ok = DirListAdd(block, fd.name, filter);
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
static void DirSelfEntry(const char *here, FileFindData *fd) {
    FileFindSlot h;
    FileFindInitSlot(&h);
    int found = !PathIsRoot(here) && FileFindEx(&h, 1, FIND_FOLDERS, here, fd, nullptr, 0);
    FileFindCloseSlot(&h);
    if (found) return;
    memset(fd, 0, sizeof *fd);
    fd->attributes = FILEOS_ATTR_FOLDER;
    StrCopyMaxLen(here, fd->name, (int)sizeof fd->name - 1);
}

// The current folder, then its subfolders depth first. A subfolder that cannot be entered, or whose path
// no longer fits a path buffer, is passed over.
static int DirWalkHere(DirWalkProc callback, void *data, const FileFindData *self) {
    char here[PATH_BUFFER];
    if (!PathOsGetCurrentDir(here)) return 1;
    if (!callback(here, self, data)) return 0;
    FileFindSlot h;
    FileFindInitSlot(&h);
    FileFindData fd;
    int ok = 1;
    for (int more = FileFindEx(&h, 1, FIND_FOLDERS, "*", &fd, nullptr, 0); ok && more;
         more = FileFindEx(&h, 0, FIND_FOLDERS, "*", &fd, nullptr, 0)) {
        if (PathIsDots(fd.name) || (fd.attributes & FILEOS_ATTR_HIDDEN)) continue;
        if (!PathOsSetCurrentDir(fd.name)) continue;
        ok = DirWalkHere(callback, data, &fd);
        if (!PathOsSetCurrentDir(here)) ok = 0;
    }
    FileFindCloseSlot(&h);
    return ok;
}

int DirWalk(DirWalkProc callback, void *data) {
    DirKeep keep;
    if (!keep.ok) return 0;
    FileFindData self;
    DirSelfEntry(keep.path, &self);
    return DirWalkHere(callback, data, &self);
}

struct DirCount {
    DirCountFilter filter;
    int32_t count;
    bool aborted;
};

static int DirCountHere(const char *, const FileFindData *, void *data) {
    DirCount *count = (DirCount *)data;
    FileFindSlot h;
    FileFindInitSlot(&h);
    FileFindData fd;
    for (int more = FileFindEx(&h, 1, FIND_FILES, "*", &fd, nullptr, 0); more && !count->aborted;
         more = FileFindEx(&h, 0, FIND_FILES, "*", &fd, nullptr, 0)) {
        if (fd.attributes & FILEOS_ATTR_HIDDEN) continue;
        int verdict = count->filter ? count->filter(fd.name) : 1;
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
