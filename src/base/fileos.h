// fileos: the operating-system calls of the file layer and of every folder operation (prefix FileOs, and
// FileMapHandle / FileUnmapHandle): files, mappings, directory searches, attributes, the current folder,
// free space and temporary names. Every call goes through one replaceable table of function pointers: the
// Win32 back-end supplies the default table (FileOsDefaultCalls), another back-end can supply its own, and
// tests swap or wrap it to inject a full disk, a short write, a failed rename or a fault in a mapped view.
// The wrappers below count the seeks, reads and writes, can make the nth write fail, and turn each failure
// into an error code. The table speaks fixed-width sizes and offsets; a handle is an opaque integer wide
// enough for a pointer.
// Success convention of the foundation (see erc.h): failure is false, 0, -1 or null, as each call says, with
// the current error set.
#pragma once

#include "base/erc.h"

#include <cstdint>

typedef intptr_t FileHandle; // 0 means none

// How a file opens: created (emptied when it exists) or existing, read-only, with the sequential-scan hint,
// and (in the open-file table) whether the whole file may be mapped into memory.
enum FileOpenFlags : uint32_t {
    FILE_OPEN_EXISTING = 0,
    FILE_OPEN_CREATE = 0x1,
    FILE_OPEN_READONLY = 0x2,
    FILE_OPEN_SEQ = 0x4,
    FILE_OPEN_MAPPABLE = 0x8,
};

extern const char ercFileCreate[];   // "Cannot create file: %s"
extern const char ercFileOpen[];     // "Cannot open file: %s"
extern const char ercFileClose[];    // "Error closing file"
extern const char ercFileSeek[];     // "File seeking error"
extern const char ercFileRead[];     // "File read error"
extern const char ercFileWrite[];    // "File write error"
extern const char ercFileTooLarge[]; // "File is too large"

enum {
    FILEOS_ATTR_READONLY = 0x1,
    FILEOS_ATTR_HIDDEN = 0x2,
    FILEOS_ATTR_FOLDER = 0x10,
    FILEOS_ATTR_LINK = 0x400, // a linked folder (a reparse point): removed as a link, never followed
};

// Size, last-write time (100 ns units since 1601, as two halves, low first) and attribute bits of a file.
struct FileOsInfo {
    uint32_t timeLow;
    uint32_t timeHigh;
    uint32_t sizeLow;
    uint32_t sizeHigh;
    uint32_t attributes; // FILEOS_ATTR_*
};

// One entry of a directory search.
struct FileOsFind {
    uint32_t attributes; // FILEOS_ATTR_*
    uint32_t timeLow;    // last-write time
    uint32_t timeHigh;
    uint32_t sizeLow;
    uint32_t sizeHigh;
    char name[260];
    char shortName[14]; // the 8.3 form of the name where the system keeps one, else empty
};

// What folderFiles does with the files of a folder.
enum FileOsFolderOp { FILEOS_FILES_COPY, FILEOS_FILES_MOVE, FILEOS_FILES_DELETE };

