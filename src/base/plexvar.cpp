// plexvar: variable-length elements stored once at the end of a byte pool and listed by offset (prefix
// PlexVar). A stored element is a 32-bit length n and n bytes; its data pointer is pool + offset + 4.
// Invariants: every offset points at a stored element inside the used pool; stored elements do not overlap;
// pool used <= pool capacity <= the pool block's size. The pool may hold bytes no offset points at (left by
// PlexVarReplace); a deletion compacts the pool at once.
//
// File form, at the file's position, every word little-endian:
//   0   count             the plex words, as the plex's own file form has them
//   4   capacity          (ignored on reading: the offsets read back have capacity = count)
//   8   element size      always 4
//   12  growth quantum
//   16  0                 (the data handle: no pointer goes to a file)
//   20  0                 (the element-0 pointer)
//   24  flags             bit 0 auto-shrink
//   28  pool bytes used
//   32  pool capacity     (ignored on reading: the pool read back has capacity = used)
//   36  0                 (the pool handle)
//   40  0                 (the pool pointer)
//   44  the caller's header bytes, then count x 4 bytes of offsets, then pool-bytes-used bytes of pool.
#include "base/plexvar.h"

#include "base/erc.h"
#include "base/file.h"

#include <bit>
#include <cstdlib>

// Offsets and the pool go to the file as they stand in memory.
static_assert(std::endian::native == std::endian::little);

enum { PLEXVAR_MAX_PARTS = 16 };

static int32_t PlexVarHeaderSize(int32_t headerSize) {
    return headerSize < (int32_t)sizeof(PlexVar) ? (int32_t)sizeof(PlexVar) : headerSize;
}

PlexVar *PlexVarCreate(int32_t capacity, int autoShrink) {
    return PlexVarCreateEx(sizeof(PlexVar), capacity, autoShrink);
}

PlexVar *PlexVarCreateEx(int32_t headerSize, int32_t capacity, int autoShrink) {
    int64_t poolBytes = (int64_t)capacity * 10;
    if (capacity < 0 || poolBytes > INT32_MAX) {
        ErcSetLowMemory();
        return nullptr;
    }
    PlexVar *pv = (PlexVar *)PlexCreateEx(PlexVarHeaderSize(headerSize), 4, capacity, autoShrink);
    if (!pv) return nullptr;
    pv->pool = HAlloc((uint32_t)poolBytes);
    if (!pv->pool) {
        PlexFree(&pv->plex);
        return nullptr;
    }
    pv->pool0 = (unsigned char *)HLock(pv->pool);
    pv->poolCapacity = (int32_t)poolBytes;
    return pv;
}

PlexVar *PlexVarDup(const PlexVar *pv, int32_t headerSize) {
    PlexVar *dup = (PlexVar *)PlexDup(&pv->plex, PlexVarHeaderSize(headerSize));
    if (!dup) return nullptr;
    // The header bytes came along, the source's pool handle with them: the copy gets its own pool.
    dup->pool = HDup(pv->pool);
    if (!dup->pool) {
        PlexFree(&dup->plex);
        return nullptr;
    }
    dup->pool0 = (unsigned char *)HLock(dup->pool);
    return dup;
}

void PlexVarMove(PlexVar *target, PlexVar *source) {
    HFree(target->plex.data);
    HFree(target->pool);
    size_t a = MemSize(target), b = MemSize(source);
    memcpy(target, source, a < b ? a : b);
    MemFree(source);
}

void PlexVarFree(PlexVar *pv) {
    HFree(pv->pool);
    PlexFree(&pv->plex);
}

static bool PlexVarValidIndex(const PlexVar *pv, int32_t index) {
    return index >= 0 && index < pv->plex.count;
}

// Makes the pool hold at least need bytes, growing to need + need / 4.
static int PlexVarReserve(PlexVar *pv, int64_t need) {
    if (need <= pv->poolCapacity) return 1;
    if (need > INT32_MAX) {
        ErcSetLowMemory();
        return 0;
    }
    int64_t capacity = need + need / 4;
    if (capacity > INT32_MAX) capacity = INT32_MAX;
    void *pool0;
    int ok = HResize(pv->pool, (uint32_t)capacity, &pool0);
    pv->pool0 = (unsigned char *)pool0;
    if (ok) pv->poolCapacity = (int32_t)capacity;
    return ok;
}

