// stb: string table blocks (prefix Stb). One block, every position an offset from its start:
//   offset               field          meaning
//   0                    count          slots in use
//   4                    flags          bits 0-23 slot capacity; bit 24 strings carry a NUL; bit 25 strings
//                                       carry extra bytes; bits 26-31 zero
//   8                    bytes used     16 + 8 x capacity + the bytes of all stored strings
//   12                   extra bytes    per string; -1 when there are none
//   16                   slots          capacity x {32-bit offset of the string, 32-bit value};
//                                       0 .. count-1 in use, in order
//   16 + 8 x capacity    strings        length byte n, n characters, the NUL, the extra bytes
// Invariants: count <= capacity; every slot in use points at a string inside the string area; the strings of
// the slots in use tile the string area exactly up to bytes used; the block holds at least bytes used.
// The block may be larger than bytes used. File form: a 32-bit little-endian byte count, then the block's
// first bytes-used bytes as they stand.
#include "base/stb.h"

#include "base/erc.h"
#include "base/file.h"
#include "base/plex.h"
#include "base/plexvar.h"
#include "base/stl.h"
#include "base/utilil.h"

#include <bit>
#include <cstdlib>
#include <cstring>

static_assert(std::endian::native == std::endian::little);

struct StbHeader {
    int32_t count;
    uint32_t bits;
    int32_t used;
    int32_t extra;
};
struct StbSlot {
    int32_t offset;
    int32_t value;
};
static_assert(sizeof(StbHeader) == STB_HEADER);
static_assert(sizeof(StbSlot) == STB_SLOT);

static StbHeader *StbHead(const Stb *block) {
    return (StbHeader *)block->ptr;
}
static unsigned char *StbBase(const Stb *block) {
    return (unsigned char *)block->ptr;
}
static StbSlot *StbSlots(const Stb *block) {
    return (StbSlot *)(StbBase(block) + STB_HEADER);
}
static int32_t StbCap(const StbHeader *h) {
    return (int32_t)(h->bits & STB_CAPACITY);
}
static int32_t StbSlotsEnd(const StbHeader *h) {
    return STB_HEADER + STB_SLOT * StbCap(h);
}
static int64_t StbStringSize(const StbHeader *h, int32_t n) {
    return n + 1 + (h->bits & STB_NUL ? 1 : 0) + (h->bits & STB_EXTRA ? (int64_t)h->extra : 0);
}
static bool StbValidIndex(const Stb *block, int32_t index) {
    return index >= 0 && index < StbHead(block)->count;
}

int32_t StbCount(const Stb *block) {
    return StbHead(block)->count;
}
int32_t StbCapacity(const Stb *block) {
    return StbCap(StbHead(block));
}
int32_t StbBytesUsed(const Stb *block) {
    return StbHead(block)->used;
}

Stb *StbCreate(int32_t stringBytes, int32_t slots) {
    return StbCreateEx(stringBytes, slots, 0, 0);
}

Stb *StbCreateEx(int32_t stringBytes, int32_t slots, int32_t extra, int nul) {
    int64_t size = STB_HEADER + (int64_t)STB_SLOT * slots + stringBytes;
    if (stringBytes < 0 || slots < 0 || slots > STB_CAPACITY || size > INT32_MAX || extra > INT32_MAX / 2) {
        ErcSetLowMemory();
        return nullptr;
    }
    Stb *block = HAlloc((uint32_t)size);
    if (!block) return nullptr;
    StbHeader *h = StbHead(block);
    h->bits = (uint32_t)slots | (nul ? STB_NUL : 0) | (extra > 0 ? STB_EXTRA : 0);
    h->used = StbSlotsEnd(h);
    h->extra = extra > 0 ? extra : -1;
    return block;
}

void StbFree(Stb **block) {
    HFree(*block);
    *block = nullptr;
}

void StbReset(Stb *block) {
    StbHeader *h = StbHead(block);
    h->count = 0;
    h->used = StbSlotsEnd(h);
}

// Moves the string area by delta bytes (a multiple of the slot size), adjusting the offsets, the capacity and
// bytes used: up to make room for slots, down to drop unused ones.
static void StbShiftStrings(Stb *block, int32_t delta) {
    StbHeader *h = StbHead(block);
    int32_t end = StbSlotsEnd(h);
    memmove(StbBase(block) + end + delta, StbBase(block) + end, h->used - end);
    StbSlot *slots = StbSlots(block);
    for (int32_t i = 0; i < h->count; i++) slots[i].offset += delta;
    h->bits = (h->bits & ~(uint32_t)STB_CAPACITY) | (uint32_t)(StbCap(h) + delta / STB_SLOT);
    h->used += delta;
}

