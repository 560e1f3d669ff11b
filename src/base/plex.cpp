// plex: a header record and, in a separate movable block (a Handle), elements of one size packed back to back
// (prefix Plex). Invariants: 0 <= count <= capacity; the block holds capacity x element size bytes (at least
// the Handle minimum of 4); elem0 equals the block's pointer after every resize.
// The count change below is the only place where the block changes size, apart from PlexTrim.
// File form (PlexWrite / PlexRead), little-endian 32-bit words at the file's position:
//   0 count, 4 capacity (ignored on reading), 8 element size, 12 growth quantum, 16 and 20 zero (the handle
//   and the element pointer live only in memory), 24 flags (bit 0 auto-shrink, no other bit);
//   28: the caller's header bytes that follow the Plex record in memory (header size - sizeof(Plex));
//   then count x element size bytes of elements.
// The reader checks every word against what it expects and against the bytes the file still holds before it
// allocates anything.
#include "base/plex.h"

#include "base/erc.h"
#include "base/file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

static int32_t PlexHeaderSize(int32_t headerSize) {
    return headerSize < (int32_t)sizeof(Plex) ? (int32_t)sizeof(Plex) : headerSize;
}

// Bytes for n elements, or 0 when the product does not fit the Handle's 32-bit size.
static bool PlexBytes(int32_t elemSize, int64_t n, uint32_t *bytes) {
    int64_t total = (int64_t)elemSize * n;
    if (elemSize < 0 || n < 0 || total > 0xFFFFFFF0LL) return false;
    *bytes = (uint32_t)total;
    return true;
}

static void PlexLowMemory() {
    ErcSetSysAtF(nullptr, 0, ercLowMemory, 0);
}

Plex *PlexCreate(int32_t elemSize, int32_t capacity, int autoShrink) {
    return PlexCreateEx(sizeof(Plex), elemSize, capacity, autoShrink);
}

Plex *PlexCreateEx(int32_t headerSize, int32_t elemSize, int32_t capacity, int autoShrink) {
    uint32_t bytes;
    if (!PlexBytes(elemSize, capacity, &bytes)) {
        PlexLowMemory();
        return nullptr;
    }
    Plex *plex = (Plex *)MemAlloc(PlexHeaderSize(headerSize));
    if (!plex) return nullptr;
    plex->data = HAlloc(bytes);
    if (!plex->data) {
        MemFree(plex);
        return nullptr;
    }
    plex->elem0 = HLock(plex->data);
    plex->capacity = capacity;
    plex->elemSize = elemSize;
    plex->flags = autoShrink ? PLEX_AUTOSHRINK : 0;
    return plex;
}

Plex *PlexCreateFrom(int32_t headerSize, int32_t elemSize, int32_t count, const void *source,
                     int autoShrink) {
    Plex *plex = PlexCreateEx(headerSize, elemSize, count, autoShrink);
    if (!plex) return nullptr;
    plex->count = count;
    if (source && count && elemSize) memcpy(plex->elem0, source, (size_t)count * elemSize);
    return plex;
}

Plex *PlexDup(const Plex *plex, int32_t headerSize) {
    Plex *dup =
        PlexCreateFrom(headerSize, plex->elemSize, plex->count, plex->elem0, plex->flags & PLEX_AUTOSHRINK);
    if (!dup) return nullptr;
    int32_t size = PlexHeaderSize(headerSize);
    if (size > (int32_t)sizeof(Plex))
        memcpy((char *)dup + sizeof(Plex), (const char *)plex + sizeof(Plex), size - sizeof(Plex));
    dup->quantum = plex->quantum;
    return dup;
}

void PlexFree(Plex *plex) {
    HUnlock(plex->data);
    HFree(plex->data);
    MemFree(plex);
}

int PlexSetCount(Plex *plex, int32_t count) {
    int32_t spare = plex->capacity - count;
    if (spare < 0) {
        int32_t growth = -spare > plex->quantum ? -spare : plex->quantum;
        uint32_t bytes;
        void *elem0;
        if (!PlexBytes(plex->elemSize, (int64_t)plex->capacity + growth, &bytes) ||
            !HResize(plex->data, bytes, &elem0)) {
            PlexLowMemory();
            return 0;
        }
        plex->capacity += growth;
        plex->elem0 = elem0;
    } else if ((plex->flags & PLEX_AUTOSHRINK) && spare > 10 && spare > plex->quantum) {
        // A failing shrink keeps the old, larger block; the capacity still describes less than it holds.
        HResize(plex->data, (uint32_t)count * plex->elemSize, &plex->elem0);
        plex->capacity = count;
    }
    plex->count = count;
    return 1;
}

