// filedb: record files (prefix Fdb), read and written through the open-file table.
//
// Layout, every field a little-endian 32-bit word:
//   0 signature   4 version stamp   8 live count   12 slot count   16 free-list head   20 record size
//   24 keep-size flag   28 flags (bit 0 dirty)   32..511 zero
//   512 + rn x record size: record rn (rn < slot count)
// A record in use starts with -3; a free one with the rn of the next free record, -2 ending the list.
//
// Invariants: 0 <= live count <= slot count; the free-list head is -2 or a slot; the free list runs over
// free records only; the dirty bit reaches the disk before the first changed record does, so a file whose
// records changed without a clean close is always found dirty at its next open.
#include "base/filedb.h"

#include "base/erc.h"
#include "base/file.h"
#include "base/heap.h"
#include "base/seam.h"
#include "base/utilil.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

const char ercDbTooLarge[] = "Database file is too large.";

// The program's version word (major 3, minor 50, build 64).
static const int32_t fdbVersionWord = 0x03320040;

enum : uint64_t {
    FDB_FILE_LIMIT = 0xFFFFFFFFu,   // file positions are 32-bit
    FDB_SIZE_LIMIT = 4294836224u,   // no new record once the file is this long (4 GB - 128 KB)
    FDB_GROWTH_LIMIT = 4294901759u, // growth may not reach this size (4 GB - 65,537)
    FDB_SLOT_LIMIT = 4294967195u,   // slot counts from here up are refused
    FDB_GROW_MIN = 65536,           // least and most bytes added by one growth step
    FDB_GROW_MAX = 4194304,
};

struct Fdb {
    int file;
    int32_t liveCount;
    int32_t slotCount;
    int32_t freeHead;
    int32_t recordSize;
    Fdb *next; // all open record files, newest first
    uint32_t flags;
    int32_t stamp;
    int32_t signature;
    int32_t keepSize;
    int32_t refCount;
    int readOnly; // the file could only be opened for reading
};

static Fdb *fdbList;
static SeamFault fdbWriteFault;

// ---- The file layer's operations as record files use them.

static void FdbFlagFileError(uint32_t flag) {
    FileErrorFlagsSet(flag);
}

// Read-write with mapping permitted; the file layer falls back to read-only for a locked or read-only file.
static int FdbFileOpen(const char *path, int fCreate, int *readOnly) {
    int file = FileOpenEx(path, (fCreate ? FILE_OPEN_CREATE : FILE_OPEN_EXISTING) | FILE_OPEN_MAPPABLE);
    *readOnly = file >= 0 && FileIsReadOnly(file);
    return file;
}

// Growth maps the file at its new size when mapping is on and the file permits it.
static int FdbFileMayMap(int file) {
    return FileMemoryMapping() && FileIsMappable(file);
}

// ---- Stored words and the header image.

static void FdbPut32(void *at, int32_t value) {
    uint8_t *p = (uint8_t *)at;
    for (int i = 0; i < 4; i++) p[i] = (uint8_t)((uint32_t)value >> (8 * i));
}

static int32_t FdbGet32(const void *at) {
    const uint8_t *p = (const uint8_t *)at;
    return (int32_t)(p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24);
}

// The header's words in their stored order.
static int32_t FdbFileHeader::*const fdbHeaderWords[] = {
    &FdbFileHeader::signature, &FdbFileHeader::stamp,    &FdbFileHeader::liveCount,
    &FdbFileHeader::slotCount, &FdbFileHeader::freeHead, &FdbFileHeader::recordSize,
    &FdbFileHeader::keepSize,  &FdbFileHeader::flags,
};

static void FdbHeaderEncode(const FdbFileHeader *header, uint8_t *image) {
    memset(image, 0, FDB_HEADER_SIZE);
    int i = 0;
    for (auto word : fdbHeaderWords) FdbPut32(image + 4 * i++, header->*word);
}

static void FdbHeaderDecode(const uint8_t *image, FdbFileHeader *header) {
    memset(header, 0, sizeof *header);
    int i = 0;
    for (auto word : fdbHeaderWords) header->*word = FdbGet32(image + 4 * i++);
}

