// stl: the string list (prefix Stl), an ordered list of items {32-bit value, length-prefixed string} kept in
// a plexvar, with an optional hash index built lazily for finding a string quickly.
// Success convention of the foundation (see erc.h): failure is false, 0, -1 or null, as each call says, with
// the current error set.
#pragma once

#include "base/plexvar.h"

#include <cstdint>

enum { STL_STALE = 1 }; // flags: the hash index must be rebuilt before the next hashed find

// One chain node per item: the next node in the bucket and the item.
struct StlNode {
    StlNode *next;
    unsigned char *item;
};

// The header: the plexvar, then the hash words. In memory only: the pointer fields grow with the pointer
// size; the file form carries the plexvar part alone.
struct Stl {
    PlexVar pv;
    int32_t flags;        // STL_STALE
    int32_t itemsAtBuild; // item count when the index was last built
    StlNode *nodes;       // one node per item; null when never built
    int32_t bucketCount;  // 0: the list has no hash index
    StlNode **buckets;    // bucketCount chain heads; null when never built
};

// An item: the value, then the string (length byte n and n characters, no terminator); stored size n + 5.
// Item pointers stay valid only until the list next changes.
typedef int (*StlCompare)(const unsigned char *key, const unsigned char *pstr);

Stl *StlCreate(int32_t capacity);
Stl *StlCreateHashed(int32_t capacity, int32_t buckets);
Stl *StlCreateEx(int32_t capacity, int32_t buckets);
void StlFree(Stl *list);
void StlFreeNull(Stl **list);
Stl *StlDup(const Stl *list);
void StlMove(Stl *target, Stl *source);
void StlClear(Stl *list);
int StlWrite(const Stl *list, int file);
Stl *StlRead(int file);
bool StlEqual(const Stl *a, const Stl *b, StlCompare compare, int compareValues);

int StlInsert(Stl *list, int32_t index, const unsigned char *pstr, int32_t value);
int StlInsertSz(Stl *list, int32_t index, const char *sz, int32_t value);
int StlAppendSz(Stl *list, const char *sz, int32_t value);
int StlInsertSorted(Stl *list, int32_t *outIndex, const unsigned char *pstr, int32_t value);
int StlInsertSortedSz(Stl *list, int32_t *outIndex, const char *sz, int32_t value);
int StlSet(Stl *list, int32_t index, const unsigned char *pstr, int32_t value);
void StlDelete(Stl *list, int32_t index);
void StlGet(const Stl *list, int32_t index, unsigned char *pstr, int32_t *outValue);
void StlGetString(const Stl *list, int32_t index, unsigned char *buffer);
int32_t StlItemSize(const Stl *list, int32_t index);
int StlCopyItem(Stl *target, int32_t index, const Stl *source, int32_t sourceIndex);
int StlAppendList(Stl *target, const Stl *source, int32_t index, int fixedValue, int32_t value);
void StlSwap(Stl *list, int32_t a, int32_t b);
void StlAdjustValues(Stl *list, int32_t threshold, int32_t delta);

inline int32_t StlCount(const Stl *list) {
    return list->pv.plex.count;
}
inline unsigned char *StlItem(const Stl *list, int32_t index) {
    return PlexVarElem(&list->pv, index);
}
inline int32_t StlItemValue(const void *item) {
    return PlexVarGet32(item);
}
inline unsigned char *StlItemPstr(const void *item) {
    return (unsigned char *)item + 4;
}
// Every change that moves items or changes their set calls this, so no chain node outlives its item.
inline void StlMarkStale(Stl *list) {
    list->flags |= STL_STALE;
}

int StlSearch(const Stl *list, const unsigned char *key, int32_t *outIndex, StlCompare compare);
int StlSearchIdent(const Stl *list, const unsigned char *key, int32_t *outIndex);
int StlSearchSzIdent(const Stl *list, const char *key, int32_t *outIndex);
int StlSearchSz(const Stl *list, const char *key, int32_t *outIndex);
int StlFindLinear(const Stl *list, const unsigned char *key, int32_t *outIndex, StlCompare compare);
int StlFindLinearSz(const Stl *list, const char *key, int32_t *outIndex, StlCompare compare);
int StlFindValue(const Stl *list, int32_t value, int32_t *outIndex);
// Hashed finds, only in a list with buckets: without the exact flag they ignore ASCII case, nothing more.
unsigned char *StlFind(Stl *list, const char *sz, int exact);
unsigned char *StlFindPstr(Stl *list, const unsigned char *pstr, int exact);
int32_t StlFindIndex(Stl *list, const char *sz, int exact);
int StlEnsureHash(Stl *list);
int StlBuildHash(Stl *list, int32_t buckets);
inline int StlRebuildHash(Stl *list, int32_t buckets) {
    return StlBuildHash(list, buckets);
}
uint32_t StlHash(const unsigned char *chars, int32_t n);
void StlSort(Stl *list);
void StlSortExact(Stl *list);
void StlSortByValue(Stl *list);
void StlSortBy(Stl *list, PlexVarCompare compare);

// Identifier order over counted strings: case-blind (or exact), leading underscores skipped, then fewer
// underscores first; a string's end compares as 0. Kept here until the string utilities offer it.
int StlPstrCmpIdent(const unsigned char *a, const unsigned char *b);
int StlPstrCmpIdentExact(const unsigned char *a, const unsigned char *b);

// Invariant check for tests and debug builds: the plexvar's, well-formed items, and an index that is either
// marked stale or lists every item once in its own bucket.
int StlCheck(const Stl *list);
// Items alone: every element holds a value and a string that fits in it.
int StlCheckItems(const PlexVar *pv);
