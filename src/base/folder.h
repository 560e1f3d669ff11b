// folder: whole-file and whole-folder operations over the open-file table and the directory search: backups
// and copies, deleting, attributes, the current folder, folder creation, free disk space, folder listings
// into string table blocks, walks over folder trees, and bulk copy, move and delete of a folder's files
// (prefixes Dir, File, PathDelete, PathDirExists).
// Many of these change the process's current folder while they work; every one restores it on every path
// out. Results are true (1) for success and false (0) for failure unless said otherwise.
#pragma once

#include "base/fileprim.h"
#include "base/stb.h"

#include <cstdint>

// Backups and copies. FileBackup answers 1 also when there is no file to back up.
int FileBackup(const char *path);
int FileCopy(const char *source, const char *destination);
int DirShellCopy(const char *sourceFolder, const char *destination, bool copy); // copy, else move

int DirDeleteFiles(const char *folder);

// Deleting and attributes.
int FileDelete(const char *path);
int FileDeleteExt(const char *path, const char *ext);
int PathDelete(const char *path); // never a root, a relative path, an open file or anything hidden
int FileSetReadOnlyAttr(const char *path, int mode); // 1 sets, 0 clears; any other mode fails
bool FileIsWritable(const char *path);
bool FileRecIsWritable(int file);
bool FileNotFound(const char *path);

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
bool DirExists(const char *path);
bool FileExists(const char *path); // files only: a folder of that name gives 0
bool PathDirExists(const char *path);
int DirCreate(const char *path);
int DirCreateAll(const char *path);
bool DirHasSubfolders(const char *folder);
uint32_t DirFreeSpace(const char *path); // bytes available to the caller; 0xFFFFFFFF from 4 GB on

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
typedef int (*DirWalkProc)(const char *folder, const FileFindData *fd, void *data);
int DirWalk(DirWalkProc callback, void *data);
// The count filter sees each file's name: -1 aborts the count (result 0), 0 skips the file, else it counts.
typedef int (*DirCountFilter)(const char *name);
int32_t DirCountFiles(const char *folder, DirCountFilter filter);
int32_t DirCountFilesTop(const char *folder, DirCountFilter filter);