// An element about to be stored at the end of the pool. Sources inside the pool are noted as offsets before
// the pool grows, because growing moves it: a caller may store a copy of one of the list's own elements.
struct PlexVarPending {
    int32_t length;
    int64_t inPool[PLEXVAR_MAX_PARTS]; // offset of the part's source in the pool, or -1
};

static int PlexVarMakeRoom(PlexVar *pv, const PlexVarPart *parts, int32_t n, PlexVarPending *pending) {
    if (n < 0 || n > PLEXVAR_MAX_PARTS) return 0;
    int64_t length = 0;
    uintptr_t lo = (uintptr_t)pv->pool0, hi = lo + (uint32_t)pv->poolCapacity;
    for (int32_t i = 0; i < n; i++) {
        if (parts[i].length < 0) return 0;
        length += parts[i].length;
        uintptr_t at = (uintptr_t)parts[i].bytes;
        pending->inPool[i] = parts[i].bytes && at >= lo && at < hi ? (int64_t)(at - lo) : -1;
    }
    if (length > INT32_MAX) {
        ErcSetLowMemory();
        return 0;
    }
    pending->length = (int32_t)length;
    return PlexVarReserve(pv, (int64_t)pv->poolUsed + length + 4);
}

// Writes the element at pool used (room made before) and returns its data pointer.
static unsigned char *PlexVarWriteParts(PlexVar *pv, const PlexVarPart *parts, int32_t n,
                                        const PlexVarPending *pending) {
    unsigned char *at = pv->pool0 + pv->poolUsed;
    PlexVarPut32(at, pending->length);
    unsigned char *data = at + 4, *to = data;
    for (int32_t i = 0; i < n; i++) {
        const void *from = pending->inPool[i] >= 0 ? pv->pool0 + pending->inPool[i] : parts[i].bytes;
        if (from) memmove(to, from, parts[i].length);
        to += parts[i].length;
    }
    pv->poolUsed += pending->length + 4;
    return data;
}

void *PlexVarInsertParts(PlexVar *pv, int32_t index, const PlexVarPart *parts, int32_t nParts) {
    PlexVarPending pending;
    if (!PlexVarMakeRoom(pv, parts, nParts, &pending)) return nullptr;
    int32_t offset = pv->poolUsed;
    // A failed offset insertion leaves the list as it was; the pool keeps its larger block.
    if (!PlexInsert(&pv->plex, index, 1, &offset)) return nullptr;
    return PlexVarWriteParts(pv, parts, nParts, &pending);
}

void *PlexVarInsert(PlexVar *pv, int32_t index, const void *source, int32_t length) {
    PlexVarPart part = {source, length};
    return PlexVarInsertParts(pv, index, &part, 1);
}

void PlexVarDelete(PlexVar *pv, int32_t index) {
    if (!PlexVarValidIndex(pv, index)) return;
    int32_t offset = PlexVarOffset(pv, index);
    int32_t size = PlexVarLength(pv, index) + 4;
    PlexDelete(&pv->plex, index, 1);
    memmove(pv->pool0 + offset, pv->pool0 + offset + size, pv->poolUsed - offset - size);
    pv->poolUsed -= size;
    for (int32_t i = 0; i < pv->plex.count; i++) {
        int32_t o = PlexVarOffset(pv, i);
        if (o > offset) PlexVarPut32(PlexElem(&pv->plex, i), o - size);
    }
}

int PlexVarSet(PlexVar *pv, int32_t index, const void *source, int32_t length) {
    if (!PlexVarValidIndex(pv, index) || length < 0) return 0;
    if (PlexVarLength(pv, index) == length) {
        if (source) memmove(PlexVarElem(pv, index), source, length);
        return 1;
    }
    if (!PlexVarInsert(pv, index, source, length)) return 0;
    PlexVarDelete(pv, index + 1);
    return 1;
}

void *PlexVarReplace(PlexVar *pv, int32_t index, const void *source, int32_t length) {
    if (!PlexVarValidIndex(pv, index) || length < 0) return nullptr;
    if (PlexVarLength(pv, index) >= length) {
        unsigned char *data = PlexVarElem(pv, index);
        if (source) memmove(data, source, length);
        return data;
    }
    PlexVarPart part = {source, length};
    PlexVarPending pending;
    if (!PlexVarMakeRoom(pv, &part, 1, &pending)) return nullptr;
    PlexVarPut32(PlexElem(&pv->plex, index), pv->poolUsed);
    return PlexVarWriteParts(pv, &part, 1, &pending);
}

