// file: the open-file table (prefix File). Each slot is one heap record (FileRec) with the file's system
// handle, logical size, position, reference count and mapping; opens of the same path (ignoring case) share
// the slot. A transfer goes through the mapped view when the file is mapped, else through the block disk
// cache (base/filecache.h) unless the file is direct or the cache is not set up, else straight to the system.
// Portable: the system is reached only through the fileos table.
// Invariants: position <= size for every transfer's start; a mapped or direct file has no cache blocks; this
// module touches a view only through the guarded copy, so a fault there is an error, not a crash (FileReadPtr
// hands out a view pointer only after probing each page of the range).
#include "base/file.h"

#include "base/filecache.h"
#include "base/filerec.h"
#include "base/fileprim.h"
#include "base/heap.h"
#include "base/tick.h"
#include "base/utilil.h"

#include <algorithm>
#include <cstring>

const char ercFileTooMany[] = "Too many files are open.";
const char ercFileReadFor[] = "File read error for %s";
const char ercFileWriteFor[] = "File write error for %s";
const char ercFileTooLargeOpen[] = "File is too large to open: %s";

enum {
    FILE_SHARE_READ_CODE = 32,
    FILE_SHARE_NONE_CODE = 16,
    FILE_SIZE_LIMIT = 0xFFFFFFFE, // the largest logical size; all ones is no size
    FILE_IDLE_MS = 1000,
    FILE_COMPARE_STEP = 4096,
    FILE_PAGE = 4096,
    FILE_SYS_NOT_FOUND = 2,
    FILE_SYS_PATH_NOT_FOUND = 3,
};

static FileRec *fileTable[FILE_MAX_OPEN];
static int fileOpenCount;
static uint32_t fileErrorFlags;
static int fileMappingOn = 1;
static char fileCopyBuffer[FILE_BLOCK_SIZE];
static uint32_t fileIdleTime;
static bool fileIdleRan;

static FileRec *FileRecOf(int file) {
    return file >= 0 && file < FILE_MAX_OPEN ? fileTable[file] : nullptr;
}

bool FileIsReadOnly(int file) {
    FileRec *rec = FileGetRec(file);
    return rec && (rec->flags & FILE_READONLY);
}

bool FileIsMappable(int file) {
    FileRec *rec = FileGetRec(file);
    return rec && (rec->flags & FILE_MAPPABLE);
}

void FileForceReadOnly(int file) {
    if (FileRec *rec = FileGetRec(file)) rec->flags |= FILE_READONLY;
}

bool FileIsMapped(int file) {
    FileRec *rec = FileGetRec(file);
    return rec && rec->view;
}

int32_t FileRefCount(int file) {
    FileRec *rec = FileGetRec(file);
    return rec ? rec->refCount : 0;
}

bool FileIsUnreadable(int file) {
    FileRec *rec = FileGetRec(file);
    return rec && (rec->flags & FILE_UNREADABLE);
}

void FileMarkUnreadable(int file) {
    if (FileRec *rec = FileGetRec(file)) rec->flags |= FILE_UNREADABLE;
}

bool FileHasDocLines(int file) {
    FileRec *rec = FileGetRec(file);
    return rec && (rec->flags & FILE_DOC_LINES);
}

void FileMarkDocLines(int file, bool on) {
    FileRec *rec = FileGetRec(file);
    if (!rec) return;
    rec->flags = on ? rec->flags | FILE_DOC_LINES : rec->flags & ~FILE_DOC_LINES;
}

FileRec *FileGetRec(int file) {
    return FileRecOf(file);
}

// ---- Errors ----

void FileSetIoError(FileRec *rec, Erc erc) {
    rec->lastError = erc;
    rec->lastErrorTime = TickNow();
    ErcSetF(erc, rec->path);
}

static void FileNoteOsError(FileRec *rec) {
    rec->lastError = ErcGet();
    rec->lastErrorTime = TickNow();
}

uint32_t FileErrorFlags() {
    return fileErrorFlags;
}
void FileErrorFlagsSet(uint32_t bits) {
    fileErrorFlags |= bits;
}
void FileErrorFlagsClear() {
    fileErrorFlags = 0;
}

// ---- Opening and closing ----

int FileFindOpen(const char *path) {
    for (int i = 0; i < FILE_MAX_OPEN; i++)
        if (fileTable[i] && StrEqualI(fileTable[i]->path, path)) return i;
    return -1;
}

// One system open of the record: sets or clears the open-failed, read-only and sequential flags.
static Erc FileOsOpenRec(FileRec *rec, uint32_t open, int shareCode) {
    Erc erc = FileOsOpen(rec->path, open, shareCode, &rec->handle);
    rec->flags &= ~(FILE_OPEN_FAILED | FILE_READONLY | FILE_SEQ);
    rec->flags |= (erc ? FILE_OPEN_FAILED : 0) | (open & FILE_OPEN_READONLY ? FILE_READONLY : 0) |
                  (open & FILE_OPEN_SEQ ? FILE_SEQ : 0);
    rec->shareCode = shareCode;
    return erc;
}

