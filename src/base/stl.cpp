// stl: string lists (prefix Stl). Items {32-bit value, length byte n, n characters} are plexvar elements of
// n + 5 bytes or more (data items and multi-entry items carry more behind the first string).
// The hash index: bucket = h mod bucket count, h = h * 4 + (c | 0x20) over the string's bytes in unsigned
// 32-bit arithmetic, so strings differing only in case share a bucket. Each chain lists its items from the
// most recently stored to the oldest. The index is rebuilt whole at the next hashed find after any change
// that adds, removes or moves items (the stale flag); chain nodes point into the pool, so a stale index is
// never walked.
//
// File form: the plexvar form with no header words of its own (header size 44): the hash words are not
// stored, and a list read back has no buckets.
#include "base/stl.h"

#include "base/ident.h"
#include "base/heap.h"

#include "base/erc.h"
#include "base/utilil.h"

#include <cstdlib>

enum { STL_ITEM_MAX = 4 + 256 };

Stl *StlCreate(int32_t capacity) {
    return StlCreateEx(capacity, 0);
}

Stl *StlCreateHashed(int32_t capacity, int32_t buckets) {
    return StlCreateEx(capacity, buckets);
}

Stl *StlCreateEx(int32_t capacity, int32_t buckets) {
    Stl *list = (Stl *)PlexVarCreateEx(sizeof(Stl), capacity, PLEX_AUTOSHRINK);
    if (list && buckets > 0) {
        list->bucketCount = buckets;
        StlMarkStale(list);
    }
    return list;
}

static void StlFreeIndex(Stl *list) {
    MemFree(list->nodes);
    MemFree(list->buckets);
    list->nodes = nullptr;
    list->buckets = nullptr;
}

void StlFree(Stl *list) {
    StlFreeIndex(list);
    PlexVarFree(&list->pv);
}

void StlFreeNull(Stl **list) {
    if (!*list) return;
    StlFree(*list);
    *list = nullptr;
}

Stl *StlDup(const Stl *list) {
    Stl *dup = (Stl *)PlexVarDup(&list->pv, sizeof(Stl));
    if (!dup) return nullptr;
    // The header copy brought the source's index arrays along: the copy builds its own.
    dup->nodes = nullptr;
    dup->buckets = nullptr;
    dup->itemsAtBuild = 0;
    StlMarkStale(dup);
    return dup;
}

void StlMove(Stl *target, Stl *source) {
    StlFreeIndex(target);
    PlexVarMove(&target->pv, &source->pv);
}

void StlClear(Stl *list) {
    PlexVarClear(&list->pv);
    StlMarkStale(list);
}

int StlWrite(const Stl *list, int file) {
    return PlexVarWrite(&list->pv, sizeof(PlexVar), file);
}

Stl *StlRead(int file) {
    PlexVar *pv;
    if (!PlexVarRead(&pv, sizeof(PlexVar), file)) return nullptr;
    Stl *list = StlCheckItems(pv) ? (Stl *)MemRealloc(pv, sizeof(Stl)) : nullptr;
    if (!list) {
        PlexVarFree(pv);
        return nullptr;
    }
    memset((char *)list + sizeof(PlexVar), 0, sizeof(Stl) - sizeof(PlexVar));
    StlMarkStale(list);
    return list;
}

bool StlEqual(const Stl *a, const Stl *b, StlCompare compare, int compareValues) {
    if (StlCount(a) != StlCount(b)) return 0;
    for (int32_t i = 0; i < StlCount(a); i++) {
        const unsigned char *x = StlItem(a, i), *y = StlItem(b, i);
        if (compare(StlItemPstr(x), StlItemPstr(y)) != 0) return 0;
        if (compareValues && StlItemValue(x) != StlItemValue(y)) return 0;
    }
    return 1;
}

// The item is built in a local copy first: the string may be one of this list's own, which a growing pool
// would move away from under the copy.
static int32_t StlBuildItem(unsigned char *item, const unsigned char *pstr, int32_t value) {
    PlexVarPut32(item, value);
    memcpy(item + 4, pstr, pstr[0] + 1);
    return pstr[0] + 5;
}

