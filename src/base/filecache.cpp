// filecache: the block disk cache (prefix FileCache).
// N blocks of 8192 bytes (2..128) in one global block, block i at i x 8192, so that adjacent blocks can be
// read and written in one call. Each block has a descriptor (block number, file number or 0xFFFF when free,
// flags, stamp, next in hash chain); 131 hash chains find a file's block; the block whose stamp is oldest,
// counted from the use counter so that wrap-around keeps the order, is the next victim. Invariants: a block
// in use sits in exactly the chain of its hash; a free block is in no chain and not dirty; every byte of a
// block that was not read from the file is zero, so a write-back never carries the bytes of another file; a
// mapped or direct file has no blocks.
#include "base/filecache.h"

#include "base/filerec.h"

#include "base/globalblock.h"
#include "base/tick.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

const char ercFileCacheMemory[] = "Out of memory for disk cache.";

enum {
    FILE_CACHE_HASH = 131,
    FILE_CACHE_FAILED = 0x1,
    FILE_CACHE_DIRTY = 0x2,
    FILE_CACHE_RUN_LIMIT =
        65535, // a run grows by one block only while this minus its length is at least 8192
};

struct FileCacheDesc {
    uint32_t blockNumber;
    uint32_t fileNumber;
    uint32_t flags;
    uint32_t stamp;
    int32_t next;
};

struct FileCacheMemo {
    int file; // -1 none
    uint32_t block;
    int32_t index;
    char *ptr; // null when the block is failed
};

static char *cacheMemory;
static int32_t cacheCount;
static FileCacheDesc cacheDesc[FILE_CACHE_MAX_BLOCKS];
static int32_t cacheHeads[FILE_CACHE_HASH];
static uint32_t cacheCounter;
static FileCacheMemo cacheMemo = {-1, 0, -1, nullptr};
static int cacheQuietFile = -1;
static int32_t cacheQuietDepth;
static int cacheGather = 1;
static int cacheReady;
static int cacheLockTested;
static int cacheLockWorks;
static char cacheScratch[FILE_BLOCK_SIZE];

static char *FileCacheBytes(int32_t index) {
    return cacheMemory + (size_t)index * FILE_BLOCK_SIZE;
}

static uint32_t FileCacheHash(uint32_t file, uint32_t block) {
    return (file * 43u + block) % FILE_CACHE_HASH;
}

static bool FileCacheInUse(int32_t index) {
    return cacheDesc[index].fileNumber != FILE_CACHE_FREE;
}

static void FileCacheMemoClear() {
    cacheMemo = {-1, 0, -1, nullptr};
}

static void FileCacheChainRemove(int32_t index) {
    FileCacheDesc *d = &cacheDesc[index];
    int32_t *link = &cacheHeads[FileCacheHash(d->fileNumber, d->blockNumber)];
    while (*link >= 0 && *link != index) link = &cacheDesc[*link].next;
    if (*link == index) *link = d->next;
    d->next = -1;
    if (cacheMemo.index == index) FileCacheMemoClear();
}

static void FileCacheChainInsert(int32_t index) {
    FileCacheDesc *d = &cacheDesc[index];
    int32_t *head = &cacheHeads[FileCacheHash(d->fileNumber, d->blockNumber)];
    d->next = *head;
    *head = index;
}

static int32_t FileCacheFind(uint32_t file, uint32_t block) {
    for (int32_t i = cacheHeads[FileCacheHash(file, block)]; i >= 0; i = cacheDesc[i].next)
        if (cacheDesc[i].blockNumber == block && cacheDesc[i].fileNumber == file) return i;
    return -1;
}

static void FileCacheStamp(int32_t index) {
    if ((int)cacheDesc[index].fileNumber == cacheQuietFile) return;
    cacheDesc[index].stamp = cacheCounter++;
}

static void FileCacheMakeFree(int32_t index) {
    if (FileCacheInUse(index)) FileCacheChainRemove(index);
    cacheDesc[index].fileNumber = FILE_CACHE_FREE;
    cacheDesc[index].flags = 0;
}

// The least recently used block: its stamp lies furthest behind the counter, counted modulo 2^32.
static int32_t FileCacheOldest() {
    int32_t best = 0;
    uint32_t bestAge = cacheDesc[0].stamp - (cacheCounter + 1);
    for (int32_t i = 1; i < cacheCount; i++) {
        uint32_t age = cacheDesc[i].stamp - (cacheCounter + 1);
        if (age < bestAge) {
            best = i;
            bestAge = age;
        }
    }
    return best;
}