int StbInsert(Stb *block, int32_t index, const unsigned char *pstr, int32_t value) {
    // Copied first: the string may be one of this block's own, and growing moves the block.
    unsigned char copy[256];
    memcpy(copy, pstr, pstr[0] + 1);
    StbHeader *h = StbHead(block);
    int32_t count = h->count, cap = StbCap(h);
    if (index < 0 || index > count) index = count;
    int32_t grow = count == cap ? STB_GROWTH * STB_SLOT : 0;
    int64_t size = StbStringSize(h, copy[0]), need = h->used + size + grow;
    if ((grow && cap + STB_GROWTH > STB_CAPACITY) || need > INT32_MAX) {
        ErcSetLowMemory();
        return 0;
    }
    if (!HRealloc(block, (uint32_t)need, 0)) return 0;
    if (grow) StbShiftStrings(block, grow);
    h = StbHead(block);
    StbSlot *slots = StbSlots(block);
    memmove(slots + index + 1, slots + index, (size_t)(count - index) * STB_SLOT);
    unsigned char *at = StbBase(block) + h->used;
    memcpy(at, copy, copy[0] + 1);
    // The NUL and the extra bytes go into the block only; the caller's string is never written.
    memset(at + copy[0] + 1, 0, size - copy[0] - 1);
    slots[index] = {h->used, value};
    h->count++;
    h->used += (int32_t)size;
    return 1;
}

int StbInsertSz(Stb *block, int32_t index, const char *sz, int32_t value) {
    unsigned char pstr[256];
    return StbInsert(block, index, PstrFromSz(sz, pstr), value);
}

int StbAppend(Stb *block, const unsigned char *pstr, int32_t value) {
    return StbInsert(block, -1, pstr, value);
}

int StbAppendSz(Stb *block, const char *sz, int32_t value) {
    return StbInsertSz(block, -1, sz, value);
}

int StbReplace(Stb *block, int32_t index, const unsigned char *pstr, int32_t value) {
    if (!StbValidIndex(block, index) || !StbInsert(block, index, pstr, value)) return 0;
    StbDelete(block, index + 1);
    return 1;
}

void StbDelete(Stb *block, int32_t index) {
    if (!StbValidIndex(block, index)) return;
    StbHeader *h = StbHead(block);
    unsigned char *base = StbBase(block);
    int32_t offset = StbSlots(block)[index].offset, size = (int32_t)StbStringSize(h, base[offset]);
    // The later slots and the strings before the deleted one move down by one slot; the strings after it
    // move down by one slot and its size. The capacity drops with the count.
    int32_t from = STB_HEADER + STB_SLOT * (index + 1);
    memmove(base + from - STB_SLOT, base + from, offset - from);
    memmove(base + offset - STB_SLOT, base + offset + size, h->used - offset - size);
    h->count--;
    h->bits--;
    h->used -= size + STB_SLOT;
    StbSlot *slots = StbSlots(block);
    for (int32_t i = 0; i < h->count; i++)
        slots[i].offset -= slots[i].offset > offset ? size + STB_SLOT : STB_SLOT;
}

void StbClearSlot(Stb *block, int32_t index) {
    static const unsigned char empty[1] = {0};
    StbReplace(block, index, empty, 0);
}

int32_t StbStoreInFree(Stb *block, const unsigned char *pstr) {
    for (int32_t i = 0; i < StbCount(block); i++)
        if (StbSlots(block)[i].value == 0) return StbReplace(block, i, pstr, 1) ? i : -1;
    return StbInsert(block, -1, pstr, 1) ? StbCount(block) - 1 : -1;
}

int32_t StbStoreInFreeN(Stb *block, const char *chars, int32_t length) {
    unsigned char pstr[256];
    pstr[0] = (unsigned char)ClampValue(length, 0, 255);
    memcpy(pstr + 1, chars, pstr[0]);
    return StbStoreInFree(block, pstr);
}

int32_t StbNextUsed(const Stb *block, int32_t index) {
    for (int32_t i = index < 0 ? 0 : index + 1; i < StbCount(block); i++)
        if (StbSlots(block)[i].value != 0) return i;
    return -1;
}