// One back-end. Calls return 1 on success and 0 on failure, with the system error readable through
// OsLastError (base/os.h) right after the failure, unless said otherwise.
struct FileOsCalls {
    // Sharing codes: 0 or 16 none, 32 others may read, 48 others may write.
    int (*open)(const char *path, uint32_t flags, int shareCode, FileHandle *out); // FILE_OPEN_*
    int (*close)(FileHandle h);
    int (*seek)(FileHandle h, uint32_t offset);
    int (*read)(FileHandle h, void *buffer, uint32_t length, uint32_t *moved);
    int (*write)(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved);
    int (*flush)(FileHandle h);
    int (*getSize)(FileHandle h, uint64_t *size);
    int (*setEnd)(FileHandle h, uint32_t size);
    int (*getInfo)(FileHandle h, FileOsInfo *info);
    int (*setTimeNow)(FileHandle h); // last-write time := the current system time
    int (*lock)(FileHandle h, uint32_t offset, uint32_t length);
    // Maps the whole file at size bytes (growing it when needed): 1 mapped, 0 no mapping could be created,
    // -1 the mapping was made but no view (the back-end has closed the mapping again).
    int (*map)(FileHandle h, int readOnly, uint32_t size, FileHandle *mapping, void **view);
    int (*unmap)(FileHandle mapping, void *view); // 0 when the view cannot be unmapped (the mapping is kept)
    int (*flushView)(void *view, uint32_t length);
    // Copies length bytes and returns 1, or 0 when touching either side faulted (a mapped file shrank or its
    // network went away); the program goes on either way.
    int (*copyGuarded)(void *dst, const void *src, uint32_t length);
    int (*pathInfo)(const char *path, FileOsInfo *info); // 0 when there is no such file or folder
    int (*rename)(const char *from, const char *to);
    int (*remove)(const char *path);
    int (*makeDir)(const char *path);
    int (*removeDir)(const char *path); // an empty folder, or a linked folder as the link
    int (*setReadOnly)(const char *path, int readOnly);
    // Directory search: 0 when nothing matches (no handle is left open); every search has its own handle.
    // Network share roots (\server\share) may have no entry of their own: the caller reports them.
    int (*findFirst)(const char *pattern, FileOsFind *entry, FileHandle *search);
    int (*findNext)(FileHandle search, FileOsFind *entry);
    void (*findEnd)(FileHandle search);
    // The current folder in the program's path form; 0 when it does not fit size bytes.
    int (*getCurrentDir)(char *buffer, uint32_t size);
    int (*setCurrentDir)(const char *path);
    // The system's full form of a path; 0 when it does not fit size bytes.
    int (*fullPath)(const char *path, char *out, uint32_t size);
    int (*maxNameLength)(const char *root); // the longest name a volume allows; root null: the current one
    // The bytes the caller may write on the path's volume: 1, 0 failed, -1 the system lacks the call (the
    // caller then asks freeClusters of the root). A volume that cannot tell answers UINT64_MAX.
    int (*freeSpace)(const char *path, uint64_t *available);
    int (*freeClusters)(const char *root, uint32_t *sectorsPerCluster, uint32_t *bytesPerSector,
                        uint32_t *freeClusters);
    // A unique name in the folder from the prefix, made by the system with its empty file; 0 when it does
    // not fit size bytes (no file is left behind then).
    int (*tempName)(const char *folder, const char *prefix, char *out, uint32_t size);
    // The local short date of a file time in the user's format; 0 when it does not fit size bytes.
    int (*dateText)(uint32_t timeLow, uint32_t timeHigh, char *out, uint32_t size);
    // Copies or moves the files of a folder into another, or deletes them (files only, not below).
    int (*folderFiles)(FileOsFolderOp op, const char *folder, const char *destination);
    // Renames a file over another one, which it replaces in one step where the system allows; the target may
    // exist. 0 leaves both files as they were.
    int (*replace)(const char *from, const char *to);
};

// The back-end's own table (defined by the platform's fileos source file).
const FileOsCalls *FileOsDefaultCalls();
// The table in use; null restores the default. Tests wrap the default to inject failures.
void FileOsSetCalls(const FileOsCalls *calls);
const FileOsCalls *FileOsGetCalls();

// Test seams: counters of the calls that reach the system, and writes that fail: `count` of them from the
// nth from now on (n = 1: the next one; count -1: every one from there, as on a full disk; n = 0 turns it
// off). An injected failure moves no byte and reports system error 112 (disk full).
struct FileOsStats {
    uint32_t seeks;
    uint32_t reads;
    uint32_t writes;
};
FileOsStats FileOsGetStats();
void FileOsResetStats();
void FileOsWriteFailNth(int n, int count = 1);

// The calls with their errors: each returns null on success, else the error it set.
Erc FileOsOpen(const char *path, uint32_t flags, int shareCode, FileHandle *out);
Erc FileOsClose(FileHandle h);
Erc FileOsSeek(FileHandle h, uint32_t offset);
Erc FileOsRead(FileHandle h, void *buffer, uint32_t length, uint32_t *moved);
Erc FileOsWrite(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved);
Erc FileOsFlush(FileHandle h);
Erc FileOsGetSize(FileHandle h, uint32_t *size); // "File is too large" at 4 GB - 1 and above
Erc FileOsSetEnd(FileHandle h, uint32_t size);

// Mapping a whole file outside the open-file table: 1 ok (size 0: the file's own size).
bool FileMapHandle(FileHandle h, bool readOnly, uint32_t size, FileHandle *mapping, void **view);
void FileUnmapHandle(FileHandle mapping, void *view);

// Plain calls, no error set.
int FileOsGetInfo(FileHandle h, FileOsInfo *info);
int FileOsPathInfo(const char *path, FileOsInfo *info);
int FileOsCopyGuarded(void *dst, const void *src, uint32_t length);
