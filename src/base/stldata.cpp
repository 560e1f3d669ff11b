// stldata: data items (prefix StlData). Item layout: 32-bit value, length byte n, n characters, then the
// caller's block; the block follows the string directly, so it has no alignment of its own.
#include "base/stldata.h"

#include "base/utilil.h"

// Any negative index appends. The string and the block may come from this list's own items.
int StlDataInsert(Stl *list, int32_t index, const unsigned char *pstr, int32_t value, const void *block,
                  int32_t blockSize) {
    if (blockSize < 0) return 0;
    PlexVarPart parts[3] = {{&value, 4}, {pstr, pstr[0] + 1}, {block, blockSize}};
    if (!PlexVarInsertParts(&list->pv, index < 0 ? -1 : index, parts, 3)) return 0;
    // The pool may have moved: chain nodes of the old index would point into freed memory.
    StlMarkStale(list);
    return 1;
}

int StlDataInsertSz(Stl *list, int32_t index, const char *sz, int32_t value, const void *block,
                    int32_t blockSize) {
    unsigned char pstr[256];
    return StlDataInsert(list, index, PstrFromSz(sz, pstr), value, block, blockSize);
}

int32_t StlDataSize(const Stl *list, int32_t index) {
    return StlItemSize(list, index) - (StlItem(list, index)[4] + 5);
}

unsigned char *StlDataGet(const Stl *list, int32_t index, unsigned char *pstr, void *block) {
    unsigned char *item = StlItem(list, index);
    unsigned char *data = item + item[4] + 5;
    if (pstr) memcpy(pstr, item + 4, item[4] + 1);
    if (block) memcpy(block, data, StlDataSize(list, index));
    return data;
}