void FdbHeader(const Fdb *fdb, FdbFileHeader *out) {
    *out = {fdb->signature, fdb->stamp,          fdb->liveCount,
            fdb->slotCount, fdb->freeHead,       fdb->recordSize,
            fdb->keepSize,  (int32_t)fdb->flags, {}};
}

static uint64_t FdbOffsetFor(int32_t rn, int32_t recordSize) {
    return FDB_HEADER_SIZE + (uint64_t)(uint32_t)rn * (uint32_t)recordSize;
}

static uint64_t FdbOffset(const Fdb *fdb, int32_t rn) {
    return FdbOffsetFor(rn, fdb->recordSize);
}

uint32_t FdbRecordOffset(const Fdb *fdb, int32_t rn) {
    return (uint32_t)FdbOffset(fdb, rn);
}

static void FdbSetTooLarge() {
    ErcSetF(ercDbTooLarge);
}

// ---- Transfers. Reads never seek past the end, which would make the file layer's size grow.

static int FdbReadAt(const Fdb *fdb, uint64_t offset, void *buffer, int32_t length) {
    if (offset + length > FileGetSize(fdb->file)) return 0;
    FileSeek(fdb->file, (uint32_t)offset);
    return FileReadExact(fdb->file, buffer, length);
}

static int FdbWriteAt(const Fdb *fdb, uint64_t offset, const void *buffer, int32_t length) {
    if (offset + length > FDB_FILE_LIMIT) {
        FdbSetTooLarge();
        return 0;
    }
    if (SeamFaultHit(&fdbWriteFault)) return 0;
    FileSeek(fdb->file, (uint32_t)offset);
    return FileWriteExact(fdb->file, buffer, length);
}

static int FdbReadWord(const Fdb *fdb, int32_t rn, int32_t *word) {
    uint8_t bytes[4];
    if (!FdbReadAt(fdb, FdbOffset(fdb, rn), bytes, 4)) return 0;
    *word = FdbGet32(bytes);
    return 1;
}

static int FdbWriteWord(const Fdb *fdb, int32_t rn, int32_t word) {
    uint8_t bytes[4];
    FdbPut32(bytes, word);
    return FdbWriteAt(fdb, FdbOffset(fdb, rn), bytes, 4);
}

static int FdbValidRn(const Fdb *fdb, int32_t rn) {
    return rn >= 0 && rn < fdb->slotCount;
}

static void FdbResetSeams() {
    fdbWriteFault = {};
}

void FdbWriteFailNth(int n, int count) {
    SeamFaultSet(&fdbWriteFault, n, count);
    SeamRegisterReset(FdbResetSeams);
}

// ---- The header on disk.

static int FdbWriteHeader(Fdb *fdb, int fNewStamp) {
    if (fdb->readOnly) return 1;
    if (fNewStamp) fdb->stamp = fdbVersionWord;
    FdbFileHeader header;
    FdbHeader(fdb, &header);
    uint8_t image[FDB_HEADER_SIZE];
    FdbHeaderEncode(&header, image);
    uint32_t at = FileTell(fdb->file);
    FileSeek(fdb->file, 0);
    int ok = FileWriteExact(fdb->file, image, FDB_HEADER_SIZE);
    FileSeek(fdb->file, at);
    return ok;
}

static int FdbSaveHeader(Fdb *fdb, int fNewStamp) {
    return FdbWriteHeader(fdb, fNewStamp) && (fdb->readOnly || FileFlush(fdb->file));
}

// Every change starts here: the header goes to the disk, flushed, before any record changes.
static int FdbMarkDirty(Fdb *fdb) {
    if (fdb->flags & FDB_DIRTY) return 1;
    fdb->flags |= FDB_DIRTY;
    if (FdbSaveHeader(fdb, 1)) return 1;
    fdb->flags &= ~FDB_DIRTY;
    return 0;
}

int FdbSetDirty(Fdb *fdb, bool on) {
    uint32_t flags = on ? fdb->flags | FDB_DIRTY : fdb->flags & ~FDB_DIRTY;
    if (flags == fdb->flags) return 1;
    fdb->flags = flags;
    return FdbSaveHeader(fdb, 0);
}