void *PlexInsert(Plex *plex, int32_t index, int32_t n, const void *source) {
    int32_t old = plex->count;
    if (index < 0 || index > old) index = old;
    if (n < 0 || (int64_t)old + n > INT32_MAX || !PlexSetCount(plex, old + n)) {
        if (n >= 0 && (int64_t)old + n > INT32_MAX) PlexLowMemory();
        return nullptr;
    }
    char *at = (char *)PlexElem(plex, index);
    size_t size = plex->elemSize;
    memmove(at + n * size, at, (size_t)(old - index) * size);
    if (source)
        memcpy(at, source, n * size);
    else
        memset(at, 0, n * size);
    return at;
}

int PlexDelete(Plex *plex, int32_t index, int32_t n) {
    char *at = (char *)PlexElem(plex, index);
    size_t size = plex->elemSize;
    memmove(at, at + n * size, (size_t)(plex->count - index - n) * size);
    return PlexSetCount(plex, plex->count - n);
}

int PlexDeleteAt(Plex *plex, const void *elem, int32_t n) {
    int32_t index = (int32_t)(((const char *)elem - (const char *)plex->elem0) / plex->elemSize);
    return PlexDelete(plex, index, n);
}

void PlexDeleteKeep(Plex *plex, int32_t index, int32_t n) {
    char *at = (char *)PlexElem(plex, index);
    size_t size = plex->elemSize;
    memmove(at, at + n * size, (size_t)(plex->count - index - n) * size);
    plex->count -= n;
}

void PlexClear(Plex *plex) {
    plex->count = 0;
    if (plex->flags & PLEX_AUTOSHRINK) PlexTrim(plex);
}

void PlexTrim(Plex *plex) {
    if (plex->count >= plex->capacity) return;
    if (HResize(plex->data, (uint32_t)plex->count * plex->elemSize, &plex->elem0))
        plex->capacity = plex->count;
}

void PlexSetGrowthEx(Plex *plex, int32_t quantum, int autoShrink) {
    plex->quantum = quantum;
    plex->flags = (plex->flags & ~PLEX_AUTOSHRINK) | (autoShrink ? PLEX_AUTOSHRINK : 0);
}

int32_t PlexCopyElem(const Plex *plex, int32_t index, void *out) {
    memcpy(out, PlexElem(plex, index), plex->elemSize);
    return plex->elemSize;
}

int PlexSearch(const Plex *plex, const void *key, int32_t *outIndex, PlexCompare compare) {
    int32_t lo = 0, hi = plex->count, mid = 0;
    while (lo < hi) {
        mid = (int32_t)((uint32_t)(lo + hi) >> 1);
        int c = compare(key, PlexElem(plex, mid));
        if (c == 0) {
            *outIndex = mid;
            return 1;
        }
        if (c < 0) {
            hi = mid;
        } else {
            lo = mid + 1;
            mid = lo;
        }
    }
    *outIndex = mid;
    return 0;
}

void PlexSort(Plex *plex, PlexCompare compare) {
    PlexSortRange(plex, 0, plex->count, compare);
}

void PlexSortRange(Plex *plex, int32_t first, int32_t n, PlexCompare compare) {
    if (n > 1) qsort(PlexElem(plex, first), n, plex->elemSize, compare);
}

static int PlexCompareInt(const void *a, const void *b) {
    int32_t x, y;
    memcpy(&x, a, 4);
    memcpy(&y, b, 4);
    return x < y ? -1 : x > y;
}

void PlexSortInt(Plex *plex) {
    PlexSort(plex, PlexCompareInt);
}

int PlexCheck(const Plex *plex) {
    if (plex->count < 0 || plex->count > plex->capacity || plex->elemSize < 0) return 0;
    if (!plex->data || plex->elem0 != HLock(plex->data)) return 0;
    uint32_t bytes = (uint32_t)plex->capacity * plex->elemSize;
    return HSize(plex->data) >= (bytes < 4 ? 4 : bytes);
}

// ---- File form ----

enum { PLEX_FILE_CHUNK = 1 << 30 };

