// plexvar: a list of variable-length elements (prefix PlexVar). A plex of 32-bit offsets, in list order, into
// one byte pool that holds the elements in the order they were stored; reordering moves only offsets.
// Success convention of the foundation (see erc.h): failure is false, 0, -1 or null, as each call says, with
// the current error set.
#pragma once

#include "base/plex.h"

#include <cstdint>
#include <cstring>

// The header: the plex words, then the pool's. Derived lists embed it first in a larger record and pass
// sizeof(PlexVar) + the bytes of their own fields as the header size (not a size with tail padding where the
// file form must keep its length); the bytes behind the PlexVar record are theirs. In memory only: the handle
// and pointer fields grow with the pointer size.
struct PlexVar {
    Plex plex;            // elements are the 4-byte pool offsets
    int32_t poolUsed;     // bytes of the pool in use; the next element is stored here
    int32_t poolCapacity; // bytes the pool block holds
    Handle *pool;         // owns the pool
    unsigned char *pool0; // the pool's first byte, kept equal to pool->ptr
};

// The file form's fixed part: the seven plex words and the four pool words, little-endian.
enum { PLEXVAR_FILE_HEADER = 44 };

// One piece of an element being stored; null bytes leave that piece as the pool holds it.
struct PlexVarPart {
    const void *bytes;
    int32_t length;
};

typedef int (*PlexVarCompare)(const void *a, const void *b);

PlexVar *PlexVarCreate(int32_t capacity, int autoShrink);
PlexVar *PlexVarCreateEx(int32_t headerSize, int32_t capacity, int autoShrink);
PlexVar *PlexVarDup(const PlexVar *pv, int32_t headerSize);
void PlexVarMove(PlexVar *target, PlexVar *source);
void PlexVarFree(PlexVar *pv);

// Sources may point into the list's own pool: they are found again after the pool moves.
void *PlexVarInsert(PlexVar *pv, int32_t index, const void *source, int32_t length);
void *PlexVarInsertParts(PlexVar *pv, int32_t index, const PlexVarPart *parts, int32_t nParts);
void PlexVarDelete(PlexVar *pv, int32_t index);
int PlexVarSet(PlexVar *pv, int32_t index, const void *source, int32_t length);
void *PlexVarReplace(PlexVar *pv, int32_t index, const void *source, int32_t length);
void *PlexVarEnsureSize(PlexVar *pv, int32_t index, int32_t length);
void PlexVarSwap(PlexVar *pv, int32_t a, int32_t b);
int32_t PlexVarIndexOf(const PlexVar *pv, const void *data);
int32_t PlexVarCopyOut(const PlexVar *pv, int32_t index, void *buffer);
void PlexVarClear(PlexVar *pv);
void PlexVarTrim(PlexVar *pv);

inline int32_t PlexVarGet32(const void *at) {
    int32_t v;
    memcpy(&v, at, 4);
    return v;
}
inline void PlexVarPut32(void *at, int32_t v) {
    memcpy(at, &v, 4);
}
// Explicit little-endian words of the file forms.
inline void PlexVarPutLE(unsigned char *at, int32_t v) {
    for (int i = 0; i < 4; i++) at[i] = (unsigned char)((uint32_t)v >> (8 * i));
}
inline int32_t PlexVarGetLE(const unsigned char *at) {
    return (int32_t)(at[0] | at[1] << 8 | at[2] << 16 | (uint32_t)at[3] << 24);
}
inline int32_t PlexVarCount(const PlexVar *pv) {
    return pv->plex.count;
}
inline int32_t PlexVarOffset(const PlexVar *pv, int32_t index) {
    return PlexVarGet32(PlexElem(&pv->plex, index));
}
inline unsigned char *PlexVarElem(const PlexVar *pv, int32_t index) {
    return pv->pool0 + PlexVarOffset(pv, index) + 4;
}
inline int32_t PlexVarLength(const PlexVar *pv, int32_t index) {
    return PlexVarGet32(pv->pool0 + PlexVarOffset(pv, index));
}
// The length of an element from its data pointer: the word stored just before the data.
inline int32_t PlexVarDataLength(const void *data) {
    return PlexVarGet32((const unsigned char *)data - 4);
}

// The comparators see element data pointers. Sorting passes the comparator through module variables, so a
// comparator must not sort another plexvar.
void PlexVarSort(PlexVar *pv, PlexVarCompare compare);
int PlexVarSearch(const PlexVar *pv, const void *key, int32_t *outIndex, PlexVarCompare compare);

// The file form at the file's position: the 44 header bytes (pointer words written as 0), the caller's header
// bytes behind the PlexVar record (headerSize - sizeof(PlexVar) of them), the offsets, the pool's used bytes.
// Reading checks every count, offset and length against the file and the pool before anything is kept.
int PlexVarWrite(const PlexVar *pv, int32_t headerSize, int file);
int PlexVarRead(PlexVar **out, int32_t headerSize, int file);
// Bytes of the file behind its position: what a reader may still trust a count to cover.
int64_t PlexVarFileLeft(int file);

// Invariant check for tests and debug builds: 1 when the offsets, the pool and its block agree.
int PlexVarCheck(const PlexVar *pv);
// The same for the elements alone: offsets inside the used pool, elements not overlapping.
int PlexVarCheckElements(const PlexVar *pv);