static void FileCacheIoFailed(FileRec *rec, Erc erc, uint32_t flag) {
    FileSetIoError(rec, erc);
    FileErrorFlagsSet(flag);
}

// ---- Set-up ----

int32_t FileCacheBlocksFor(int32_t sizeKB) {
    int64_t blocks = ((int64_t)(sizeKB < 0 ? 0 : sizeKB) * 1024 + FILE_BLOCK_SIZE - 1) / FILE_BLOCK_SIZE;
    return (int32_t)std::clamp<int64_t>(blocks, 2, FILE_CACHE_MAX_BLOCKS);
}

static void FileCacheReset() {
    for (int32_t i = 0; i < cacheCount; i++) {
        cacheDesc[i] = FileCacheDesc{0, FILE_CACHE_FREE, 0, cacheCounter++, -1};
    }
    for (int32_t &head : cacheHeads) head = -1;
    FileCacheMemoClear();
    cacheReady = 1;
}

// Halved twice, then 4 blocks: 128, 64, 32, 4.
static char *FileCacheAllocate(int32_t *blocks) {
    int32_t n = *blocks;
    for (int attempt = 0; attempt < 4; attempt++) {
        if (attempt == 3) n = 4;
        if (char *memory = (char *)GlobalBlockAlloc((size_t)n * FILE_BLOCK_SIZE)) {
            *blocks = n;
            return memory;
        }
        n = std::clamp(n / 2, 2, (int)FILE_CACHE_MAX_BLOCKS);
    }
    return nullptr;
}

// Creates a file of a fresh "VTxxxxxx" name in the current directory, locks its first byte, and removes it.
static void FileCacheLockTest() {
    if (cacheLockTested) return;
    cacheLockTested = 1;
    const FileOsCalls *os = FileOsGetCalls();
    char name[16];
    FileOsInfo info;
    uint32_t seed = TickNow();
    int tries = 0;
    do snprintf(name, sizeof name, "VT%06u", (unsigned)((seed + tries) % 1000000));
    while (os->pathInfo(name, &info) && ++tries < 100);
    FileHandle h = 0;
    if (tries == 100 || !os->open(name, FILE_OPEN_CREATE, 16, &h)) return;
    cacheLockWorks = os->lock(h, 0, 1);
    os->close(h);
    os->remove(name);
}

bool FileLockWorks() {
    return cacheLockWorks;
}

static int FileCacheSetUp(int32_t sizeKB) {
    int32_t blocks = FileCacheBlocksFor(sizeKB);
    char *memory = FileCacheAllocate(&blocks);
    if (!memory) {
        ErcSetF(ercFileCacheMemory);
        return 0;
    }
    GlobalBlockFree(cacheMemory);
    cacheMemory = memory;
    cacheCount = blocks;
    FileCacheReset();
    return 1;
}

int FileCacheInit(int32_t sizeKB) {
    if (cacheReady) return FileCacheResize(sizeKB);
    FileCacheLockTest();
    return FileCacheSetUp(sizeKB);
}

// Every block is clean after the flush, so a failed set-up keeps the old memory at its own block count, all
// blocks free: the cache stays usable at its old size.
int FileCacheResize(int32_t sizeKB) {
    if (!cacheReady) return FileCacheInit(sizeKB);
    if (!FileFlushAll()) return 0;
    for (int32_t i = 0; i < cacheCount; i++) FileCacheMakeFree(i);
    if (FileCacheSetUp(sizeKB)) return 1;
    FileCacheReset();
    return 0;
}

void FileCacheTerm() {
    GlobalBlockFree(cacheMemory);
    cacheMemory = nullptr;
    cacheCount = 0;
    cacheReady = 0;
    FileCacheMemoClear();
}

bool FileCacheIsReady() {
    return cacheReady;
}
int32_t FileCacheBlockCount() {
    return cacheCount;
}

void FileCacheSetGather(bool on) {
    cacheGather = on;
}
bool FileCacheGather() {
    return cacheGather;
}

void FileCacheQuietBegin(int file) {
    if (cacheQuietDepth++ == 0) cacheQuietFile = file;
}

void FileCacheQuietEnd() {
    if (cacheQuietDepth > 0 && --cacheQuietDepth == 0) cacheQuietFile = -1;
}

// ---- Write-back ----

