// plex: the growable array of fixed-size elements under every container of the program (prefix Plex).
// Success convention of the foundation (see erc.h): failure is false, 0, -1 or null, as each call says, with
// the current error set.
#pragma once

#include "base/heap.h"

#include <cstdint>

enum { PLEX_AUTOSHRINK = 1 };

// The header. Callers that need fields of their own embed it first in a larger record and pass that record's
// size as the header size; plex operations leave the bytes behind it alone (a duplicate copies them, the file
// form carries them). In memory only: the handle and pointer fields grow with the pointer size.
struct Plex {
    int32_t count;    // elements in use
    int32_t capacity; // elements the data block holds
    int32_t elemSize; // bytes per element
    int32_t quantum;  // least number of elements added when the plex grows
    Handle *data;     // owns the element block
    void *elem0;      // address of element 0, kept equal to data->ptr
    int32_t flags;    // PLEX_AUTOSHRINK
};

// The file form's fixed part: seven little-endian 32-bit words.
enum { PLEX_FILE_HEADER = 28 };

// The file form at the file's position: the seven words (count, capacity, element size, quantum, two zero
// words where the handle and pointer sit in memory, flags), then the caller's header bytes behind the Plex
// record (header size - sizeof(Plex) of them), then count x element size bytes of elements. Reader and writer
// pass the same header size. 1 on success; on failure the reader allocates nothing and leaves *out alone.
int PlexWrite(const Plex *plex, int32_t headerSize, int file);
int PlexRead(Plex **out, int32_t headerSize, int file);
// The same, refusing a file whose element size is not elemSize.
int PlexReadExpect(Plex **out, int32_t headerSize, int32_t elemSize, int file);

typedef int (*PlexCompare)(const void *a, const void *b);

Plex *PlexCreate(int32_t elemSize, int32_t capacity, int autoShrink);
Plex *PlexCreateEx(int32_t headerSize, int32_t elemSize, int32_t capacity, int autoShrink);
Plex *PlexCreateFrom(int32_t headerSize, int32_t elemSize, int32_t count, const void *source, int autoShrink);
Plex *PlexDup(const Plex *plex, int32_t headerSize);
void PlexFree(Plex *plex);

void *PlexInsert(Plex *plex, int32_t index, int32_t n, const void *source);
int PlexDelete(Plex *plex, int32_t index, int32_t n);
int PlexDeleteAt(Plex *plex, const void *elem, int32_t n);
void PlexDeleteKeep(Plex *plex, int32_t index, int32_t n);
int PlexSetCount(Plex *plex, int32_t count);
void PlexClear(Plex *plex);
inline void PlexSetCountRaw(Plex *plex, int32_t count) {
    plex->count = count;
}
void PlexTrim(Plex *plex);
inline void PlexSetGrowth(Plex *plex, int32_t quantum) {
    plex->quantum = quantum;
}
void PlexSetGrowthEx(Plex *plex, int32_t quantum, int autoShrink);

inline int32_t PlexCount(const Plex *plex) {
    return plex->count;
}
inline void *PlexElem(const Plex *plex, int32_t index) {
    return (char *)plex->elem0 + (intptr_t)index * plex->elemSize;
}
inline void *PlexEnd(const Plex *plex) {
    return PlexElem(plex, plex->count);
}
int32_t PlexCopyElem(const Plex *plex, int32_t index, void *out);

int PlexSearch(const Plex *plex, const void *key, int32_t *outIndex, PlexCompare compare);
void PlexSort(Plex *plex, PlexCompare compare);
void PlexSortRange(Plex *plex, int32_t first, int32_t n, PlexCompare compare);
void PlexSortInt(Plex *plex);

// Invariant check for tests and debug builds: 1 when the header and its block agree.
int PlexCheck(const Plex *plex);