// The open flags that reopen the record as it was opened.
static uint32_t FileOpenFlagsOf(const FileRec *rec) {
    uint32_t open = FILE_OPEN_EXISTING;
    if (rec->flags & FILE_READONLY) open |= FILE_OPEN_READONLY;
    if (rec->flags & FILE_SEQ) open |= FILE_OPEN_SEQ;
    return open;
}

static bool FileDiskReadOnly(const char *path) {
    FileOsInfo info;
    return FileOsPathInfo(path, &info) && (info.attributes & FILEOS_ATTR_READONLY);
}

static void FileFreeSlot(int slot) {
    MemFree(fileTable[slot]);
    fileTable[slot] = nullptr;
    fileOpenCount--;
}

static int FileTakeSlot(const char *path, uint32_t open) {
    int slot = 0;
    while (slot < FILE_MAX_OPEN && fileTable[slot]) slot++;
    FileRec *rec = slot < FILE_MAX_OPEN ? (FileRec *)MemAlloc(sizeof(FileRec)) : nullptr;
    if (!rec) {
        ErcSetF(ercFileTooMany);
        ErcWriteLineF("trying to open %s, fCreate=%u, fReadOnly=%u, fSeq=%u, fFileMakeOK=%u, cFns=%u", path,
                      open & FILE_OPEN_CREATE ? 1 : 0, open & FILE_OPEN_READONLY ? 1 : 0,
                      open & FILE_OPEN_SEQ ? 1 : 0, open & FILE_OPEN_MAPPABLE ? 1 : 0, fileOpenCount);
        return -1;
    }
    rec->mapTime = TickNow();
    StrCopyMaxLen(path, rec->path, FILE_PATH_MAX);
    rec->refCount = 1;
    rec->flags = open & FILE_OPEN_MAPPABLE ? FILE_MAPPABLE : 0;
    fileTable[slot] = rec;
    fileOpenCount++;
    return slot;
}

// The system open with its read-only fall-back; on failure the slot is freed again.
static bool FileOpenSystem(int slot, uint32_t open) {
    FileRec *rec = fileTable[slot];
    Erc erc = FileOsOpenRec(rec, open, FILE_SHARE_READ_CODE);
    if (erc && !(open & (FILE_OPEN_CREATE | FILE_OPEN_READONLY))) {
        ErcClear();
        erc = FileOsOpenRec(rec, FILE_OPEN_READONLY | (open & FILE_OPEN_SEQ), FILE_SHARE_READ_CODE);
    }
    if (!erc) return true;
    uint32_t sys = ErcGetSysError();
    fileErrorFlags |=
        sys == FILE_SYS_NOT_FOUND || sys == FILE_SYS_PATH_NOT_FOUND ? FILE_ERR_NOT_FOUND : FILE_ERR_OPEN;
    FileFreeSlot(slot);
    return false;
}

// A path longer than a record holds is refused: the record would name, and reopen, another file.
int FileOpenEx(const char *path, uint32_t open) {
    int file = FileFindOpen(path);
    if (file >= 0) {
        if (open & FILE_OPEN_CREATE) return -1;
        fileTable[file]->refCount++;
        return file;
    }
    if (strlen(path) > FILE_PATH_MAX) {
        ErcSetF(ercFileOpen, path);
        fileErrorFlags |= FILE_ERR_OPEN;
        return -1;
    }
    int slot = FileTakeSlot(path, open);
    if (slot < 0 || !FileOpenSystem(slot, open)) return -1;
    FileRec *rec = fileTable[slot];
    rec->lastError = nullptr;
    if (!(rec->flags & FILE_READONLY) && FileDiskReadOnly(rec->path)) rec->flags |= FILE_READONLY;
    // The caller shows the error: the file layer never opens a box itself.
    if (FileOsGetSize(rec->handle, &rec->size)) {
        ErcSetF(ercFileTooLargeOpen, rec->path);
        FileOsClose(rec->handle);
        FileFreeSlot(slot);
        return -1;
    }
    rec->mapTime = TickNow();
    if ((open & (FILE_OPEN_CREATE | FILE_OPEN_MAPPABLE)) == FILE_OPEN_MAPPABLE) {
        FileCacheDropFile(slot);
        FileMap(slot, -1);
    }
    return slot;
}

int FileOpenOrCreate(const char *path) {
    int file = FileOpen(path, FILE_OPEN_EXISTING);
    return file >= 0 ? file : FileOpen(path, FILE_OPEN_CREATE);
}

static int FileUnmapView(FileRec *rec) {
    if (!rec->mapping) return 1;
    if (!FileOsGetCalls()->unmap(rec->mapping, rec->view)) return 0;
    rec->mapping = 0;
    rec->view = nullptr;
    rec->viewSize = 0;
    return 1;
}

