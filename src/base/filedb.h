// filedb: record files (prefix Fdb). A record file holds fixed-size records addressed by record number (rn)
// after a 512-byte header, with a free list threaded through the deleted records and a dirty bit on disk
// that tells whether the file was closed cleanly. Callers hold a pointer to the shared record-file object.
// Success convention of the foundation (see erc.h): failure is false, 0, -1 or null, as each call says, with
// the current error set.
#pragma once

#include "base/file.h"

#include <cstdint>

struct Fdb;

// The stored header; on disk every field is a little-endian 32-bit word, the rest of the 512 bytes zero.
struct FdbFileHeader {
    int32_t signature;  // chosen by the caller, checked at open
    int32_t stamp;      // the program's version word when the header was last written with a new stamp
    int32_t liveCount;  // records in use
    int32_t slotCount;  // the next record number never used
    int32_t freeHead;   // the last freed record, FDB_END when none
    int32_t recordSize; // bytes per record
    int32_t keepSize;   // non-zero: closing does not cut the file after the last slot
    int32_t flags;      // FDB_DIRTY
    uint8_t zero[480];
};
static_assert(sizeof(FdbFileHeader) == 512, "the stored header is 512 bytes");

enum {
    FDB_HEADER_SIZE = 512,
    FDB_IN_USE = -3, // the first word of a record in use
    FDB_END = -2,    // the first word of the last free record
    FDB_DIRTY = 1,   // header flag: changed and not yet closed or committed cleanly
    FDB_RECORD_MIN = 4,
};

// Global file-error flag: a record file of the wrong format (signature, record size or header contents).
enum { FDB_WRONG_FORMAT = FILE_ERR_FORMAT };

extern const char ercDbTooLarge[]; // "Database file is too large."

// Enumeration filter: non-zero accepts the record just read into the buffer.
typedef int (*FdbFilter)(Fdb *fdb, int32_t rn, void *buffer);
// Recovery progress: non-zero aborts.
typedef int (*FdbProgress)(int32_t rn);
// Conversion of one record in use for FdbCopyConvert: 0 stops the copy.
typedef int (*FdbConvert)(const void *source, void *destination);

// Opening and closing. An open record file of the same path is shared (without fCreate) when its signature
// and record size match. Record sizes below FDB_RECORD_MIN are refused.
Fdb *FdbOpen(const char *path, int32_t signature, bool create, int32_t recordSize);
Fdb *FdbOpenOrCreate(const char *path, int32_t signature, int32_t recordSize, int *created);
Fdb *FdbOpenAlways(const char *path, int32_t signature, int32_t recordSize);
void FdbClose(Fdb *fdb);
void FdbCloseNow(Fdb *fdb);
void FdbCloseDelete(Fdb *fdb);

// Records. Buffers hold one record of the file's record size; new and put set its first word to FDB_IN_USE.
int32_t FdbNewRecord(Fdb *fdb, void *buffer);
int FdbPutRecord(Fdb *fdb, int32_t rn, void *buffer);
int FdbGetRecord(Fdb *fdb, int32_t rn, void *buffer);
int FdbDeleteRecord(Fdb *fdb, int32_t rn); // 0 for a record that is not in use
int FdbIsRecordInUse(Fdb *fdb, int32_t rn, void *buffer);
int32_t FdbNextRecord(Fdb *fdb, int32_t rn, void *buffer, FdbFilter filter);
int32_t FdbFindName(Fdb *fdb, void *buffer, const char *name, FdbFilter filter);

// The whole file.
int FdbSetDirty(Fdb *fdb, bool on);
int FdbCommit(Fdb *fdb);
int FdbEmpty(Fdb *fdb, int32_t recordSize); // 0 keeps the record size
int FdbReserve(Fdb *fdb, int32_t count);
int FdbRecover(Fdb *fdb, FdbProgress progress); // progress may be null
int FdbCopyConvert(Fdb *source, void *sourceBuffer, Fdb *destination, void *destinationBuffer,
                   FdbConvert convert);

int FdbGetFile(const Fdb *fdb);
void FdbGetPath(const Fdb *fdb, char *buffer); // at most 255 characters and a NUL
int32_t FdbGetStamp(const Fdb *fdb);
int32_t FdbGetKeepSize(const Fdb *fdb);
int32_t FdbGetSlotCount(const Fdb *fdb);
int32_t FdbRecordCount(const Fdb *fdb);
void FdbHeader(const Fdb *fdb, FdbFileHeader *out); // the header as the object would write it now
uint32_t FdbRecordOffset(const Fdb *fdb, int32_t rn);

// Invariant check for tests: 1 when the live count matches the records in use and the free list runs over
// every free record exactly once, in range, to FDB_END.
int FdbCheck(Fdb *fdb);

// Test seam: make `count` writes into the record area fail, from the nth from now on (1 = the next one;
// count -1: every one from there); n = 0 turns it off.
void FdbWriteFailNth(int n, int count = 1);