// The end of the last slot when the file is longer and may be cut there.
static int FdbTrimEnd(const Fdb *fdb, uint32_t *end) {
    *end = (uint32_t)FdbOffset(fdb, fdb->slotCount);
    return !fdb->keepSize && !fdb->readOnly && *end < FileGetSize(fdb->file);
}

static void FdbTrim(Fdb *fdb) {
    uint32_t end;
    if (FdbTrimEnd(fdb, &end)) FileSetSize(fdb->file, end);
}

// ---- Opening and closing.

static Fdb *FdbFind(const char *path) {
    char open[256];
    for (Fdb *fdb = fdbList; fdb; fdb = fdb->next) {
        FileGetPath(fdb->file, open);
        if (StrEqualI(open, path)) return fdb;
    }
    return nullptr;
}

static void FdbUnlink(Fdb *fdb) {
    Fdb **link = &fdbList;
    while (*link && *link != fdb) link = &(*link)->next;
    if (*link) *link = fdb->next;
}

// A header is taken only when it describes records of the caller's size within its own slots: a file of
// another record size would overrun the caller's buffers (and a size of 0 divide by zero in recovery), and
// a count or free-list head outside the slots would send allocation beyond the file.
static int FdbHeaderFits(const FdbFileHeader *h, int32_t signature, int32_t recordSize) {
    if (h->signature != signature || h->recordSize != recordSize) return 0;
    if (h->slotCount < 0 || FdbOffsetFor(h->slotCount, recordSize) > FDB_FILE_LIMIT) return 0;
    if (h->liveCount < 0 || h->liveCount > h->slotCount) return 0;
    return h->freeHead == FDB_END || (h->freeHead >= 0 && h->freeHead < h->slotCount);
}

static int FdbCreateFile(Fdb *fdb, const char *path, int32_t signature, int32_t recordSize) {
    fdb->file = FdbFileOpen(path, 1, &fdb->readOnly);
    if (fdb->file < 0) return 0;
    fdb->freeHead = FDB_END;
    fdb->recordSize = recordSize;
    fdb->stamp = fdbVersionWord;
    fdb->flags = FDB_DIRTY;
    fdb->signature = signature;
    return FdbSaveHeader(fdb, 0);
}

static int FdbOpenFile(Fdb *fdb, const char *path, int32_t signature, int32_t recordSize) {
    fdb->file = FdbFileOpen(path, 0, &fdb->readOnly);
    if (fdb->file < 0) return 0;
    uint8_t image[FDB_HEADER_SIZE];
    FdbFileHeader h;
    if (FileGetSize(fdb->file) < FDB_HEADER_SIZE) {
        FdbFlagFileError(FDB_WRONG_FORMAT);
        return 0;
    }
    FileSeek(fdb->file, 0);
    if (!FileReadExact(fdb->file, image, FDB_HEADER_SIZE)) return 0;
    FdbHeaderDecode(image, &h);
    if (!FdbHeaderFits(&h, signature, recordSize)) {
        FdbFlagFileError(FDB_WRONG_FORMAT);
        return 0;
    }
    fdb->stamp = h.stamp;
    fdb->liveCount = h.liveCount;
    fdb->slotCount = h.slotCount;
    fdb->freeHead = h.freeHead;
    fdb->recordSize = recordSize;
    fdb->keepSize = h.keepSize;
    fdb->flags = (uint32_t)h.flags;
    fdb->signature = signature;
    return FdbSaveHeader(fdb, 0);
}

Fdb *FdbOpen(const char *path, int32_t signature, bool create, int32_t recordSize) {
    if (recordSize < FDB_RECORD_MIN) return nullptr;
    if (Fdb *shared = FdbFind(path)) {
        // A create would cut the file under its other users.
        if (create) return nullptr;
        if (shared->signature != signature || shared->recordSize != recordSize) {
            FdbFlagFileError(FDB_WRONG_FORMAT);
            return nullptr;
        }
        shared->refCount++;
        return shared;
    }
    Fdb *fdb = (Fdb *)MemAlloc(sizeof(Fdb));
    if (!fdb) return nullptr;
    fdb->next = fdbList;
    fdbList = fdb;
    if (!(create ? FdbCreateFile : FdbOpenFile)(fdb, path, signature, recordSize)) {
        FdbUnlink(fdb);
        if (fdb->file >= 0) FileClose(fdb->file);
        MemFree(fdb);
        return nullptr;
    }
    fdb->refCount = 1;
    return fdb;
}