// Exchanges two cache slots, descriptors and bytes; both leave and re-enter their chains.
static void FileCacheExchange(int32_t a, int32_t b) {
    bool aUsed = FileCacheInUse(a), bUsed = FileCacheInUse(b);
    if (aUsed) FileCacheChainRemove(a);
    if (bUsed) FileCacheChainRemove(b);
    std::swap(cacheDesc[a], cacheDesc[b]);
    memcpy(cacheScratch, FileCacheBytes(a), FILE_BLOCK_SIZE);
    memcpy(FileCacheBytes(a), FileCacheBytes(b), FILE_BLOCK_SIZE);
    memcpy(FileCacheBytes(b), cacheScratch, FILE_BLOCK_SIZE);
    if (bUsed) FileCacheChainInsert(a);
    if (aUsed) FileCacheChainInsert(b);
}

// Moves the listed blocks (in file order) to cache indexes 0..k-1, keeping the list in step.
static void FileCacheGatherList(int32_t *list, int32_t k) {
    for (int32_t i = 0; i < k; i++) {
        int32_t from = list[i];
        if (from == i) continue;
        FileCacheExchange(from, i);
        for (int32_t j = i + 1; j < k; j++)
            if (list[j] == i) list[j] = from;
        list[i] = i;
    }
}

// How many listed entries from `first` on form one run: adjacent cache indexes holding adjacent blocks, at
// most 57,344 bytes.
static int32_t FileCacheRunLength(const int32_t *list, int32_t first, int32_t k) {
    int32_t n = 1;
    uint32_t length = FILE_BLOCK_SIZE;
    while (first + n < k && list[first + n] == list[first] + n &&
           cacheDesc[list[first + n]].blockNumber == cacheDesc[list[first]].blockNumber + (uint32_t)n &&
           FILE_CACHE_RUN_LIMIT - length >= FILE_BLOCK_SIZE) {
        n++;
        length += FILE_BLOCK_SIZE;
    }
    return n;
}

// Writes one run, cut so that it ends at the logical size.
static bool FileCacheWriteRun(FileRec *rec, int32_t index, int32_t n) {
    uint32_t start = cacheDesc[index].blockNumber << FILE_BLOCK_SHIFT;
    if (start >= rec->size) return true;
    uint32_t bytes = std::min<uint32_t>((uint32_t)n * FILE_BLOCK_SIZE, rec->size - start);
    uint32_t moved = 0;
    if (FileOsSeek(rec->handle, start) || FileOsWrite(rec->handle, FileCacheBytes(index), bytes, &moved))
        return false;
    return moved == bytes;
}

static int32_t FileCacheDirtyList(int file, int32_t *list) {
    int32_t k = 0;
    for (int32_t i = 0; i < cacheCount; i++)
        if (cacheDesc[i].fileNumber == (uint32_t)file && (cacheDesc[i].flags & FILE_CACHE_DIRTY))
            list[k++] = i;
    std::sort(list, list + k,
              [](int32_t a, int32_t b) { return cacheDesc[a].blockNumber < cacheDesc[b].blockNumber; });
    return k;
}

int FileCacheFlushFile(int file) {
    FileRec *rec = FileGetRec(file);
    if (!rec) return 1;
    if (rec->view) {
        if (FileOsGetCalls()->flushView(rec->view, rec->viewSize)) return 1;
        FileSetIoError(rec, ercFileWriteFor);
        return 0;
    }
    int32_t list[FILE_CACHE_MAX_BLOCKS];
    int32_t k = FileCacheDirtyList(file, list);
    if (k == 0) return 1;
    if (k > 1 && cacheGather) FileCacheGatherList(list, k);
    for (int32_t r = 0; r < k;) {
        int32_t n = FileCacheRunLength(list, r, k);
        if (!FileCacheWriteRun(rec, list[r], n)) {
            cacheDesc[list[r]].flags |= FILE_CACHE_FAILED;
            if (cacheMemo.index == list[r]) FileCacheMemoClear();
            FileCacheIoFailed(rec, ercFileWriteFor, FILE_ERR_BLOCK_WRITE);
            return 0;
        }
        cacheDesc[list[r]].flags &= ~FILE_CACHE_FAILED;
        r += n;
    }
    for (int32_t i = 0; i < k; i++) cacheDesc[list[i]].flags &= ~FILE_CACHE_DIRTY;
    rec->flags |= FILE_OS_DIRTY;
    return 1;
}

// Flushes another file's blocks without moving any block (a read-ahead holds cache indexes meanwhile).
static bool FileCacheFlushInPlace(int file) {
    int gather = cacheGather;
    cacheGather = 0;
    int ok = FileCacheFlushFile(file);
    cacheGather = gather;
    return ok;
}