static void FileCloseSlot(int file, bool fWriteBack) {
    FileRec *rec = fileTable[file];
    if (fWriteBack) FileCacheFlushFile(file);
    FileUnmapView(rec);
    if (rec->handle) FileOsClose(rec->handle);
    FileCacheDropFile(file);
    FileFreeSlot(file);
}

void FileClose(int file) {
    FileRec *rec = FileRecOf(file);
    if (!rec || --rec->refCount > 0) return;
    FileCloseSlot(file, true);
}

void FileCloseDelete(int file) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return;
    char path[FILE_PATH_MAX + 1];
    StrCopyMaxLen(rec->path, path, FILE_PATH_MAX);
    FileCloseSlot(file, false);
    FileOsGetCalls()->remove(path);
}

int FileCountOpen() {
    return fileOpenCount;
}

void FileGetPath(int file, char *buffer) {
    FileRec *rec = FileRecOf(file);
    StrCopyMaxLen(rec ? rec->path : "", buffer, FILE_PATH_MAX);
}

// ---- Transfers ----

// The view covers the file as it was mapped; a seek may have grown the logical size past it. A transfer that
// would leave the view unmaps the file and goes through the cache instead of reading past the view.
static bool FileLeaveView(FileRec *rec, uint32_t offset, int32_t length) {
    if (!rec->view || (uint64_t)offset + (uint32_t)length <= rec->viewSize) return true;
    if (FileUnmapView(rec)) return true;
    FileSetIoError(rec, ercFileWriteFor);
    return false;
}

static bool FileUsesCache(const FileRec *rec) {
    return !(rec->flags & FILE_DIRECT) && FileCacheIsReady();
}

static void FileNoteWrite(FileRec *rec) {
    rec->flags |= FILE_WRITTEN;
    rec->writeCount++;
}

static int32_t FileCutAt(const FileRec *rec, uint32_t offset, int32_t length) {
    if (offset >= rec->size) return 0;
    return (int32_t)std::min<uint64_t>((uint64_t)length, rec->size - offset);
}

// A write to a read-only file would sit in the cache as a dirty block that can never be written back, and
// every eviction that meets it would fail; a write past the 32-bit size would wrap the position.
static bool FileWriteAllowed(FileRec *rec, int32_t length) {
    if (rec->flags & FILE_READONLY) {
        FileSetIoError(rec, ercFileWriteFor);
        return false;
    }
    if ((uint64_t)rec->position + (uint32_t)length > FILE_SIZE_LIMIT) {
        FileSetIoError(rec, ercFileTooLarge);
        return false;
    }
    return true;
}

static int32_t FileViewTransfer(FileRec *rec, void *buffer, int32_t length, bool fWrite) {
    char *at = rec->view + rec->position;
    if (fWrite) {
        if (!FileOsCopyGuarded(at, buffer, (uint32_t)length)) {
            FileSetIoError(rec, ercFileWriteFor);
            return -1;
        }
        FileNoteWrite(rec);
    } else if (!FileOsCopyGuarded(buffer, at, (uint32_t)length)) {
        memset(buffer, 0, (size_t)length);
        FileSetIoError(rec, ercFileReadFor);
        return -1;
    }
    rec->position += (uint32_t)length;
    return length;
}

static int32_t FileCacheTransfer(int file, FileRec *rec, char *buffer, int32_t length, bool fWrite) {
    uint32_t position = rec->position;
    int32_t done = 0;
    while (done < length) {
        uint32_t offset = position & (FILE_BLOCK_SIZE - 1);
        uint32_t n = std::min<uint32_t>(FILE_BLOCK_SIZE - offset, (uint32_t)(length - done));
        char *block = FileCacheGetBlock(file, position >> FILE_BLOCK_SHIFT, fWrite);
        if (!block) return -1;
        if (fWrite) {
            memcpy(block + offset, buffer + done, n);
            if (position + n > rec->size) rec->size = position + n;
        } else {
            memcpy(buffer + done, block + offset, n);
        }
        position += n;
        done += (int32_t)n;
    }
    rec->position = position;
    if (fWrite) FileNoteWrite(rec);
    return done;
}

int FileBeyondDisk(FileRec *rec, uint32_t offset) {
    uint64_t size = 0;
    return FileOsGetCalls()->getSize(rec->handle, &size) && offset >= size;
}