void *PlexVarEnsureSize(PlexVar *pv, int32_t index, int32_t length) {
    if (!PlexVarValidIndex(pv, index) || length < 0) return nullptr;
    int32_t old = PlexVarLength(pv, index);
    if (old >= length) return PlexVarElem(pv, index);
    PlexVarPart parts[2] = {{PlexVarElem(pv, index), old}, {nullptr, length - old}};
    if (!PlexVarInsertParts(pv, index, parts, 2)) return nullptr;
    PlexVarDelete(pv, index + 1);
    return PlexVarElem(pv, index);
}

void PlexVarSwap(PlexVar *pv, int32_t a, int32_t b) {
    if (!PlexVarValidIndex(pv, a) || !PlexVarValidIndex(pv, b)) return;
    int32_t oa = PlexVarOffset(pv, a);
    PlexVarPut32(PlexElem(&pv->plex, a), PlexVarOffset(pv, b));
    PlexVarPut32(PlexElem(&pv->plex, b), oa);
}

int32_t PlexVarIndexOf(const PlexVar *pv, const void *data) {
    intptr_t offset = (const unsigned char *)data - pv->pool0 - 4;
    for (int32_t i = 0; i < pv->plex.count; i++)
        if (PlexVarOffset(pv, i) == offset) return i;
    return -1;
}

int32_t PlexVarCopyOut(const PlexVar *pv, int32_t index, void *buffer) {
    int32_t length = PlexVarLength(pv, index);
    memcpy(buffer, PlexVarElem(pv, index), length);
    return length;
}

void PlexVarClear(PlexVar *pv) {
    if (pv->poolUsed > 0) {
        pv->poolUsed = 0;
        pv->poolCapacity = 0;
        void *pool0;
        HResize(pv->pool, 0, &pool0);
        pv->pool0 = (unsigned char *)pool0;
    }
    PlexClear(&pv->plex);
}

void PlexVarTrim(PlexVar *pv) {
    if (pv->poolCapacity > pv->poolUsed) {
        void *pool0;
        if (HResize(pv->pool, pv->poolUsed, &pool0)) pv->poolCapacity = pv->poolUsed;
        pv->pool0 = (unsigned char *)pool0;
    }
    PlexTrim(&pv->plex);
}

static const PlexVar *plexVarSorted;
static PlexVarCompare plexVarSortCompare;

static int PlexVarSortThunk(const void *a, const void *b) {
    const unsigned char *pool0 = plexVarSorted->pool0;
    return plexVarSortCompare(pool0 + PlexVarGet32(a) + 4, pool0 + PlexVarGet32(b) + 4);
}

void PlexVarSort(PlexVar *pv, PlexVarCompare compare) {
    plexVarSorted = pv;
    plexVarSortCompare = compare;
    PlexSort(&pv->plex, PlexVarSortThunk);
}

// The search needs no module variables: the key passed through the plex search carries the list.
struct PlexVarKey {
    const PlexVar *pv;
    const void *key;
    PlexVarCompare compare;
};

static int PlexVarSearchThunk(const void *key, const void *elem) {
    const PlexVarKey *k = (const PlexVarKey *)key;
    return k->compare(k->key, k->pv->pool0 + PlexVarGet32(elem) + 4);
}

int PlexVarSearch(const PlexVar *pv, const void *key, int32_t *outIndex, PlexVarCompare compare) {
    PlexVarKey k = {pv, key, compare};
    return PlexSearch(&pv->plex, &k, outIndex, PlexVarSearchThunk);
}

static int PlexVarWriteBytes(int file, const void *bytes, int64_t length) {
    return length == 0 || FileWriteExact(file, bytes, (int32_t)length);
}

int PlexVarWrite(const PlexVar *pv, int32_t headerSize, int file) {
    const Plex &p = pv->plex;
    int32_t words[11] = {p.count,      p.capacity,       4, p.quantum, 0, 0, p.flags,
                         pv->poolUsed, pv->poolCapacity, 0, 0};
    unsigned char head[PLEXVAR_FILE_HEADER];
    static_assert(sizeof words == sizeof head);
    for (int i = 0; i < 11; i++) PlexVarPutLE(head + 4 * i, words[i]);
    int32_t extra = PlexVarHeaderSize(headerSize) - (int32_t)sizeof(PlexVar);
    return PlexVarWriteBytes(file, head, sizeof head) &&
           PlexVarWriteBytes(file, (const char *)pv + sizeof(PlexVar), extra) &&
           PlexVarWriteBytes(file, p.elem0, (int64_t)p.count * 4) &&
           PlexVarWriteBytes(file, pv->pool0, pv->poolUsed);
}