// Inserts the item at the index, or sets the item there.
static int StlPut(Stl *list, int32_t index, const unsigned char *pstr, int32_t value, bool set) {
    unsigned char item[STL_ITEM_MAX];
    int32_t size = StlBuildItem(item, pstr, value);
    int ok = set ? PlexVarSet(&list->pv, index, item, size)
                 : PlexVarInsert(&list->pv, index, item, size) != nullptr;
    if (ok) StlMarkStale(list);
    return ok;
}

int StlInsert(Stl *list, int32_t index, const unsigned char *pstr, int32_t value) {
    return StlPut(list, index, pstr, value, false);
}

// Longer strings are cut at 255 characters: a longer one would not fit its length byte.
int StlInsertSz(Stl *list, int32_t index, const char *sz, int32_t value) {
    unsigned char pstr[256];
    return StlInsert(list, index, PstrFromSz(sz, pstr), value);
}

int StlAppendSz(Stl *list, const char *sz, int32_t value) {
    return StlInsertSz(list, -1, sz, value);
}

int StlInsertSorted(Stl *list, int32_t *outIndex, const unsigned char *pstr, int32_t value) {
    int32_t index;
    StlSearchIdent(list, pstr, &index);
    if (outIndex) *outIndex = index;
    return StlInsert(list, index, pstr, value);
}

int StlInsertSortedSz(Stl *list, int32_t *outIndex, const char *sz, int32_t value) {
    unsigned char pstr[256];
    return StlInsertSorted(list, outIndex, PstrFromSz(sz, pstr), value);
}

int StlSet(Stl *list, int32_t index, const unsigned char *pstr, int32_t value) {
    return StlPut(list, index, pstr, value, true);
}

void StlDelete(Stl *list, int32_t index) {
    PlexVarDelete(&list->pv, index);
    StlMarkStale(list);
}

void StlGet(const Stl *list, int32_t index, unsigned char *pstr, int32_t *outValue) {
    const unsigned char *item = StlItem(list, index);
    memcpy(pstr, item + 4, item[4] + 1);
    if (outValue) *outValue = StlItemValue(item);
}

void StlGetString(const Stl *list, int32_t index, unsigned char *buffer) {
    StlGet(list, index, buffer, nullptr);
    buffer[buffer[0] + 1] = 0;
}

int32_t StlItemSize(const Stl *list, int32_t index) {
    return PlexVarLength(&list->pv, index);
}

int StlCopyItem(Stl *target, int32_t index, const Stl *source, int32_t sourceIndex) {
    if (sourceIndex < 0 || sourceIndex >= StlCount(source)) return 0;
    const PlexVar *pv = &source->pv;
    if (!PlexVarInsert(&target->pv, index, PlexVarElem(pv, sourceIndex), PlexVarLength(pv, sourceIndex)))
        return 0;
    StlMarkStale(target);
    return 1;
}

int StlAppendList(Stl *target, const Stl *source, int32_t index, int fixedValue, int32_t value) {
    if (target == source) {
        // Inserting into the list being walked would shift the items still to be copied.
        Stl *copy = StlDup(source);
        if (!copy) return 0;
        int ok = StlAppendList(target, copy, index, fixedValue, value);
        StlFree(copy);
        return ok;
    }
    for (int32_t i = 0; i < StlCount(source); i++) {
        const unsigned char *item = StlItem(source, i);
        if (!StlInsert(target, index, StlItemPstr(item), fixedValue ? value : StlItemValue(item))) return 0;
        if (index >= 0) index++;
    }
    return 1;
}

void StlSwap(Stl *list, int32_t a, int32_t b) {
    PlexVarSwap(&list->pv, a, b);
}

void StlAdjustValues(Stl *list, int32_t threshold, int32_t delta) {
    for (int32_t i = 0; i < StlCount(list); i++) {
        unsigned char *item = StlItem(list, i);
        int32_t v = StlItemValue(item);
        if (v >= threshold) PlexVarPut32(item, (int32_t)((uint32_t)v + (uint32_t)delta));
    }
}

int StlPstrCmpIdent(const unsigned char *a, const unsigned char *b) {
    return PstrCmpIdent(a, b);
}

int StlPstrCmpIdentExact(const unsigned char *a, const unsigned char *b) {
    return PstrCmpIdentExact(a, b);
}

// The search key carries the caller's comparator to the plexvar search, which sees item pointers.
struct StlKey {
    const unsigned char *key;
    StlCompare compare;
};

static int StlSearchThunk(const void *key, const void *item) {
    const StlKey *k = (const StlKey *)key;
    return k->compare(k->key, StlItemPstr(item));
}

