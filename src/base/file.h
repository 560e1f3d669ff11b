// file: the table of at most 200 open files (prefix File). A caller holds a file number (the slot, 0..199;
// -1 for failure) and reads and writes at the file's own position, through a memory-mapped view of the whole
// file, the shared block disk cache (base/filecache.h) or direct system calls. Opens of the same path share
// one slot with a reference count.
// Success convention of the foundation (see erc.h): failure is false, 0, -1 or null, as each call says, with
// the current error set.
#pragma once

#include "base/erc.h"
#include "base/fileos.h"

#include <cstdint>

enum { FILE_MAX_OPEN = 200, FILE_PATH_MAX = 255 };

// The global file-error flags, cleared by the shell at every main-loop turn.
enum {
    FILE_ERR_BLOCK_READ = 0x4,
    FILE_ERR_BLOCK_WRITE = 0x8,
    FILE_ERR_NOT_FOUND = 0x10, // an open failed: no such file or path
    FILE_ERR_OPEN = 0x20,      // an open failed otherwise
    FILE_ERR_FORMAT = 0x100,   // a record file had the wrong signature
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

// Opening and closing. FILE_OPEN_* flags (base/fileos.h): FILE_OPEN_CREATE empties or makes the file;
// without FILE_OPEN_READONLY a file that cannot be opened for writing falls back to read-only silently.
int FileOpenEx(const char *path, uint32_t open);
inline int FileOpen(const char *path, uint32_t open) {
    return FileOpenEx(path, open);
}
inline int FileOpenSeq(const char *path, uint32_t open) {
    return FileOpenEx(path, open | FILE_OPEN_SEQ);
}
int FileOpenOrCreate(const char *path);
void FileClose(int file);
void FileCloseDelete(int file);
int FileFindOpen(const char *path);
bool FileIsReadOnly(int file);    // opened read-only, fell back to read-only, or read-only on disk
void FileForceReadOnly(int file); // writes are refused from now on (a read-only project's files)
bool FileIsMappable(int file);    // may be mapped into memory
bool FileIsMapped(int file);      // a view of the whole file is in memory now
int32_t FileRefCount(int file);   // the opens sharing the slot; 0 for a free slot
// A file whose reads can no longer be trusted (its network went away): reads deliver '?' bytes and writes are
// ignored from then on.
bool FileIsUnreadable(int file);
void FileMarkUnreadable(int file);
// The document layer's mark: lines of documents other than the file's own live in this file.
bool FileHasDocLines(int file);
void FileMarkDocLines(int file, bool on);
int FileCountOpen();
void FileGetPath(int file, char *buffer); // at most 255 characters and a NUL

// Transfers at the file's position; the position advances by what moved.
enum FileTransfer { FILE_TRANSFER_READ, FILE_TRANSFER_WRITE };
int32_t FileReadWrite(int file, void *buffer, int32_t length, FileTransfer transfer); // bytes moved, or -1
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
// FILE_FLUSH_DISK also has the system write its buffers to the disk, so that a full disk shows here.
enum FileFlushDepth { FILE_FLUSH_CACHE, FILE_FLUSH_DISK };
int FileFlushEx(int file, FileFlushDepth depth);
int FileFlushAll();
int FileSyncSize(int file);
int FileRereadSize(int file);

// Mapping and handles.
void FileSetMemoryMapping(bool on); // off: no file is ever mapped
bool FileMemoryMapping();
void FileSetMappable(int file, bool on);
void FileSetMapped(int file, bool on);
void FileSetDirect(int file, bool on);
int FileMap(int file, int64_t size); // size -1: the logical size
int FileMapNow(int file);
int FileMapSize(int file, uint32_t size);
int FileUnmap(int file);
void FileUnmapAll();
int FileReleaseOsHandle(int file);
int FileEnsureOsHandle(int file);
bool FileReopenWritable(int file, bool attempt);
int FileReopenReadOnly(int file);
int FileRenameOpen(int file, const char *newPath);
void FileSwapSlots(int a, int b);
int FileTouch(int file);
int FileTouchByPath(const char *path);

// Information.
int FileGetInfo(int file, FileInfo *out);
int FileGetInfoByPath(const char *path, FileInfo *out);
uint32_t FileGetSizeByPath(const char *path);
bool FileInfoEqual(const FileInfo *a, const FileInfo *b);
bool FileTimeNewer(const FileInfo *a, const FileInfo *b);
int FileCompare(const char *pathA, const char *pathB);
// The size and last-write time of a directory entry (a size from 4 GB on reads 0xFFFFFFFF).
void FileInfoFromFindData(const FileOsFind *fd, FileInfo *out);

// The global file-error flags.
uint32_t FileErrorFlags();
void FileErrorFlagsSet(uint32_t bits);
void FileErrorFlagsClear();

// Start-up, idle and shutdown.
void FileIdle();
void FileShutdown();
