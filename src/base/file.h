// file: the table of at most 200 open files (prefix File). A caller holds a file number (the slot, 0..199;
// -1 for failure) and reads and writes at the file's own position, through a memory-mapped view of the whole
// file, the shared block disk cache (base/filecache.h) or direct system calls. Opens of the same path share
// one slot with a reference count.
#pragma once

#include "base/erc.h"
#include "base/fileos.h"

#include <cstdint>

enum { FILE_MAX_OPEN = 200, FILE_PATH_MAX = 255 };

// Flag bits of an open-file record.
enum {
    FILE_WRITTEN = 0x1,      // written since open
    FILE_READONLY = 0x4,     // opened read-only, fell back to read-only, read-only attribute, or forced
    FILE_OS_DIRTY = 0x8,     // data went to the system since its buffers were last flushed
    FILE_BULK_READ = 0x10,   // map now if possible, else a cache miss on read loads a run of blocks
    FILE_OPEN_FAILED = 0x20, // the last system open of this record failed
    FILE_DIRECT = 0x40,      // transfers bypass the disk cache
    FILE_DOC_LINES = 0x80,   // reserved for the document layer
    FILE_MAPPABLE = 0x100,   // mapping permitted
    FILE_SEQ = 0x200,        // sequential-scan hint of the system open
    FILE_UNREADABLE = 0x400, // reads deliver '?' bytes, writes are ignored
};

// The global file-error flags, cleared by the shell at every main-loop turn.
enum {
    FILE_ERR_BLOCK_READ = 0x4,
    FILE_ERR_BLOCK_WRITE = 0x8,
    FILE_ERR_NOT_FOUND = 0x10, // an open failed: no such file or path
    FILE_ERR_OPEN = 0x20,      // an open failed otherwise
    FILE_ERR_FORMAT = 0x100,   // a record file had the wrong signature
};

// One open file. In memory only: the handles and the view grow with the pointer size.
struct FileRec {
    uint32_t flags;          // FILE_*
    FileHandle handle;       // 0 while released or after a failed system open
    Erc lastError;           // the last I/O error on this file
    uint32_t lastErrorTime;  // tick count when it was set
    uint32_t size;           // logical size; grows with writes and seeks past the end
    uint32_t position;       // never beyond size
    int32_t refCount;        // opens sharing the slot
    FileHandle mapping;      // non-zero while mapped
    char *view;              // the whole file while mapped
    uint32_t viewSize;       // bytes the view covers; the logical size may grow past it by a seek
    uint32_t mapTime;        // tick count of the open, the last map or unmap, the last remap step
    int32_t accessCount;     // transfers since the last remap step
    int32_t shareCode;       // of the system open, kept to reopen
    uint32_t writeCount;     // write calls
    uint32_t sizeCheckCount; // writeCount at the last size re-read
    char path[FILE_PATH_MAX + 1];
};

// Size and last-write time of a file, compared to notice changes made outside the program.
struct FileInfo {
    uint32_t timeLow; // last-write time, 100 ns units since 1601
    uint32_t timeHigh;
    uint32_t size;
};
static_assert(sizeof(FileInfo) == 12, "FileInfo is three 32-bit words");

extern const char ercFileTooMany[];      // "Too many files are open."
extern const char ercFileReadFor[];      // "File read error for %s"
extern const char ercFileWriteFor[];     // "File write error for %s"
extern const char ercFileTooLargeOpen[]; // "File is too large to open: %s"

// Opening and closing.
int FileOpenEx(const char *path, int fCreate, int fReadOnly, int fSeq, int fFileMakeOK);
int FileOpen(const char *path, int fCreate);
int FileOpenSeq(const char *path, int fCreate, int fReadOnly);
int FileOpenOrCreate(const char *path);
void FileClose(int file);
void FileCloseDelete(int file);
int FileFindOpen(const char *path);
FileRec *FileGetRec(int file); // null for a free or invalid slot
int FileCountOpen();
void FileGetPath(int file, char *buffer); // at most 255 characters and a NUL

// Transfers at the file's position; the position advances by what moved.
int32_t FileReadWrite(int file, void *buffer, int32_t length, int fWrite); // bytes moved, or -1
int FileReadExact(int file, void *buffer, int32_t length);
int FileWriteExact(int file, const void *buffer, int32_t length);
int32_t FileReadLine(int file, char *buffer, int32_t max);   // through the next LF, or -1
int32_t FileReadLineSz(int file, char *buffer, int32_t max); // bytes taken (0 at the end or on error)
int FileWriteLine(int file, const char *text);
int FileWriteLineN(int file, const char *text, int32_t length);
const void *FileReadPtr(int file, uint32_t offset, void *buffer, int32_t length, int32_t *outLength);
int FileCopyRange(int source, uint32_t offset, int destination, uint32_t length);
int FileCopyData(int source, int destination);

void FileSeek(int file, uint32_t position);
void FileSkip(int file, int32_t n);
void FileSeekEnd(int file, uint32_t n);
uint32_t FileTell(int file);
uint32_t FileGetSize(int file);
int FileSetSize(int file, uint32_t size);
int FileTruncate(int file);
int FileFlush(int file);
int FileFlushEx(int file, int fOsFlush);
int FileFlushAll();
int FileSyncSize(int file);
int FileRereadSize(int file);

// Mapping and handles.
void FileSetMemoryMapping(int on); // off: no file is ever mapped
int FileMemoryMapping();
void FileSetMappable(int file, int on);
void FileSetMapped(int file, int on);
void FileSetDirect(int file, int on);
int FileMap(int file, int64_t size); // size -1: the logical size
int FileMapNow(int file);
int FileMapSize(int file, uint32_t size);
int FileUnmap(int file);
void FileUnmapAll();
int FileReleaseOsHandle(int file);
int FileEnsureOsHandle(int file);
int FileReopenWritable(int file, int fTry);
int FileReopenReadOnly(int file);
int FileRenameOpen(int file, const char *newPath);
void FileSwapSlots(int a, int b);
int FileTouch(int file);
int FileTouchByPath(const char *path);

// Information.
int FileGetInfo(int file, FileInfo *out);
int FileGetInfoByPath(const char *path, FileInfo *out);
uint32_t FileGetSizeByPath(const char *path);
int FileInfoEqual(const FileInfo *a, const FileInfo *b);
int FileTimeNewer(const FileInfo *a, const FileInfo *b);
int FileCompare(const char *pathA, const char *pathB);
// The size and last-write time of a directory entry (defined by the Win32 back-end, which has the record).
struct _WIN32_FIND_DATAA;
void FileInfoFromFindData(const struct _WIN32_FIND_DATAA *fd, FileInfo *out);

// 1 when offset lies at or past the file's end on disk: a seek grew the logical size there, and the bytes
// up to the logical size were never written (they read as zeros).
int FileBeyondDisk(FileRec *rec, uint32_t offset);

// Errors: the record's last error and the current error; the read and write texts name the file.
void FileSetIoError(FileRec *rec, Erc erc);
uint32_t FileErrorFlags();
void FileErrorFlagsSet(uint32_t bits);
void FileErrorFlagsClear();

// Start-up, idle and shutdown.
void FileIdle();
void FileShutdown();