int StlSearch(const Stl *list, const unsigned char *key, int32_t *outIndex, StlCompare compare) {
    StlKey k = {key, compare};
    return PlexVarSearch(&list->pv, &k, outIndex, StlSearchThunk);
}

int StlSearchIdent(const Stl *list, const unsigned char *key, int32_t *outIndex) {
    return StlSearch(list, key, outIndex, StlPstrCmpIdent);
}

int StlSearchSzIdent(const Stl *list, const char *key, int32_t *outIndex) {
    unsigned char pstr[256];
    return StlSearchIdent(list, PstrFromSz(key, pstr), outIndex);
}

int StlSearchSz(const Stl *list, const char *key, int32_t *outIndex) {
    unsigned char pstr[256];
    return StlSearch(list, PstrFromSz(key, pstr), outIndex, StlPstrCmpIdentExact);
}

// The first matching item in stored order is the one stored earliest: the lowest pool offset.
static int StlFindFirstStored(const Stl *list, int32_t *outIndex,
                              bool (*match)(const unsigned char *, const void *), const void *what) {
    int32_t found = -1, offset = 0;
    for (int32_t i = 0; i < StlCount(list); i++) {
        int32_t o = PlexVarOffset(&list->pv, i);
        if ((found < 0 || o < offset) && match(StlItem(list, i), what)) {
            found = i;
            offset = o;
        }
    }
    if (found < 0) return 0;
    *outIndex = found;
    return 1;
}

static bool StlMatchKey(const unsigned char *item, const void *what) {
    const StlKey *k = (const StlKey *)what;
    return k->compare(k->key, StlItemPstr(item)) == 0;
}

static bool StlMatchValue(const unsigned char *item, const void *what) {
    return StlItemValue(item) == *(const int32_t *)what;
}

int StlFindLinear(const Stl *list, const unsigned char *key, int32_t *outIndex, StlCompare compare) {
    StlKey k = {key, compare};
    return StlFindFirstStored(list, outIndex, StlMatchKey, &k);
}

int StlFindLinearSz(const Stl *list, const char *key, int32_t *outIndex, StlCompare compare) {
    unsigned char pstr[256];
    return StlFindLinear(list, PstrFromSz(key, pstr), outIndex, compare);
}

int StlFindValue(const Stl *list, int32_t value, int32_t *outIndex) {
    return StlFindFirstStored(list, outIndex, StlMatchValue, &value);
}

uint32_t StlHash(const unsigned char *chars, int32_t n) {
    uint32_t h = 0;
    for (int32_t i = 0; i < n; i++) h = h * 4 + (chars[i] | 0x20);
    return h;
}

static int StlCompareNodes(const void *a, const void *b) {
    uintptr_t x = (uintptr_t)((const StlNode *)a)->item, y = (uintptr_t)((const StlNode *)b)->item;
    return x < y ? -1 : x > y;
}

int StlBuildHash(Stl *list, int32_t buckets) {
    if (buckets <= 0) return 0;
    int32_t n = StlCount(list);
    StlNode **heads = (StlNode **)MemAlloc((size_t)buckets * sizeof(StlNode *));
    StlNode *nodes = (StlNode *)MemAlloc((size_t)(n ? n : 1) * sizeof(StlNode));
    if (!heads || !nodes) {
        MemFree(heads);
        MemFree(nodes);
        return 0;
    }
    // Stored order is pool order: sorting the nodes by item address puts the oldest first, so that each chain
    // ends up listing the newest item first.
    for (int32_t k = 0; k < n; k++) nodes[k].item = StlItem(list, k);
    qsort(nodes, n, sizeof(StlNode), StlCompareNodes);
    for (int32_t k = 0; k < n; k++) {
        const unsigned char *pstr = StlItemPstr(nodes[k].item);
        uint32_t b = StlHash(pstr + 1, pstr[0]) % (uint32_t)buckets;
        nodes[k].next = heads[b];
        heads[b] = &nodes[k];
    }
    StlFreeIndex(list);
    list->nodes = nodes;
    list->buckets = heads;
    list->bucketCount = buckets;
    list->itemsAtBuild = n;
    list->flags &= ~STL_STALE;
    return 1;
}