Fdb *FdbOpenOrCreate(const char *path, int32_t signature, int32_t recordSize, int *created) {
    if (created) *created = 0;
    if (Fdb *fdb = FdbOpen(path, signature, 0, recordSize)) return fdb;
    ErcClear();
    Fdb *fdb = FdbOpen(path, signature, 1, recordSize);
    if (fdb && created) *created = 1;
    return fdb;
}

Fdb *FdbOpenAlways(const char *path, int32_t signature, int32_t recordSize) {
    return FdbOpenOrCreate(path, signature, recordSize, nullptr);
}

static void FdbRelease(Fdb *fdb, int trim) {
    FdbUnlink(fdb);
    uint32_t end;
    int cut = trim && FdbTrimEnd(fdb, &end);
    if (cut) FileSetSize(fdb->file, end);
    FileClose(fdb->file);
    MemFree(fdb);
}

void FdbClose(Fdb *fdb) {
    if (!fdb || --fdb->refCount > 0) return;
    if (fdb->flags & FDB_DIRTY) {
        if (FileFlush(fdb->file)) fdb->flags &= ~FDB_DIRTY;
        FdbWriteHeader(fdb, 1);
    }
    FdbRelease(fdb, 1);
}

void FdbCloseNow(Fdb *fdb) {
    FdbWriteHeader(fdb, 0);
    FdbRelease(fdb, 0);
}

void FdbCloseDelete(Fdb *fdb) {
    FdbUnlink(fdb);
    FileCloseDelete(fdb->file);
    MemFree(fdb);
}

int FdbCommit(Fdb *fdb) {
    int ok = FdbSaveHeader(fdb, fdb->flags & FDB_DIRTY);
    FdbTrim(fdb);
    return ok;
}

// ---- Records.

// Takes the head of the free list, or FDB_END. A link is checked before it is trusted: a link outside the
// slots, or a listed record that is in use (a damaged file's list, broken or cyclic), ends the list there.
// The records behind it stay unused until FdbRecover, but no record in use is ever handed out again.
static int32_t FdbPopFree(Fdb *fdb) {
    int32_t rn = fdb->freeHead, link;
    if (rn == FDB_END) return FDB_END;
    if (!FdbReadWord(fdb, rn, &link) || link == FDB_IN_USE || (link != FDB_END && !FdbValidRn(fdb, link))) {
        fdb->freeHead = FDB_END;
        return FDB_END;
    }
    fdb->freeHead = link;
    return rn;
}

// Makes room for a record appended at offset: a file that would end within it grows by a step that keeps
// appends from remapping the file for every record.
static int FdbGrowForAppend(Fdb *fdb, uint64_t end) {
    uint64_t size = FileGetSize(fdb->file);
    if (end < size || !FdbFileMayMap(fdb->file)) return 1;
    uint64_t step = std::clamp<uint64_t>(fdb->recordSize + size, FDB_GROW_MIN, FDB_GROW_MAX);
    if (size + step >= FDB_GROWTH_LIMIT) {
        FdbSetTooLarge();
        return 0;
    }
    return FileMapSize(fdb->file, (uint32_t)(size + step));
}

static int32_t FdbAppendSlot(Fdb *fdb) {
    uint64_t end = FdbOffset(fdb, fdb->slotCount) + fdb->recordSize;
    if ((uint32_t)fdb->slotCount >= FDB_SLOT_LIMIT || end > FDB_FILE_LIMIT) {
        FdbSetTooLarge();
        return -1;
    }
    return FdbGrowForAppend(fdb, end) ? fdb->slotCount++ : -1;
}

int32_t FdbNewRecord(Fdb *fdb, void *buffer) {
    if (FileGetSize(fdb->file) >= FDB_SIZE_LIMIT) {
        FdbSetTooLarge();
        return -1;
    }
    if (!FdbMarkDirty(fdb)) return -1;
    int32_t rn = FdbPopFree(fdb);
    int appended = rn == FDB_END;
    if (appended && (rn = FdbAppendSlot(fdb)) < 0) return -1;
    fdb->liveCount++;
    FdbPut32(buffer, FDB_IN_USE);
    if (FdbWriteAt(fdb, FdbOffset(fdb, rn), buffer, fdb->recordSize)) return rn;
    // The record goes back where it came from.
    fdb->liveCount--;
    if (appended) {
        fdb->slotCount--;
    } else {
        FdbWriteWord(fdb, rn, fdb->freeHead);
        fdb->freeHead = rn;
    }
    return -1;
}