// ---- Reading ----

// Reads `count` adjacent blocks from block `block` on into cache index `index` on; the bytes past what the
// file holds (the logical size, or a short read) are zeroed. 0 when nothing could be read, unless the disk
// ends there: a seek grew the logical size, and the bytes were never written.
static bool FileCacheLoad(FileRec *rec, int32_t index, uint32_t block, int32_t count) {
    char *bytes = FileCacheBytes(index);
    uint32_t length = (uint32_t)count * FILE_BLOCK_SIZE;
    uint32_t start = block << FILE_BLOCK_SHIFT;
    uint32_t got = 0;
    bool ok = true;
    if (start < rec->size) {
        uint32_t want = std::min(length, rec->size - start);
        ok = !FileOsSeek(rec->handle, start) && !FileOsRead(rec->handle, bytes, want, &got) &&
             (got > 0 || FileBeyondDisk(rec, start));
        if (!ok) got = 0;
    }
    memset(bytes + got, 0, length - got);
    for (int32_t i = 0; i < count; i++) {
        if (ok)
            cacheDesc[index + i].flags &= ~FILE_CACHE_FAILED;
        else
            cacheDesc[index + i].flags |= FILE_CACHE_FAILED;
    }
    if (!ok) FileCacheIoFailed(rec, ercFileReadFor, FILE_ERR_BLOCK_READ);
    return ok;
}

// Chooses n distinct victims, oldest first, stamping each so it is not chosen again; sorted by index.
static void FileCacheChooseVictims(int32_t *victims, int32_t n) {
    for (int32_t i = 0; i < n; i++) {
        victims[i] = FileCacheOldest();
        cacheDesc[victims[i]].stamp = cacheCounter++;
    }
    std::sort(victims, victims + n);
}

// Hands the victims to blocks first.. of the file; fewer when another file's blocks cannot be written.
static int32_t FileCacheClaim(int file, uint32_t first, const int32_t *victims, int32_t n) {
    for (int32_t i = 0; i < n; i++) {
        FileCacheDesc *d = &cacheDesc[victims[i]];
        if (FileCacheInUse(victims[i])) {
            if ((d->flags & FILE_CACHE_DIRTY) &&
                (!FileCacheFlushInPlace((int)d->fileNumber) || (d->flags & FILE_CACHE_DIRTY)))
                return i;
            FileCacheChainRemove(victims[i]);
        }
        d->blockNumber = first + (uint32_t)i;
        d->fileNumber = (uint32_t)file;
        d->flags = 0;
        FileCacheChainInsert(victims[i]);
    }
    return n;
}

int FileCacheReadAhead(int file, uint32_t first) {
    FileRec *rec = FileGetRec(file);
    if (!rec || !cacheReady) return 0;
    if (rec->view) return 1;
    int64_t blocks = ((int64_t)rec->size + FILE_BLOCK_SIZE - 1) / FILE_BLOCK_SIZE;
    int32_t n = (int32_t)std::clamp<int64_t>(blocks - first, 1, cacheCount);
    if (!FileCacheFlushFile(file)) return 0;
    FileCacheDropFile(file);
    int32_t victims[FILE_CACHE_MAX_BLOCKS];
    FileCacheChooseVictims(victims, n);
    n = FileCacheClaim(file, first, victims, n);
    for (int32_t r = 0; r < n;) {
        int32_t run = 1;
        while (r + run < n && victims[r + run] == victims[r] + run &&
               FILE_CACHE_RUN_LIMIT - (uint32_t)run * FILE_BLOCK_SIZE >= FILE_BLOCK_SIZE)
            run++;
        if (!FileCacheLoad(rec, victims[r], first + (uint32_t)r, run)) {
            for (int32_t i = r + run; i < n; i++) {
                cacheDesc[victims[i]].flags |= FILE_CACHE_FAILED;
                memset(FileCacheBytes(victims[i]), 0, FILE_BLOCK_SIZE);
            }
            return 0;
        }
        r += run;
    }
    return 1;
}

// A victim made ready for a new block: free, or clean after writing its file back. -1 when that fails.
static int32_t FileCacheTakeVictim() {
    for (int32_t tries = 0; tries <= cacheCount; tries++) {
        int32_t i = FileCacheOldest();
        if (!FileCacheInUse(i)) return i;
        if (!(cacheDesc[i].flags & FILE_CACHE_DIRTY)) {
            FileCacheMakeFree(i);
            return i;
        }
        if (!FileCacheFlushFile((int)cacheDesc[i].fileNumber)) return -1;
    }
    return -1;
}