static void PlexPutWord(unsigned char *bytes, int index, int32_t value) {
    uint32_t v = (uint32_t)value;
    for (int i = 0; i < 4; i++) bytes[index * 4 + i] = (unsigned char)(v >> (8 * i));
}

static int32_t PlexGetWord(const unsigned char *bytes, int index) {
    uint32_t v = 0;
    for (int i = 0; i < 4; i++) v |= (uint32_t)bytes[index * 4 + i] << (8 * i);
    return (int32_t)v;
}

// Moves bytes through the file in pieces that the transfer's signed length can carry.
static bool PlexFileMove(int file, void *bytes, uint32_t length, FileTransfer transfer) {
    char *at = (char *)bytes;
    while (length > 0) {
        int32_t n = (int32_t)std::min<uint32_t>(length, PLEX_FILE_CHUNK);
        if (FileReadWrite(file, at, n, transfer) != n) return false;
        at += n;
        length -= (uint32_t)n;
    }
    return true;
}

static uint32_t PlexExtraBytes(int32_t headerSize) {
    return (uint32_t)(PlexHeaderSize(headerSize) - (int32_t)sizeof(Plex));
}

int PlexWrite(const Plex *plex, int32_t headerSize, int file) {
    unsigned char words[PLEX_FILE_HEADER] = {};
    PlexPutWord(words, 0, plex->count);
    PlexPutWord(words, 1, plex->capacity);
    PlexPutWord(words, 2, plex->elemSize);
    PlexPutWord(words, 3, plex->quantum);
    PlexPutWord(words, 6, plex->flags);
    uint32_t bytes;
    if (!PlexBytes(plex->elemSize, plex->count, &bytes)) return 0;
    return PlexFileMove(file, words, sizeof words, FILE_TRANSFER_WRITE) &&
           PlexFileMove(file, (char *)plex + sizeof(Plex), PlexExtraBytes(headerSize), FILE_TRANSFER_WRITE) &&
           PlexFileMove(file, plex->elem0, bytes, FILE_TRANSFER_WRITE);
}

// The fixed words make sense and the rest of the form fits in what the file still holds.
static bool PlexFileWordsValid(const unsigned char *words, int32_t elemSize, uint32_t extra, uint32_t left,
                               uint32_t *bytes) {
    int32_t count = PlexGetWord(words, 0), size = PlexGetWord(words, 2);
    if (count < 0 || size < 0 || (elemSize >= 0 && size != elemSize)) return false;
    if (PlexGetWord(words, 3) < 0 || (PlexGetWord(words, 6) & ~PLEX_AUTOSHRINK)) return false;
    if (!PlexBytes(size, count, bytes)) return false;
    return extra <= left && *bytes <= left - extra;
}

static int PlexReadForm(Plex **out, int32_t headerSize, int32_t elemSize, int file) {
    unsigned char words[PLEX_FILE_HEADER];
    uint32_t extra = PlexExtraBytes(headerSize), bytes = 0;
    if (!PlexFileMove(file, words, sizeof words, FILE_TRANSFER_READ)) return 0;
    if (!PlexFileWordsValid(words, elemSize, extra, FileGetSize(file) - FileTell(file), &bytes)) return 0;
    Plex *plex = (Plex *)MemAlloc(PlexHeaderSize(headerSize));
    if (!plex) return 0;
    plex->data = HAlloc(bytes);
    if (!plex->data || !PlexFileMove(file, (char *)plex + sizeof(Plex), extra, FILE_TRANSFER_READ) ||
        !PlexFileMove(file, HLock(plex->data), bytes, FILE_TRANSFER_READ)) {
        HFree(plex->data);
        MemFree(plex);
        return 0;
    }
    plex->count = plex->capacity = PlexGetWord(words, 0);
    plex->elemSize = PlexGetWord(words, 2);
    plex->quantum = PlexGetWord(words, 3);
    plex->flags = PlexGetWord(words, 6);
    plex->elem0 = HLock(plex->data);
    *out = plex;
    return 1;
}

int PlexRead(Plex **out, int32_t headerSize, int file) {
    return PlexReadForm(out, headerSize, -1, file);
}

int PlexReadExpect(Plex **out, int32_t headerSize, int32_t elemSize, int file) {
    return PlexReadForm(out, headerSize, elemSize, file);
}