// Only a record in use joins the free list: freeing a free record again would make the list cyclic, and one
// outside the slots would link the list beyond the file (rn -1 would even write into the header).
int FdbDeleteRecord(Fdb *fdb, int32_t rn) {
    int32_t word;
    if (!FdbValidRn(fdb, rn) || !FdbReadWord(fdb, rn, &word) || word != FDB_IN_USE) return 0;
    if (!FdbMarkDirty(fdb) || !FdbWriteWord(fdb, rn, fdb->freeHead)) return 0;
    fdb->freeHead = rn;
    fdb->liveCount--;
    return 1;
}

int FdbPutRecord(Fdb *fdb, int32_t rn, void *buffer) {
    if (!FdbValidRn(fdb, rn) || !FdbMarkDirty(fdb)) return 0;
    FdbPut32(buffer, FDB_IN_USE);
    return FdbWriteAt(fdb, FdbOffset(fdb, rn), buffer, fdb->recordSize);
}

int FdbGetRecord(Fdb *fdb, int32_t rn, void *buffer) {
    return FdbValidRn(fdb, rn) && FdbReadAt(fdb, FdbOffset(fdb, rn), buffer, fdb->recordSize);
}

int FdbIsRecordInUse(Fdb *fdb, int32_t rn, void *buffer) {
    return FdbGetRecord(fdb, rn, buffer) && FdbGet32(buffer) == FDB_IN_USE;
}

int32_t FdbNextRecord(Fdb *fdb, int32_t rn, void *buffer, FdbFilter filter) {
    if (rn >= fdb->slotCount) return -1;
    for (int32_t i = rn < 0 ? 0 : rn + 1; i < fdb->slotCount; i++) {
        if (!FdbGetRecord(fdb, i, buffer)) return -1;
        if (FdbGet32(buffer) == FDB_IN_USE && (!filter || filter(fdb, i, buffer))) return i;
    }
    return -1;
}

// The record's name is the C string at offset 4, read no further than the record's end: a name that fills
// the record without a NUL must not carry the comparison past it.
static int FdbNameEquals(const Fdb *fdb, const void *buffer, const char *name) {
    const unsigned char *s = (const unsigned char *)buffer + 4;
    int32_t i = 0;
    for (; i < fdb->recordSize - 4 && s[i]; i++)
        if (!name[i] || CharCmpI(s[i], (unsigned char)name[i])) return 0;
    return name[i] == 0;
}

int32_t FdbFindName(Fdb *fdb, void *buffer, const char *name, FdbFilter filter) {
    for (int32_t rn = FdbNextRecord(fdb, -1, buffer, filter); rn >= 0;
         rn = FdbNextRecord(fdb, rn, buffer, filter))
        if (FdbNameEquals(fdb, buffer, name)) return rn;
    return -1;
}

// ---- The whole file.

int FdbEmpty(Fdb *fdb, int32_t recordSize) {
    // A read-only file cannot be emptied; the object must not claim it was.
    if (fdb->readOnly || (recordSize && recordSize < FDB_RECORD_MIN)) return 0;
    fdb->freeHead = FDB_END;
    fdb->liveCount = fdb->slotCount = 0;
    fdb->flags |= FDB_DIRTY;
    fdb->keepSize = 0;
    if (recordSize) fdb->recordSize = recordSize;
    FileTruncate(fdb->file);
    return FdbSaveHeader(fdb, 1);
}

int FdbReserve(Fdb *fdb, int32_t count) {
    if (fdb->slotCount >= count) return 1;
    uint64_t size = FdbOffset(fdb, count);
    if (size > FDB_FILE_LIMIT) {
        FdbSetTooLarge();
        return 0;
    }
    if (size <= FileGetSize(fdb->file)) return 1;
    return FdbFileMayMap(fdb->file) ? FileMapSize(fdb->file, (uint32_t)size)
                                    : FileSetSize(fdb->file, (uint32_t)size);
}