// One system call; the result is what moved. A read that stops where the disk ends, inside the logical size,
// delivers zeros for the rest; a read that moves nothing before the disk ends is an error; a short write is
// an error of the file as well.
static int32_t FileDirectTransfer(FileRec *rec, void *buffer, int32_t length, bool fWrite) {
    uint32_t moved = 0;
    Erc erc = FileOsSeek(rec->handle, rec->position);
    if (!erc)
        erc = fWrite ? FileOsWrite(rec->handle, buffer, (uint32_t)length, &moved)
                     : FileOsRead(rec->handle, buffer, (uint32_t)length, &moved);
    if (erc) {
        FileNoteOsError(rec);
        return -1;
    }
    if (!fWrite && moved < (uint32_t)length && FileBeyondDisk(rec, rec->position + moved)) {
        memset((char *)buffer + moved, 0, (size_t)length - moved);
        moved = (uint32_t)length;
    }
    if (!fWrite && moved == 0) {
        FileSetIoError(rec, ercFileReadFor);
        return -1;
    }
    rec->position += moved;
    if (fWrite) {
        if (rec->position > rec->size) rec->size = rec->position;
        rec->flags |= FILE_OS_DIRTY;
        FileNoteWrite(rec);
        if (moved < (uint32_t)length) FileSetIoError(rec, ercFileWriteFor);
    }
    return (int32_t)moved;
}

int32_t FileReadWrite(int file, void *buffer, int32_t length, FileTransfer transfer) {
    bool fWrite = transfer == FILE_TRANSFER_WRITE;
    FileRec *rec = FileRecOf(file);
    if (!rec || length < 0) return -1;
    if (rec->flags & FILE_UNREADABLE) {
        if (!fWrite) memset(buffer, '?', (size_t)length);
        return length;
    }
    if (fWrite && !FileWriteAllowed(rec, length)) return -1;
    if (!fWrite) length = FileCutAt(rec, rec->position, length);
    FileRemapStep(rec, file, FILE_REMAP_MAP);
    if (!FileLeaveView(rec, rec->position, length)) return -1;
    if (rec->view) return FileViewTransfer(rec, buffer, length, fWrite);
    if (length == 0) return 0;
    if (FileUsesCache(rec)) return FileCacheTransfer(file, rec, (char *)buffer, length, fWrite);
    return FileDirectTransfer(rec, buffer, length, fWrite);
}

int FileReadExact(int file, void *buffer, int32_t length) {
    return FileReadWrite(file, buffer, length, FILE_TRANSFER_READ) == length;
}

int FileWriteExact(int file, const void *buffer, int32_t length) {
    return FileReadWrite(file, (void *)buffer, length, FILE_TRANSFER_WRITE) == length;
}

// ---- Lines and pointers ----

static int32_t FileLineLength(const char *bytes, int32_t count) {
    const char *lf = (const char *)memchr(bytes, '\n', (size_t)count);
    return lf ? (int32_t)(lf - bytes) + 1 : count;
}

static int32_t FileReadLineCached(int file, FileRec *rec, char *buffer, int32_t count) {
    int32_t done = 0;
    while (done < count) {
        uint32_t offset = rec->position & (FILE_BLOCK_SIZE - 1);
        int32_t n = (int32_t)std::min<uint32_t>(FILE_BLOCK_SIZE - offset, (uint32_t)(count - done));
        const char *block = FileCacheGetBlock(file, rec->position >> FILE_BLOCK_SHIFT, 0);
        if (!block) return -1;
        int32_t take = FileLineLength(block + offset, n);
        memcpy(buffer + done, block + offset, (size_t)take);
        rec->position += (uint32_t)take;
        done += take;
        if (take < n || buffer[done - 1] == '\n') break;
    }
    return done;
}

// Reads a whole piece, then steps back to just after its first LF.
static int32_t FileReadLineWhole(FileRec *rec, char *buffer, int32_t count) {
    uint32_t start = rec->position;
    int32_t n =
        rec->view ? FileViewTransfer(rec, buffer, count, 0) : FileDirectTransfer(rec, buffer, count, 0);
    if (n < 0) return -1;
    n = FileLineLength(buffer, n);
    rec->position = start + (uint32_t)n;
    return n;
}

int32_t FileReadLine(int file, char *buffer, int32_t max) {
    FileRec *rec = FileRecOf(file);
    if (!rec || max < 0) return -1;
    if (rec->flags & FILE_UNREADABLE) {
        int32_t n = std::min(max, 2);
        memcpy(buffer, "\r\n", (size_t)n);
        return n;
    }
    int32_t count = FileCutAt(rec, rec->position, max);
    FileRemapStep(rec, file, FILE_REMAP_MAP);
    if (count == 0) return 0;
    if (!FileLeaveView(rec, rec->position, count)) return -1;
    if (!rec->view && FileUsesCache(rec)) return FileReadLineCached(file, rec, buffer, count);
    return FileReadLineWhole(rec, buffer, count);
}

int32_t FileReadLineSz(int file, char *buffer, int32_t max) {
    if (max <= 0) return 0;
    int32_t n = FileReadLine(file, buffer, max - 1);
    if (n <= 0) {
        buffer[0] = 0;
        return 0;
    }
    int32_t length = n;
    if (buffer[length - 1] == '\n') {
        length--;
        if (length > 0 && buffer[length - 1] == '\r') length--;
    }
    buffer[length] = 0;
    return n;
}