int64_t PlexVarFileLeft(int file) {
    return (int64_t)FileGetSize(file) - (int64_t)FileTell(file);
}

// The header words of a file form, checked against what the file still holds behind the header.
static bool PlexVarHeaderSound(const unsigned char *head, int64_t left) {
    int32_t count = PlexVarGetLE(head), elemSize = PlexVarGetLE(head + 8), quantum = PlexVarGetLE(head + 12);
    int32_t flags = PlexVarGetLE(head + 24), used = PlexVarGetLE(head + 28);
    if (count < 0 || elemSize != 4 || quantum < 0 || (flags & ~PLEX_AUTOSHRINK) || used < 0) return false;
    return (int64_t)count * 4 + used <= left;
}

static int PlexVarReadBody(PlexVar *pv, int32_t extra, int file) {
    return (extra == 0 || FileReadExact(file, (char *)pv + sizeof(PlexVar), extra)) &&
           (pv->plex.count == 0 || FileReadExact(file, pv->plex.elem0, pv->plex.count * 4)) &&
           (pv->poolUsed == 0 || FileReadExact(file, pv->pool0, pv->poolUsed));
}

int PlexVarRead(PlexVar **out, int32_t headerSize, int file) {
    int32_t size = PlexVarHeaderSize(headerSize), extra = size - (int32_t)sizeof(PlexVar);
    unsigned char head[PLEXVAR_FILE_HEADER];
    int64_t left = PlexVarFileLeft(file) - PLEXVAR_FILE_HEADER - extra;
    if (left < 0 || !FileReadExact(file, head, sizeof head) || !PlexVarHeaderSound(head, left)) return 0;
    PlexVar *pv = PlexVarCreateEx(size, 0, PlexVarGetLE(head + 24));
    if (!pv) return 0;
    int32_t used = PlexVarGetLE(head + 28);
    void *pool0;
    int ok = PlexSetCount(&pv->plex, PlexVarGetLE(head)) && HResize(pv->pool, used, &pool0);
    if (ok) {
        pv->pool0 = (unsigned char *)pool0;
        pv->poolUsed = pv->poolCapacity = used;
        pv->plex.quantum = PlexVarGetLE(head + 12);
        ok = PlexVarReadBody(pv, extra, file) && PlexVarCheckElements(pv);
    }
    if (!ok) {
        PlexVarFree(pv);
        return 0;
    }
    *out = pv;
    return 1;
}

static int PlexVarCompareInt(const void *a, const void *b) {
    int32_t x = PlexVarGet32(a), y = PlexVarGet32(b);
    return x < y ? -1 : x > y;
}

int PlexVarCheckElements(const PlexVar *pv) {
    int32_t n = pv->plex.count, used = pv->poolUsed;
    if (n == 0) return 1;
    int32_t *sorted = (int32_t *)MemDup(pv->plex.elem0, (size_t)n * 4);
    if (!sorted) return 0;
    qsort(sorted, n, 4, PlexVarCompareInt);
    // In offset order every element must start at or after the end of the one before and fit in the pool.
    int64_t end = 0;
    int ok = 1;
    for (int32_t i = 0; ok && i < n; i++) {
        int64_t o = sorted[i];
        int32_t length = o >= end && o + 4 <= used ? PlexVarGet32(pv->pool0 + o) : -1;
        ok = length >= 0 && o + 4 + length <= used;
        end = o + 4 + length;
    }
    MemFree(sorted);
    return ok;
}

int PlexVarCheck(const PlexVar *pv) {
    if (!PlexCheck(&pv->plex) || pv->plex.elemSize != 4 || !pv->pool) return 0;
    if (pv->pool0 != HLock(pv->pool) || pv->poolUsed < 0 || pv->poolUsed > pv->poolCapacity) return 0;
    if ((uint32_t)pv->poolCapacity > HSize(pv->pool)) return 0;
    return PlexVarCheckElements(pv);
}
