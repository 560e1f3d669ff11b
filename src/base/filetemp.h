// filetemp: whole-file and whole-folder operations over the open-file table and the directory search:
// temporary names and files, backups and copies, deleting, attributes, the current folder, folder creation,
// free disk space, folder listings into string table blocks, walks over folder trees, bulk copy, move and
// delete through the shell, and long strings in files. Prefixes File, Dir, Path (PathDelete, PathDirExists)
// and LongStr / StrWriteLong / StrReadLong.
// Many of these change the process's current folder while they work; every one restores it on every path
// out.
#pragma once

#include "base/fileprim.h"
#include "base/stb.h"

#include <cstdint>

// Temporary files. With an extension the name is the first two characters of prefix, a tick counter of at
// least six digits (from TickNow) raised past every existing file, and the extension; without one the system
// makes the name (and the empty file). On failure FileCreateTemp answers -1 and names the path "<temp file>".
int FileMakeTempName(const char *prefix, const char *ext, const char *folder, char *out);
int FileCreateTemp(const char *prefix, const char *ext, const char *folder, char *out);

// Backups and copies. FileBackup answers 1 also when there is no file to back up.
int FileBackup(const char *path);
int FileCopy(const char *source, const char *destination);
int DirShellCopy(const char *sourceFolder, const char *destination, int fCopy);
int DirDeleteFiles(const char *folder);

// Deleting and attributes.
int FileDelete(const char *path);
int FileDeleteExt(const char *path, const char *ext);
int PathDelete(const char *path); // never a root, a relative path, an open file or anything hidden
// Test seam: the two system calls PathDelete removes with (a file, an empty folder); null restores both.
typedef BOOL(WINAPI *PathRemoveFn)(LPCSTR path);
void PathDeleteSetCalls(PathRemoveFn deleteFile, PathRemoveFn removeFolder);
int FileSetReadOnlyAttr(const char *path, int mode); // 1 sets, 0 clears
int FileIsWritable(const char *path);
int FileRecIsWritable(int file);
int FileNotFound(const char *path);

// Folders.
// Keeps the current folder while it lives and puts it back when it goes, on every way out.
struct DirKeep {
    char path[256];
    int ok;
    DirKeep();
    ~DirKeep();
    DirKeep(const DirKeep &) = delete;
    DirKeep &operator=(const DirKeep &) = delete;
};
int DirSetCurrent(const char *path); // surrounding quotes are removed first
int DirGetCurrent(char *buffer);     // PATH_BUFFER bytes, normalised
// The system's full form of a path ("..", "." and doubled separators resolved, relative paths and "C:a"
// completed from the current folders), normalised; 0 when it does not fit a path buffer.
int DirFullPath(const char *path, char *out);
int DirExists(const char *path);
int FileExists(const char *path); // files only: a folder of that name gives 0
int PathDirExists(const char *path);
int DirCreate(const char *path);
int DirCreateAll(const char *path);
int DirHasSubfolders(const char *folder);
uint32_t DirFreeSpace(const char *path); // bytes available to the caller; 0xFFFFFFFF from 4 GB on

// Test seam: the two system calls DirFreeSpace asks, in place of the system's until DirUseSystemFreeSpace.
// A null Ex call (as on systems without it) makes it fall back to the plain one.
typedef BOOL(WINAPI *DirFreeSpaceExFn)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
typedef BOOL(WINAPI *DirFreeSpaceFn)(LPCSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD);
void DirSetFreeSpaceCalls(DirFreeSpaceExFn ex, DirFreeSpaceFn plain);
void DirUseSystemFreeSpace();

// Listings into string table blocks: folders with value DIR_LIST_FOLDER, everything else with DIR_LIST_FILE;
// hidden entries, "." and ".." are left out. A failed append ends the listing (0) without an alert.
enum { DIR_LIST_FOLDER = -2, DIR_LIST_FILE = -1 };
typedef int (*DirNameFilter)(const char *name); // 0 leaves the name out
int DirListNames(Stb *block, const char *pattern, int filter, DirNameFilter nameFilter);
int DirListAdd(Stb *block, const char *name, int filter);
// The current folder's subfolders, sorted, after a ".." entry unless the folder is a root. The block is
// kept and owned here, and built again when the current folder has changed.
Stb *DirSubfolderList();
void DirSubfolderListFree();

// Walks. The callback runs with each visited folder as the current folder; 0 stops the walk.
typedef int (*DirWalkProc)(const char *folder, const WIN32_FIND_DATAA *fd, void *data);
int DirWalk(DirWalkProc callback, void *data);
// The count filter sees each file's name: -1 aborts the count (result 0), 0 skips the file, else it counts.
typedef int (*DirCountFilter)(const char *name);
int32_t DirCountFiles(const char *folder, DirCountFilter filter);
int32_t DirCountFilesTop(const char *folder, DirCountFilter filter);