int FileWriteLineN(int file, const char *text, int32_t length) {
    return FileWriteExact(file, text, length) && FileWriteExact(file, "\r\n", 2);
}

int FileWriteLine(int file, const char *text) {
    return FileWriteLineN(file, text, (int32_t)strlen(text));
}

// Touches one byte of every page of the range, so that a view that went away fails here and not in the
// caller that reads through the pointer.
static bool FileViewProbe(const FileRec *rec, uint32_t offset, int32_t length) {
    char byte;
    uint32_t end = offset + (uint32_t)length;
    for (uint32_t at = offset; at < end; at = (at & ~(uint32_t)(FILE_PAGE - 1)) + FILE_PAGE)
        if (!FileOsCopyGuarded(&byte, rec->view + at, 1)) return false;
    return length == 0 || FileOsCopyGuarded(&byte, rec->view + end - 1, 1);
}

const void *FileReadPtr(int file, uint32_t offset, void *buffer, int32_t length, int32_t *outLength) {
    FileRec *rec = FileRecOf(file);
    *outLength = 0;
    if (!rec || length < 0) return nullptr;
    if (rec->flags & FILE_UNREADABLE) {
        memset(buffer, '?', (size_t)length);
        *outLength = length;
        return buffer;
    }
    FileRemapStep(rec, file, FILE_REMAP_MAP);
    int32_t n = FileCutAt(rec, offset, length);
    if (n == 0) return buffer;
    if (!FileLeaveView(rec, offset, n)) return nullptr;
    if (rec->view) {
        if (!FileViewProbe(rec, offset, n)) {
            FileSetIoError(rec, ercFileReadFor);
            return nullptr;
        }
        *outLength = n;
        return rec->view + offset;
    }
    uint32_t last = offset + (uint32_t)length - 1;
    if (FileUsesCache(rec) && (offset >> FILE_BLOCK_SHIFT) == (last >> FILE_BLOCK_SHIFT)) {
        const char *block = FileCacheGetBlock(file, offset >> FILE_BLOCK_SHIFT, 0);
        if (!block) return nullptr;
        *outLength = n;
        return block + (offset & (FILE_BLOCK_SIZE - 1));
    }
    rec->position = offset;
    n = FileReadWrite(file, buffer, n, FILE_TRANSFER_READ);
    if (n < 0) return nullptr;
    *outLength = n;
    return buffer;
}

// ---- Copies ----

static int FileCopyViews(FileRec *source, uint32_t offset, FileRec *destination, uint32_t length) {
    if (!FileOsCopyGuarded(destination->view + destination->position, source->view + offset, length)) {
        ErcSetF(ercFileRead);
        return 0;
    }
    destination->position += length;
    FileNoteWrite(destination);
    return 1;
}

static int FileCopyPieces(int source, int destination, uint32_t length) {
    while (length > 0) {
        int32_t n = (int32_t)std::min<uint32_t>(length, sizeof fileCopyBuffer);
        int32_t got = FileReadWrite(source, fileCopyBuffer, n, FILE_TRANSFER_READ);
        if (got <= 0 || FileReadWrite(destination, fileCopyBuffer, got, FILE_TRANSFER_WRITE) != got) return 0;
        length -= (uint32_t)got;
    }
    return 1;
}

int FileCopyRange(int source, uint32_t offset, int destination, uint32_t length) {
    FileRec *s = FileRecOf(source), *d = FileRecOf(destination);
    if (!s || !d || offset > s->size) return 0;
    if (s->view && d->view && (uint64_t)offset + length <= s->viewSize &&
        (uint64_t)d->position + length <= d->viewSize && !(d->flags & FILE_READONLY))
        return FileCopyViews(s, offset, d, length);
    s->position = offset;
    FileCacheQuietBegin(source);
    int ok = FileCopyPieces(source, destination, length);
    FileCacheQuietEnd();
    return ok;
}

int FileCopyData(int source, int destination) {
    return FileCopyRange(source, 0, destination, FileGetSize(source));
}

// ---- Position and size ----

void FileSeek(int file, uint32_t position) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return;
    rec->position = position;
    if (position > rec->size) rec->size = position;
}

// Steps before the start stop at 0 instead of wrapping to a position near 4 GB (which would grow the size).
void FileSkip(int file, int32_t n) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return;
    int64_t to = std::clamp<int64_t>((int64_t)rec->position + n, 0, FILE_SIZE_LIMIT);
    FileSeek(file, (uint32_t)to);
}

void FileSeekEnd(int file, uint32_t n) {
    FileRec *rec = FileRecOf(file);
    if (rec) FileSeek(file, n > rec->size ? 0 : rec->size - n);
}