// One pass over the slots: records in use are counted, every other record is linked into a new free list,
// the highest-numbered first. A link that is already right is not written again.
static int FdbRelink(Fdb *fdb, FdbProgress progress, int32_t *head, int32_t *live) {
    for (int32_t rn = 0; rn < fdb->slotCount; rn++) {
        if (rn % 100 == 99 && progress && progress(rn)) return 0;
        int32_t word;
        if (!FdbReadWord(fdb, rn, &word)) return 0;
        if (word == FDB_IN_USE) {
            ++*live;
            continue;
        }
        if (word != *head && !FdbWriteWord(fdb, rn, *head)) return 0;
        *head = rn;
    }
    return !(progress && progress(fdb->slotCount));
}

int FdbRecover(Fdb *fdb, FdbProgress progress) {
    if (!FdbMarkDirty(fdb)) return 0;
    uint32_t size = FileGetSize(fdb->file);
    if (size < FdbOffset(fdb, fdb->slotCount))
        fdb->slotCount = size < FDB_HEADER_SIZE ? 0 : (int32_t)((size - FDB_HEADER_SIZE) / fdb->recordSize);
    int32_t head = FDB_END, live = 0;
    FileSetMapped(fdb->file, 1);
    int ok = FdbRelink(fdb, progress, &head, &live);
    FileSetMapped(fdb->file, 0);
    if (!ok) return 0;
    fdb->freeHead = head;
    fdb->liveCount = live;
    return 1;
}

int FdbCopyConvert(Fdb *source, void *sourceBuffer, Fdb *destination, void *destinationBuffer,
                   FdbConvert convert) {
    destination->slotCount = source->slotCount;
    destination->liveCount = source->liveCount;
    destination->freeHead = source->freeHead;
    if (!FdbMarkDirty(destination)) return 0;
    for (int32_t rn = 0; rn < source->slotCount; rn++) {
        if (!FdbReadAt(source, FdbOffset(source, rn), sourceBuffer, source->recordSize)) return 0;
        int32_t word = FdbGet32(sourceBuffer);
        if (word == FDB_IN_USE) {
            if (!convert(sourceBuffer, destinationBuffer)) return 0;
        } else {
            memset(destinationBuffer, 0, destination->recordSize);
        }
        FdbPut32(destinationBuffer, word);
        if (!FdbWriteAt(destination, FdbOffset(destination, rn), destinationBuffer, destination->recordSize))
            return 0;
    }
    return FdbCommit(destination);
}

// ---- Accessors.

int FdbGetFile(const Fdb *fdb) {
    return fdb->file;
}
void FdbGetPath(const Fdb *fdb, char *buffer) {
    FileGetPath(fdb->file, buffer);
}
int32_t FdbGetStamp(const Fdb *fdb) {
    return fdb->stamp;
}
int32_t FdbGetKeepSize(const Fdb *fdb) {
    return fdb->keepSize;
}
int32_t FdbGetSlotCount(const Fdb *fdb) {
    return fdb->slotCount;
}
int32_t FdbRecordCount(const Fdb *fdb) {
    return fdb->liveCount;
}

int FdbCheck(Fdb *fdb) {
    if (fdb->refCount < 1 || fdb->recordSize < FDB_RECORD_MIN) return 0;
    if (fdb->liveCount < 0 || fdb->liveCount > fdb->slotCount) return 0;
    std::vector<char> listed(fdb->slotCount);
    int32_t inUse = 0, free = 0, word;
    for (int32_t rn = 0; rn < fdb->slotCount; rn++) {
        if (!FdbReadWord(fdb, rn, &word)) return 0;
        inUse += word == FDB_IN_USE;
    }
    for (int32_t rn = fdb->freeHead; rn != FDB_END; rn = word, free++) {
        if (!FdbValidRn(fdb, rn) || listed[rn] || !FdbReadWord(fdb, rn, &word) || word == FDB_IN_USE)
            return 0;
        listed[rn] = 1;
    }
    return inUse == fdb->liveCount && free == fdb->slotCount - inUse;
}