unsigned char *StbStringPtr(const Stb *block, int32_t index) {
    return StbBase(block) + StbSlots(block)[index].offset;
}

void StbGet(const Stb *block, int32_t index, unsigned char *buffer, int32_t *outValue) {
    const unsigned char *s = StbStringPtr(block, index);
    memcpy(buffer, s, s[0] + 1 + (StbHead(block)->bits & STB_NUL ? 1 : 0));
    if (outValue) *outValue = StbSlots(block)[index].value;
}

void StbGetString(const Stb *block, int32_t index, char *buffer) {
    StbGetChars(block, index, buffer);
    buffer[StbStringPtr(block, index)[0]] = 0;
}

void StbGetChars(const Stb *block, int32_t index, char *buffer) {
    const unsigned char *s = StbStringPtr(block, index);
    memcpy(buffer, s + 1, s[0]);
}

int32_t StbGetValue(const Stb *block, int32_t index) {
    return StbSlots(block)[index].value;
}

void StbSetValue(Stb *block, int32_t index, int32_t value) {
    StbSlots(block)[index].value = value;
}

void StbAdjustValues(Stb *block, int32_t threshold, int32_t delta) {
    StbSlot *slots = StbSlots(block);
    for (int32_t i = 0; i < StbCount(block); i++)
        if (slots[i].value >= threshold)
            slots[i].value = (int32_t)((uint32_t)slots[i].value + (uint32_t)delta);
}

void StbSwapSlots(Stb *block, int32_t a, int32_t b) {
    if (!StbValidIndex(block, a) || !StbValidIndex(block, b)) return;
    StbSlot *slots = StbSlots(block), t = slots[a];
    slots[a] = slots[b];
    slots[b] = t;
}

void StbRotate(Stb *block, int direction) {
    int32_t n = StbCount(block);
    if (n == 0) return;
    StbSlot *slots = StbSlots(block);
    if (direction <= 0) {
        StbSlot first = slots[0];
        memmove(slots, slots + 1, (size_t)(n - 1) * STB_SLOT);
        slots[n - 1] = first;
    } else {
        StbSlot last = slots[n - 1];
        memmove(slots + 1, slots, (size_t)(n - 1) * STB_SLOT);
        slots[0] = last;
    }
}

int StbTrim(Stb *block) {
    StbHeader *h = StbHead(block);
    if (StbCap(h) > h->count) StbShiftStrings(block, -STB_SLOT * (StbCap(h) - h->count));
    return HRealloc(block, StbHead(block)->used, 1);
}

// The bytes behind a stored string's characters and NUL.
static unsigned char *StbExtraPtr(const Stb *block, int32_t index) {
    unsigned char *s = StbStringPtr(block, index);
    return s + s[0] + 1 + (StbHead(block)->bits & STB_NUL ? 1 : 0);
}

static int32_t StbExtraCount(const Stb *block) {
    return StbHead(block)->bits & STB_EXTRA ? StbHead(block)->extra : 0;
}

int StbAppendAll(const Stb *source, Stb *target) {
    int32_t n = StbCount(source), extra = Min(StbExtraCount(source), StbExtraCount(target));
    for (int32_t i = 0; i < n; i++) {
        if (!StbInsert(target, -1, StbStringPtr(source, i), StbGetValue(source, i))) return 0;
        // Taken after the insertion, which may have moved the target (and the source, when they are one).
        if (extra > 0) memcpy(StbExtraPtr(target, StbCount(target) - 1), StbExtraPtr(source, i), extra);
    }
    return 1;
}

// The search halves over a plex view of the slots; the key carries the block and the comparator.
struct StbKey {
    const Stb *block;
    const unsigned char *key;
    StbCompare compare;
};

static int StbSearchThunk(const void *key, const void *slot) {
    const StbKey *k = (const StbKey *)key;
    return k->compare(k->key, StbBase(k->block) + ((const StbSlot *)slot)->offset);
}

int StbSearch(const Stb *block, const unsigned char *key, int32_t *outIndex, StbCompare compare) {
    Plex view = {};
    view.count = view.capacity = StbCount(block);
    view.elemSize = STB_SLOT;
    view.elem0 = StbSlots(block);
    StbKey k = {block, key, compare};
    return PlexSearch(&view, &k, outIndex, StbSearchThunk);
}