uint32_t FileTell(int file) {
    FileRec *rec = FileRecOf(file);
    return rec ? rec->position : 0;
}

uint32_t FileGetSize(int file) {
    FileRec *rec = FileRecOf(file);
    return rec ? rec->size : 0;
}

// The file's blocks are dropped after the write-back: clean blocks past a new, smaller end would otherwise
// bring the old bytes back when the file grows again.
int FileSetSize(int file, uint32_t size) {
    FileRec *rec = FileRecOf(file);
    if (!rec || (rec->flags & FILE_READONLY) || !FileFlushEx(file, FILE_FLUSH_CACHE)) return 0;
    bool mapped = rec->view != nullptr;
    if (mapped && !FileUnmapView(rec)) return 0;
    FileCacheDropFile(file);
    if (FileOsSetEnd(rec->handle, size)) {
        FileNoteOsError(rec);
        return 0;
    }
    rec->position = rec->size = size;
    if (mapped) FileMap(file, -1);
    return 1;
}

int FileTruncate(int file) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return 0;
    rec->mapTime = TickNow();
    if (!FileUnmapView(rec)) return 0;
    FileCacheDropFile(file);
    rec->position = rec->size = 0;
    if (FileOsSetEnd(rec->handle, 0)) {
        FileNoteOsError(rec);
        return 0;
    }
    return 1;
}

int FileFlushEx(int file, FileFlushDepth depth) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return 0;
    if (!FileCacheFlushFile(file)) return 0;
    if (depth != FILE_FLUSH_DISK || rec->view || !(rec->flags & FILE_OS_DIRTY)) return 1;
    if (FileOsFlush(rec->handle)) {
        FileNoteOsError(rec);
        return 0;
    }
    rec->flags &= ~FILE_OS_DIRTY;
    return 1;
}

int FileFlush(int file) {
    return FileFlushEx(file, FILE_FLUSH_DISK);
}

int FileFlushAll() {
    for (int i = 0; i < FILE_MAX_OPEN; i++)
        if (fileTable[i] && !FileFlush(i)) return 0;
    return 1;
}

// ---- The remap step ----

enum { FILE_REMAP_EVERY = 100, FILE_REMAP_MS = 5000 }; // transfers between two looks at the clock

void FileRemapStep(FileRec *rec, int file, uint32_t flags) {
    bool force = flags & FILE_REMAP_FORCE;
    int32_t before = rec->accessCount++;
    if (!force && before != FILE_REMAP_EVERY) return;
    rec->accessCount = 0;
    uint32_t now = TickNow();
    if (!force && now - rec->mapTime <= FILE_REMAP_MS) return;
    rec->mapTime = now;
    if (flags & FILE_REMAP_MAP) FileMapNow(file);
}

// ---- Handles ----

// Writes the file's blocks back first: a dirty block of a file without a handle could never be written.
int FileReleaseOsHandle(int file) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return 0;
    int ok = FileCacheFlushFile(file);
    rec->mapTime = TickNow();
    if (!FileUnmapView(rec)) return 0;
    if (rec->handle) FileOsClose(rec->handle);
    rec->handle = 0;
    return ok;
}

int FileEnsureOsHandle(int file) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return 0;
    if (rec->handle) return 1;
    return !FileOsOpenRec(rec, FileOpenFlagsOf(rec), rec->shareCode);
}

int FileSyncSize(int file) {
    FileRec *rec = FileRecOf(file);
    if (!rec || !FileFlushEx(file, FILE_FLUSH_CACHE)) return 0;
    if (rec->writeCount == rec->sizeCheckCount) return 1;
    rec->sizeCheckCount = rec->writeCount;
    return FileRereadSize(file);
}

// Another process may have changed the file: its cached blocks are dropped with the old handle.
int FileRereadSize(int file) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return 0;
    FileReleaseOsHandle(file);
    FileCacheDropFile(file);
    if (!FileEnsureOsHandle(file) || FileOsGetSize(rec->handle, &rec->size)) return 0;
    if (rec->position > rec->size) rec->position = rec->size;
    return 1;
}

bool FileReopenWritable(int file, bool attempt) {
    FileRec *rec = FileRecOf(file);
    if (!rec || !attempt || FileDiskReadOnly(rec->path)) return false;
    uint32_t seq = FileOpenFlagsOf(rec) & FILE_OPEN_SEQ;
    FileReleaseOsHandle(file);
    if (!FileOsOpenRec(rec, seq, FILE_SHARE_NONE_CODE)) return true;
    FileOsOpenRec(rec, FILE_OPEN_READONLY | seq, FILE_SHARE_READ_CODE);
    return false;
}

int FileReopenReadOnly(int file) {
    FileRec *rec = FileRecOf(file);
    if (!rec || (rec->flags & FILE_READONLY) || FileDiskReadOnly(rec->path)) return 0;
    FileReleaseOsHandle(file);
    return !FileOsOpenRec(rec, FILE_OPEN_READONLY | (FileOpenFlagsOf(rec) & FILE_OPEN_SEQ),
                          FILE_SHARE_READ_CODE);
}

