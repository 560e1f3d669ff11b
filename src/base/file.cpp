// file: the open-file table (prefix File). Each slot is one heap record with the file's OS handle, logical
// size, position and reference count; opens of the same path (ignoring case) share the slot.
// Transfers go directly to the system here.
#include "base/file.h"

#include "base/fileos.h"
#include "base/heap.h"
#include "base/utilil.h"

#include <cstring>

struct FileRec {
    uint32_t flags;
    FileHandle handle;
    uint32_t size;     // logical size; grows with writes and seeks past the end
    uint32_t position; // never beyond size
    int32_t refCount;
    char path[256];
};

enum { FILE_READONLY = 0x4 };

static FileRec *fileTable[FILE_MAX_OPEN];
static int fileOpenCount;

static FileRec *FileRecOf(int file) {
    return file >= 0 && file < FILE_MAX_OPEN ? fileTable[file] : nullptr;
}

int FileFindOpen(const char *path) {
    for (int i = 0; i < FILE_MAX_OPEN; i++)
        if (fileTable[i] && StrEqualI(fileTable[i]->path, path)) return i;
    return -1;
}

int FileOpenEx(const char *path, int fCreate, int fReadOnly, int fSeq, int) {
    int file = FileFindOpen(path);
    if (file >= 0 && !fCreate) {
        fileTable[file]->refCount++;
        return file;
    }
    int slot = 0;
    while (slot < FILE_MAX_OPEN && fileTable[slot]) slot++;
    if (slot == FILE_MAX_OPEN) return -1;
    FileHandle h;
    if (FileOsOpen(path, fCreate, fReadOnly, fSeq, fReadOnly ? 32 : 0, &h)) return -1;
    uint32_t size = 0;
    FileRec *rec = (FileRec *)MemAlloc(sizeof(FileRec));
    if (!rec || FileOsGetSize(h, &size)) {
        MemFree(rec);
        FileOsClose(h);
        return -1;
    }
    rec->handle = h;
    rec->size = size;
    rec->refCount = 1;
    rec->flags = fReadOnly ? FILE_READONLY : 0;
    StrCopyMaxLen(path, rec->path, 255);
    fileTable[slot] = rec;
    fileOpenCount++;
    return slot;
}

int FileOpen(const char *path, int fCreate) {
    return FileOpenEx(path, fCreate, 0, 0, 0);
}
int FileOpenSeq(const char *path, int fCreate, int fReadOnly) {
    return FileOpenEx(path, fCreate, fReadOnly, 1, 0);
}

int FileOpenOrCreate(const char *path) {
    int file = FileOpen(path, 0);
    return file >= 0 ? file : FileOpen(path, 1);
}

void FileClose(int file) {
    FileRec *rec = FileRecOf(file);
    if (!rec || --rec->refCount > 0) return;
    FileOsClose(rec->handle);
    MemFree(rec);
    fileTable[file] = nullptr;
    fileOpenCount--;
}

int FileCountOpen() {
    return fileOpenCount;
}

void FileGetPath(int file, char *buffer) {
    FileRec *rec = FileRecOf(file);
    StrCopyMaxLen(rec ? rec->path : "", buffer, 255);
}

int32_t FileReadWrite(int file, void *buffer, int32_t length, int fWrite) {
    FileRec *rec = FileRecOf(file);
    if (!rec || length < 0) return -1;
    if (!fWrite && length > (int64_t)rec->size - rec->position) length = (int32_t)(rec->size - rec->position);
    uint32_t moved = 0;
    if (FileOsSeek(rec->handle, rec->position)) return -1;
    Erc erc = fWrite ? FileOsWrite(rec->handle, buffer, length, &moved)
                     : FileOsRead(rec->handle, buffer, length, &moved);
    if (erc) return -1;
    rec->position += moved;
    if (rec->position > rec->size) rec->size = rec->position;
    return (int32_t)moved;
}

int FileReadExact(int file, void *buffer, int32_t length) {
    return FileReadWrite(file, buffer, length, 0) == length;
}

int FileWriteExact(int file, const void *buffer, int32_t length) {
    return FileReadWrite(file, (void *)buffer, length, 1) == length;
}

void FileSeek(int file, uint32_t position) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return;
    rec->position = position;
    if (position > rec->size) rec->size = position;
}

void FileSkip(int file, int32_t n) {
    if (FileRec *rec = FileRecOf(file)) FileSeek(file, rec->position + n);
}

void FileSeekEnd(int file, uint32_t n) {
    if (FileRec *rec = FileRecOf(file)) FileSeek(file, rec->size - n);
}

uint32_t FileTell(int file) {
    FileRec *rec = FileRecOf(file);
    return rec ? rec->position : 0;
}

uint32_t FileGetSize(int file) {
    FileRec *rec = FileRecOf(file);
    return rec ? rec->size : 0;
}

int FileFlush(int file) {
    FileRec *rec = FileRecOf(file);
    return rec && !FileOsFlush(rec->handle);
}
