// filerec: the open-file record, private to the file layer and its disk cache (file.cpp, filecache.cpp and
// their tests). Other modules ask the file layer's functions (FileIsReadOnly, FileIsMappable, ...).
#pragma once

#include "base/file.h"

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

FileRec *FileGetRec(int file); // null for a free or invalid slot

// 1 when offset lies at or past the file's end on disk: a seek grew the logical size there, and the bytes
// up to the logical size were never written (they read as zeros).
int FileBeyondDisk(FileRec *rec, uint32_t offset);

// Errors: the record's last error and the current error; the read and write texts name the file.
void FileSetIoError(FileRec *rec, Erc erc);

// The remap step of a mapped file, every 100 transfers or when forced: a view is made again (FILE_REMAP_MAP)
// at most every 5 seconds.
enum FileRemapFlags { FILE_REMAP_MAP = 0x1, FILE_REMAP_FORCE = 0x2 };
void FileRemapStep(FileRec *rec, int file, uint32_t flags);