// A failed rename reports failure even when the old file opens again.
int FileRenameOpen(int file, const char *newPath) {
    FileRec *rec = FileRecOf(file);
    if (!rec || strlen(newPath) > FILE_PATH_MAX) return 0;
    FileReleaseOsHandle(file);
    int renamed = FileOsGetCalls()->rename(rec->path, newPath);
    if (renamed) StrCopyMaxLen(newPath, rec->path, FILE_PATH_MAX);
    int reopened = FileEnsureOsHandle(file);
    return renamed && reopened;
}

void FileSwapSlots(int a, int b) {
    if (a < 0 || a >= FILE_MAX_OPEN || b < 0 || b >= FILE_MAX_OPEN || a == b) return;
    FileCacheSwapFiles(a, b);
    std::swap(fileTable[a], fileTable[b]);
}

int FileTouch(int file) {
    if (!FileReopenWritable(file, true)) return 0;
    return FileOsGetCalls()->setTimeNow(FileRecOf(file)->handle);
}

int FileTouchByPath(const char *path) {
    int file = FileOpen(path, FILE_OPEN_EXISTING);
    if (file < 0) return 0;
    int ok = FileTouch(file);
    FileClose(file);
    return ok;
}

// ---- Mapping ----

void FileSetMemoryMapping(bool on) {
    fileMappingOn = on;
}
bool FileMemoryMapping() {
    return fileMappingOn;
}

int FileMap(int file, int64_t size) {
    FileRec *rec = FileRecOf(file);
    if (!rec || !fileMappingOn || rec->view || !(rec->flags & FILE_MAPPABLE)) return 0;
    uint32_t bytes = size < 0 ? rec->size : (uint32_t)size;
    if (bytes == 0) return 0;
    void *view = nullptr;
    int result = FileOsGetCalls()->map(rec->handle, rec->flags & FILE_READONLY, bytes, &rec->mapping, &view);
    if (result != 1) {
        rec->mapping = 0;
        if (result == 0) rec->flags &= ~FILE_MAPPABLE;
        return 0;
    }
    rec->view = (char *)view;
    rec->viewSize = rec->size = bytes;
    if (rec->position > rec->size) rec->position = rec->size;
    return 1;
}

int FileMapNow(int file) {
    FileRec *rec = FileRecOf(file);
    if (!rec || !fileMappingOn || rec->view || !(rec->flags & FILE_MAPPABLE) || rec->size == 0) return 0;
    rec->mapTime = TickNow();
    if (!FileCacheFlushFile(file)) return 0;
    FileCacheDropFile(file);
    return FileMap(file, -1);
}

// With mapping off there is nothing to do, and the caller's writes go through the cache.
int FileMapSize(int file, uint32_t size) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return 0;
    if (!fileMappingOn) return 1;
    rec->flags |= FILE_MAPPABLE;
    rec->mapTime = TickNow();
    if (rec->view) {
        if (!FileUnmapView(rec)) return 0;
    } else {
        if (!FileCacheFlushFile(file)) return 0;
        FileCacheDropFile(file);
    }
    return FileMap(file, size);
}

int FileUnmap(int file) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return 0;
    rec->mapTime = TickNow();
    return FileUnmapView(rec);
}

void FileUnmapAll() {
    for (int i = 0; i < FILE_MAX_OPEN; i++)
        if (fileTable[i]) FileUnmap(i);
}

void FileSetMappable(int file, bool on) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return;
    if (on) {
        rec->flags |= FILE_MAPPABLE;
        return;
    }
    rec->flags &= ~FILE_MAPPABLE;
    if (rec->view) FileUnmap(file);
}

void FileSetMapped(int file, bool on) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return;
    if (!on) {
        rec->flags &= ~FILE_BULK_READ;
        return;
    }
    rec->flags |= FILE_BULK_READ;
    FileMapNow(file);
}

void FileSetDirect(int file, bool on) {
    FileRec *rec = FileRecOf(file);
    if (!rec) return;
    if (on) {
        FileCacheFlushFile(file);
        FileCacheDropFile(file);
        rec->flags |= FILE_DIRECT;
    } else {
        rec->flags &= ~FILE_DIRECT;
    }
}

// ---- Information ----

static void FileInfoFrom(const FileOsInfo *info, FileInfo *out) {
    out->timeLow = info->timeLow;
    out->timeHigh = info->timeHigh;
    out->size = info->sizeHigh ? 0xFFFFFFFFu : info->sizeLow;
}

