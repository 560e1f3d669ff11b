// fileos: the operating-system calls of the file layer (prefix FileOs, and FileMapHandle / FileUnmapHandle).
// Every call goes through one replaceable table of function pointers: the Win32 back-end supplies the
// default table (FileOsDefaultCalls), another back-end can supply its own, and tests swap or wrap it to
// inject a full disk, a short write, a failed rename or a fault in a mapped view. The wrappers below count
// the seeks, reads and writes, can make the nth write fail, and turn each failure into an error code. The
// table speaks fixed-width sizes and offsets; a handle is an opaque integer wide enough for a pointer.
#pragma once

#include "base/erc.h"

#include <cstdint>

typedef intptr_t FileHandle; // 0 means none

extern const char ercFileCreate[];   // "Cannot create file: %s"
extern const char ercFileOpen[];     // "Cannot open file: %s"
extern const char ercFileClose[];    // "Error closing file"
extern const char ercFileSeek[];     // "File seeking error"
extern const char ercFileRead[];     // "File read error"
extern const char ercFileWrite[];    // "File write error"
extern const char ercFileTooLarge[]; // "File is too large"

enum { FILEOS_ATTR_READONLY = 0x1, FILEOS_ATTR_FOLDER = 0x10 };

// Size, last-write time (100 ns units since 1601, as two halves, low first) and attribute bits of a file.
struct FileOsInfo {
    uint32_t timeLow;
    uint32_t timeHigh;
    uint32_t sizeLow;
    uint32_t sizeHigh;
    uint32_t attributes; // FILEOS_ATTR_*
};

typedef int (*FileOsVisitFn)(const char *name, const FileOsInfo *info, void *data);

// One back-end. Calls return 1 on success and 0 on failure, with the system error readable through
// OsLastError (base/os.h) right after the failure, unless said otherwise.
struct FileOsCalls {
    // Sharing codes: 0 or 16 none, 32 others may read, 48 others may write.
    int (*open)(const char *path, int fCreate, int fReadOnly, int fSeq, int shareCode, FileHandle *out);
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
    int (*map)(FileHandle h, int fReadOnly, uint32_t size, FileHandle *mapping, void **view);
    int (*unmap)(FileHandle mapping, void *view); // 0 when the view cannot be unmapped (the mapping is kept)
    int (*flushView)(void *view, uint32_t length);
    // Copies length bytes and returns 1, or 0 when touching either side faulted (a mapped file shrank or its
    // network went away); the program goes on either way.
    int (*copyGuarded)(void *dst, const void *src, uint32_t length);
    int (*pathInfo)(const char *path, FileOsInfo *info); // 0 when there is no such file or folder
    int (*findInfo)(const char *path, FileOsInfo *info); // the same through a directory search
    void (*findClose)();                                 // closes the shared directory-search handle
    int (*rename)(const char *from, const char *to);
    int (*remove)(const char *path);
    int (*makeDir)(const char *path);
    uint32_t (*tickCount)(); // milliseconds, wrapping
    // Renames a file over another one, which it replaces in one step where the system allows; the target may
    // exist. 0 leaves both files as they were.
    int (*replace)(const char *from, const char *to);
    // Calls visit for each entry of a folder ("." and ".." left out) until it returns 0; 0 when the folder
    // cannot be read.
    int (*listFolder)(const char *folder, FileOsVisitFn visit, void *data);
};

// The back-end's own table (defined by the platform's fileos source file).
const FileOsCalls *FileOsDefaultCalls();
// The table in use; null restores the default. Tests wrap the default to inject failures.
void FileOsSetCalls(const FileOsCalls *calls);
const FileOsCalls *FileOsGetCalls();

// Test seams: counters of the calls that reach the system, and a write that fails (1 = the next one;
// 0 turns it off). An injected failure moves no byte and reports system error 112 (disk full).
struct FileOsStats {
    uint32_t seeks;
    uint32_t reads;
    uint32_t writes;
};
FileOsStats FileOsGetStats();
void FileOsResetStats();
void FileOsFailNthWrite(int n);

// The calls with their errors: each returns null on success, else the error it set.
Erc FileOsOpen(const char *path, int fCreate, int fReadOnly, int fSeq, int shareCode, FileHandle *out);
Erc FileOsClose(FileHandle h);
Erc FileOsSeek(FileHandle h, uint32_t offset);
Erc FileOsRead(FileHandle h, void *buffer, uint32_t length, uint32_t *moved);
Erc FileOsWrite(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved);
Erc FileOsFlush(FileHandle h);
Erc FileOsGetSize(FileHandle h, uint32_t *size); // "File is too large" at 4 GB - 1 and above
Erc FileOsSetEnd(FileHandle h, uint32_t size);

// Mapping a whole file outside the open-file table: 1 ok (size 0: the file's own size).
int FileMapHandle(FileHandle h, int fReadOnly, uint32_t size, FileHandle *mapping, void **view);
void FileUnmapHandle(FileHandle mapping, void *view);

// Plain calls, no error set.
int FileOsGetInfo(FileHandle h, FileOsInfo *info);
int FileOsPathInfo(const char *path, FileOsInfo *info);
int FileOsCopyGuarded(void *dst, const void *src, uint32_t length);
uint32_t FileOsTickCount();