int StbSearchSz(const Stb *block, const char *key, int32_t *outIndex, StbCompare compare) {
    unsigned char pstr[256];
    return StbSearch(block, PstrFromSz(key, pstr), outIndex, compare);
}

int StbFindLinear(const Stb *block, const unsigned char *key, int32_t *outIndex, StbCompare compare) {
    for (int32_t i = 0; i < StbCount(block); i++) {
        if (compare(key, StbStringPtr(block, i)) == 0) {
            *outIndex = i;
            return 1;
        }
    }
    return 0;
}

int StbFindValue(const Stb *block, int32_t value, int32_t *outIndex) {
    for (int32_t i = 0; i < StbCount(block); i++) {
        if (StbGetValue(block, i) == value) {
            *outIndex = i;
            return 1;
        }
    }
    return 0;
}

static const unsigned char *stbSortBase;
static StbCompare stbSortCompare;

static int StbSortThunk(const void *a, const void *b) {
    return stbSortCompare(stbSortBase + ((const StbSlot *)a)->offset,
                          stbSortBase + ((const StbSlot *)b)->offset);
}

void StbSortBy(Stb *block, StbCompare compare) {
    stbSortBase = StbBase(block);
    stbSortCompare = compare;
    if (StbCount(block) > 1) qsort(StbSlots(block), StbCount(block), STB_SLOT, StbSortThunk);
}

void StbSort(Stb *block) {
    StbSortBy(block, StlPstrCmpIdent);
}

void StbRemoveDuplicates(Stb *block) {
    for (int32_t i = 0; i + 1 < StbCount(block);) {
        if (PstrEqual(StbStringPtr(block, i), StbStringPtr(block, i + 1)))
            StbDelete(block, i);
        else
            i++;
    }
}

int StbWrite(const Stb *block, int file) {
    unsigned char word[4];
    PlexVarPutLE(word, StbBytesUsed(block));
    return FileWriteExact(file, word, 4) && FileWriteExact(file, block->ptr, StbBytesUsed(block));
}

static int StbCompareInt(const void *a, const void *b) {
    int32_t x = *(const int32_t *)a, y = *(const int32_t *)b;
    return x < y ? -1 : x > y;
}

// The strings of the slots in use lie inside the string area, do not overlap and fill it exactly.
static bool StbStringsTile(const unsigned char *base, const StbHeader *h) {
    const StbSlot *slots = (const StbSlot *)(base + STB_HEADER);
    int32_t *offsets = (int32_t *)MemAlloc((size_t)(h->count ? h->count : 1) * 4);
    if (!offsets) return false;
    for (int32_t i = 0; i < h->count; i++) offsets[i] = slots[i].offset;
    qsort(offsets, h->count, 4, StbCompareInt);
    int64_t end = StbSlotsEnd(h);
    for (int32_t i = 0; i < h->count && end >= 0; i++) {
        int64_t at = offsets[i];
        end = at == end && at < h->used ? at + StbStringSize(h, base[at]) : -1;
    }
    MemFree(offsets);
    return end == h->used;
}

// The header and slots of a block of size bytes, as a reader finds them.
static bool StbBlockSound(const unsigned char *base, int64_t size) {
    if (size < STB_HEADER) return false;
    const StbHeader *h = (const StbHeader *)base;
    uint32_t known = STB_CAPACITY | STB_NUL | STB_EXTRA;
    if (h->used != size || h->count < 0 || h->count > StbCap(h) || (h->bits & ~known)) return false;
    if ((h->bits & STB_EXTRA) ? h->extra <= 0 || h->extra > size : h->extra != -1) return false;
    return StbSlotsEnd(h) <= size && StbStringsTile(base, h);
}

Stb *StbRead(int file) {
    unsigned char word[4];
    int64_t left = PlexVarFileLeft(file) - 4;
    if (left < 0 || !FileReadExact(file, word, 4)) return nullptr;
    int32_t size = PlexVarGetLE(word);
    if (size < STB_HEADER || size > left) return nullptr;
    Stb *block = HAlloc((uint32_t)size);
    if (!block) return nullptr;
    if (!FileReadExact(file, block->ptr, size) || !StbBlockSound(StbBase(block), size)) {
        HFree(block);
        return nullptr;
    }
    return block;
}

int StbCheck(const Stb *block) {
    if (block->size < STB_HEADER) return 0;
    const StbHeader *h = StbHead(block);
    return h->used <= (int64_t)block->size && StbBlockSound(StbBase(block), h->used);
}