// The entry's facts through a directory search of its own, so that a walk over the shared one goes on.
static bool FileFindInfo(const char *path, FileOsInfo *info) {
    FileFindSlot slot;
    FileFindInitSlot(&slot);
    FileFindData fd;
    bool found = FileFindEx(&slot, true, FIND_ANY, path, &fd, nullptr, 0);
    FileFindCloseSlot(&slot);
    if (!found) return false;
    *info = {fd.timeLow, fd.timeHigh, fd.sizeLow, fd.sizeHigh, fd.attributes};
    return true;
}

int FileGetInfo(int file, FileInfo *out) {
    *out = FileInfo{};
    FileRec *rec = FileRecOf(file);
    if (!rec) return 0;
    FileSyncSize(file);
    FileOsInfo info;
    if ((rec->handle && FileOsGetInfo(rec->handle, &info)) || FileFindInfo(rec->path, &info)) {
        FileInfoFrom(&info, out);
        return 1;
    }
    return 0;
}

int FileGetInfoByPath(const char *path, FileInfo *out) {
    *out = FileInfo{};
    int file = FileFindOpen(path);
    if (file >= 0) return FileGetInfo(file, out);
    FileOsInfo info;
    FileHandle h;
    if (!FileOsOpen(path, FILE_OPEN_READONLY, 0, &h)) {
        int ok = FileOsGetInfo(h, &info);
        FileOsClose(h);
        if (ok) {
            FileInfoFrom(&info, out);
            return 1;
        }
    } else {
        ErcClear();
    }
    if (!FileFindInfo(path, &info)) return 0;
    FileInfoFrom(&info, out);
    return 1;
}

uint32_t FileGetSizeByPath(const char *path) {
    FileInfo info;
    return FileGetInfoByPath(path, &info) ? info.size : 0;
}

static uint64_t FileInfoTime(const FileInfo *info) {
    return (uint64_t)info->timeHigh << 32 | info->timeLow;
}

bool FileInfoEqual(const FileInfo *a, const FileInfo *b) {
    return a->size == b->size && FileInfoTime(a) == FileInfoTime(b);
}

bool FileTimeNewer(const FileInfo *a, const FileInfo *b) {
    if (FileInfoTime(a) == 0) return 0;
    if (FileInfoTime(b) == 0) return 1;
    return FileInfoTime(a) > FileInfoTime(b);
}

// Reads one step of a file at its own offset: both paths may share one slot (the same file, or a file the
// caller holds open), so each read seeks first.
static int32_t FileCompareStep(int file, uint32_t *offset, char *buffer) {
    FileSeek(file, *offset);
    int32_t n = FileReadWrite(file, buffer, FILE_COMPARE_STEP, FILE_TRANSFER_READ);
    if (n > 0) *offset += (uint32_t)n;
    return n;
}

static int FileCompareOpen(int a, int b) {
    static char bufferA[FILE_COMPARE_STEP], bufferB[FILE_COMPARE_STEP];
    uint32_t offsetA = 0, offsetB = 0;
    for (;;) {
        int32_t na = FileCompareStep(a, &offsetA, bufferA);
        int32_t nb = FileCompareStep(b, &offsetB, bufferB);
        if (na < 0 || nb < 0) return -1;
        if (na != nb) return na - nb;
        if (na == 0) return 0;
        if (memcmp(bufferA, bufferB, (size_t)na) != 0) return -1;
    }
}

int FileCompare(const char *pathA, const char *pathB) {
    int a = FileOpenSeq(pathA, FILE_OPEN_READONLY);
    int b = a >= 0 ? FileOpenSeq(pathB, FILE_OPEN_READONLY) : -1;
    if (a < 0 || b < 0) {
        FileClose(a);
        return -1;
    }
    uint32_t keepA = FileTell(a), keepB = FileTell(b);
    int result = FileCompareOpen(a, b);
    FileSeek(b, keepB);
    FileSeek(a, keepA);
    FileClose(b);
    FileClose(a);
    return result;
}

// ---- Idle and shutdown ----

void FileIdle() {
    uint32_t now = TickNow();
    if (fileIdleRan && now - fileIdleTime < FILE_IDLE_MS) return;
    fileIdleRan = true;
    fileIdleTime = now;
    FileFindClose();
    if (!fileMappingOn) return;
    for (int i = 0; i < FILE_MAX_OPEN; i++)
        if (fileTable[i]) FileRemapStep(fileTable[i], i, FILE_REMAP_MAP | FILE_REMAP_FORCE);
}

// Every slot is closed whatever its count, so that no dirty block of a file held twice is lost at exit.
void FileShutdown() {
    for (int i = 0; i < FILE_MAX_OPEN; i++)
        if (fileTable[i]) FileCloseSlot(i, true);
    FileCacheTerm();
    FileFindClose();
}

void FileInfoFromFindData(const FileFindData *fd, FileInfo *out) {
    out->timeLow = fd->timeLow;
    out->timeHigh = fd->timeHigh;
    out->size = fd->sizeHigh ? 0xFFFFFFFFu : fd->sizeLow;
}