static int32_t FileCacheNewBlock(int file, FileRec *rec, uint32_t block, int fWrite) {
    int32_t i = FileCacheTakeVictim();
    if (i < 0) return -1;
    FileCacheLoad(rec, i, block, 1);
    FileCacheDesc *d = &cacheDesc[i];
    d->blockNumber = block;
    d->fileNumber = (uint32_t)file;
    if (fWrite && !(d->flags & FILE_CACHE_FAILED)) d->flags |= FILE_CACHE_DIRTY;
    FileCacheStamp(i);
    FileCacheChainInsert(i);
    return i;
}

// A failed block is never marked dirty: its zeroed bytes must not be written over the file.
char *FileCacheGetBlock(int file, uint32_t block, bool fWrite) {
    FileRec *rec = FileGetRec(file);
    if (!rec || !cacheReady) return nullptr;
    if (cacheMemo.file == file && cacheMemo.block == block) {
        if (fWrite && cacheMemo.ptr) cacheDesc[cacheMemo.index].flags |= FILE_CACHE_DIRTY;
        return cacheMemo.ptr;
    }
    int32_t i = FileCacheFind((uint32_t)file, block);
    if (i < 0 && !fWrite && (rec->flags & FILE_BULK_READ)) {
        if (!FileCacheReadAhead(file, block)) return nullptr;
        i = FileCacheFind((uint32_t)file, block);
    }
    if (i >= 0) {
        if (fWrite && !(cacheDesc[i].flags & FILE_CACHE_FAILED)) cacheDesc[i].flags |= FILE_CACHE_DIRTY;
        FileCacheStamp(i);
    } else if ((i = FileCacheNewBlock(file, rec, block, fWrite)) < 0) {
        return nullptr;
    }
    bool failed = cacheDesc[i].flags & FILE_CACHE_FAILED;
    cacheMemo = {file, block, i, failed ? nullptr : FileCacheBytes(i)};
    return cacheMemo.ptr;
}

void FileCacheDropFile(int file) {
    for (int32_t i = 0; i < cacheCount; i++)
        if (cacheDesc[i].fileNumber == (uint32_t)file) FileCacheMakeFree(i);
}

void FileCacheSwapFiles(int a, int b) {
    bool moved[FILE_CACHE_MAX_BLOCKS] = {};
    for (int32_t i = 0; i < cacheCount; i++) {
        uint32_t f = cacheDesc[i].fileNumber;
        if (f != (uint32_t)a && f != (uint32_t)b) continue;
        FileCacheChainRemove(i);
        cacheDesc[i].fileNumber = f == (uint32_t)a ? (uint32_t)b : (uint32_t)a;
        moved[i] = true;
    }
    for (int32_t i = 0; i < cacheCount; i++)
        if (moved[i]) FileCacheChainInsert(i);
}

// ---- Remap step ----

// ---- Test seams and the invariant check ----

int32_t FileCacheLookup(int file, uint32_t block) {
    return cacheReady ? FileCacheFind((uint32_t)file, block) : -1;
}

void FileCacheSetCounter(uint32_t counter) {
    cacheCounter = counter;
}

static bool FileCacheChainsHold(int32_t inUse) {
    int32_t chained = 0;
    for (uint32_t h = 0; h < FILE_CACHE_HASH; h++) {
        for (int32_t i = cacheHeads[h]; i >= 0; i = cacheDesc[i].next) {
            if (i >= cacheCount || ++chained > inUse || !FileCacheInUse(i)) return false;
            if (FileCacheHash(cacheDesc[i].fileNumber, cacheDesc[i].blockNumber) != h) return false;
        }
    }
    return chained == inUse;
}

int FileCacheCheck() {
    if (!cacheReady) return 1;
    int32_t inUse = 0;
    for (int32_t i = 0; i < cacheCount; i++) {
        const FileCacheDesc &d = cacheDesc[i];
        if (!FileCacheInUse(i)) {
            if (d.flags & FILE_CACHE_DIRTY) return 0;
            continue;
        }
        FileRec *rec = FileGetRec((int)d.fileNumber);
        if (!rec || rec->view || FileCacheFind(d.fileNumber, d.blockNumber) != i) return 0;
        inUse++;
    }
    return FileCacheChainsHold(inUse);
}