int StlEnsureHash(Stl *list) {
    if (list->bucketCount <= 0) return 0;
    if (list->buckets && !(list->flags & STL_STALE) && list->itemsAtBuild == StlCount(list)) return 1;
    return StlBuildHash(list, list->bucketCount);
}

// A case-blind find ignores ASCII case only: the wider fold of the identifier order (CharCmpI) would also
// take "x{y" for "x[y", '|' for '\\', '~' for '^' and bytes above 127 for others.
static unsigned char StlAsciiLower(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? (unsigned char)(c + ('a' - 'A')) : c;
}

static bool StlSameChars(const unsigned char *a, const unsigned char *b, int32_t n, int exact) {
    if (exact) return memcmp(a, b, n) == 0;
    for (int32_t i = 0; i < n; i++)
        if (StlAsciiLower(a[i]) != StlAsciiLower(b[i])) return false;
    return true;
}

// A list without buckets has no index to look in (and no bucket count to divide by).
static unsigned char *StlFindChars(Stl *list, const unsigned char *chars, int32_t n, int exact) {
    if (n > 255 || !StlEnsureHash(list)) return nullptr;
    StlNode *node = list->buckets[StlHash(chars, n) % (uint32_t)list->bucketCount];
    for (; node; node = node->next) {
        const unsigned char *pstr = StlItemPstr(node->item);
        if (pstr[0] == n && StlSameChars(pstr + 1, chars, n, exact)) return node->item;
    }
    return nullptr;
}

unsigned char *StlFind(Stl *list, const char *sz, int exact) {
    size_t n = strlen(sz);
    return n > 255 ? nullptr : StlFindChars(list, (const unsigned char *)sz, (int32_t)n, exact);
}

unsigned char *StlFindPstr(Stl *list, const unsigned char *pstr, int exact) {
    return StlFindChars(list, pstr + 1, pstr[0], exact);
}

int32_t StlFindIndex(Stl *list, const char *sz, int exact) {
    unsigned char *item = StlFind(list, sz, exact);
    return item ? PlexVarIndexOf(&list->pv, item) : -1;
}

static int StlCompareItemsIdent(const void *a, const void *b) {
    return StlPstrCmpIdent(StlItemPstr(a), StlItemPstr(b));
}

static int StlCompareItemsExact(const void *a, const void *b) {
    return StlPstrCmpIdentExact(StlItemPstr(a), StlItemPstr(b));
}

// By comparison, not by subtraction: the difference of two far-apart values overflows and inverts the order.
static int StlCompareValues(const void *a, const void *b) {
    int32_t x = StlItemValue(a), y = StlItemValue(b);
    return x < y ? -1 : x > y;
}

void StlSortBy(Stl *list, PlexVarCompare compare) {
    PlexVarSort(&list->pv, compare);
    StlMarkStale(list);
}

void StlSort(Stl *list) {
    StlSortBy(list, StlCompareItemsIdent);
}

void StlSortExact(Stl *list) {
    StlSortBy(list, StlCompareItemsExact);
}

void StlSortByValue(Stl *list) {
    StlSortBy(list, StlCompareValues);
}

int StlCheckItems(const PlexVar *pv) {
    for (int32_t i = 0; i < PlexVarCount(pv); i++) {
        int32_t length = PlexVarLength(pv, i);
        if (length < 5 || PlexVarElem(pv, i)[4] + 5 > length) return 0;
    }
    return 1;
}

// Every node of a built, fresh index is an item of the list and sits in its own bucket; there is one per
// item.
static int StlCheckIndex(const Stl *list) {
    int32_t seen = 0;
    for (int32_t b = 0; b < list->bucketCount; b++) {
        for (const StlNode *node = list->buckets[b]; node; node = node->next) {
            if (++seen > StlCount(list) || PlexVarIndexOf(&list->pv, node->item) < 0) return 0;
            const unsigned char *pstr = StlItemPstr(node->item);
            if (StlHash(pstr + 1, pstr[0]) % (uint32_t)list->bucketCount != (uint32_t)b) return 0;
        }
    }
    return seen == StlCount(list) && list->itemsAtBuild == seen;
}

int StlCheck(const Stl *list) {
    if (!PlexVarCheck(&list->pv) || !StlCheckItems(&list->pv) || list->bucketCount < 0) return 0;
    if ((list->flags & STL_STALE) || !list->buckets) return 1;
    return list->bucketCount > 0 && list->nodes && StlCheckIndex(list);
}
