// stlmult: multi-entry items (prefix StlMult). Item layout: sub-entries {32-bit value, length byte n,
// n characters} back to back; the item's stored size is the sum of their n + 5. Walking an item never passes
// its stored size, so an item of another layout (or read from a damaged file) cannot lead a split astray.
#include "base/stlmult.h"

#include "base/heap.h"
#include "base/utilil.h"

static int32_t StlMultSubSize(const unsigned char *sub) {
    return sub[4] + 5;
}

// Walks the sub-entries, noting at most max of them; returns how many there are.
static int32_t StlMultWalk(const unsigned char *item, const unsigned char **subs, int32_t max) {
    int32_t length = PlexVarDataLength(item), at = 0, n = 0;
    while (length - at >= 5 && StlMultSubSize(item + at) <= length - at) {
        if (n < max) subs[n] = item + at;
        n++;
        at += StlMultSubSize(item + at);
    }
    return n;
}

int32_t StlMultCount(const unsigned char *item) {
    return StlMultWalk(item, nullptr, 0);
}

int StlMultHasMore(const unsigned char *item) {
    return StlMultCount(item) > 1;
}

int32_t StlMultSplit(const unsigned char *item, const unsigned char **subs) {
    int32_t n = StlMultWalk(item, subs, STL_MULT_MAX);
    return n < STL_MULT_MAX ? n : STL_MULT_MAX;
}

int32_t StlMultSplitItem(const Stl *list, int32_t index, const unsigned char **subs) {
    return StlMultSplit(StlItem(list, index), subs);
}

const unsigned char **StlMultSplitAlloc(const unsigned char *item, const unsigned char **subs,
                                        int32_t *outCount) {
    int32_t n = StlMultCount(item);
    if (!subs || n > STL_MULT_MAX)
        subs = (const unsigned char **)MemAlloc((size_t)(n ? n : 1) * sizeof *subs);
    if (!subs) return nullptr;
    StlMultWalk(item, subs, n);
    *outCount = n;
    return subs;
}

// The count of sub-entries before the first null pointer.
static int32_t StlMultGiven(int32_t count, const unsigned char *const *subs) {
    int32_t n = 0;
    while (n < count && subs[n]) n++;
    return n;
}

int32_t StlMultSize(int32_t count, const unsigned char *const *subs) {
    int32_t size = 0, n = StlMultGiven(count, subs);
    for (int32_t i = 0; i < n; i++) size += StlMultSubSize(subs[i]);
    return size;
}

int StlMultInsert(Stl *list, int32_t index, int32_t count, const unsigned char *const *subs) {
    int32_t n = count > STL_MULT_MAX ? 0 : StlMultGiven(count, subs);
    if (n == 0) return 0;
    PlexVarPart parts[STL_MULT_MAX];
    for (int32_t i = 0; i < n; i++) parts[i] = {subs[i], StlMultSubSize(subs[i])};
    if (!PlexVarInsertParts(&list->pv, index, parts, n)) return 0;
    StlMarkStale(list);
    return 1;
}

static unsigned char *StlMultBuildSub(unsigned char *sub, const char *sz, int32_t value) {
    PlexVarPut32(sub, value);
    PstrFromSz(sz, sub + 4);
    return sub;
}

int StlMultInsert2(Stl *list, int32_t index, const char *s1, int32_t v1, const char *s2, int32_t v2) {
    unsigned char a[260], b[260];
    const unsigned char *subs[2] = {StlMultBuildSub(a, s1, v1), StlMultBuildSub(b, s2, v2)};
    return StlMultInsert(list, index, 2, subs);
}

int StlMultInsert3(Stl *list, int32_t index, const char *s1, int32_t v1, const char *s2, int32_t v2,
                   const char *s3, int32_t v3) {
    unsigned char a[260], b[260], c[260];
    const unsigned char *subs[3] = {StlMultBuildSub(a, s1, v1), StlMultBuildSub(b, s2, v2),
                                    StlMultBuildSub(c, s3, v3)};
    return StlMultInsert(list, index, 3, subs);
}

int StlMultAddSub(Stl *list, int32_t index, const unsigned char *pstr, int32_t value) {
    if (index < 0 || index >= StlCount(list) || StlMultCount(StlItem(list, index)) >= STL_MULT_MAX) return 0;
    // Copied first: the string may lie in this list's pool, which the growth below moves.
    unsigned char sub[260];
    PlexVarPut32(sub, value);
    memcpy(sub + 4, pstr, pstr[0] + 1);
    int32_t old = StlItemSize(list, index);
    unsigned char *item = (unsigned char *)PlexVarEnsureSize(&list->pv, index, old + StlMultSubSize(sub));
    if (!item) return 0;
    memcpy(item + old, sub, StlMultSubSize(sub));
    // The item moved to a new place in the pool, which may itself have moved.
    StlMarkStale(list);
    return 1;
}

int StlMultAddSubSz(Stl *list, int32_t index, const char *sz, int32_t value) {
    unsigned char pstr[256];
    return StlMultAddSub(list, index, PstrFromSz(sz, pstr), value);
}

static void StlMultGetN(const Stl *list, int32_t index, int32_t n, char *const *strs,
                        int32_t *const *values) {
    const unsigned char *subs[STL_MULT_MAX];
    int32_t have = StlMultSplitItem(list, index, subs);
    for (int32_t i = 0; i < n; i++) {
        strs[i][0] = 0;
        if (i >= have) continue;
        memcpy(strs[i], subs[i] + 5, subs[i][4]);
        strs[i][subs[i][4]] = 0;
        if (values[i]) *values[i] = PlexVarGet32(subs[i]);
    }
}

void StlMultGet2(const Stl *list, int32_t index, char *s1, int32_t *v1, char *s2, int32_t *v2) {
    char *strs[2] = {s1, s2};
    int32_t *values[2] = {v1, v2};
    StlMultGetN(list, index, 2, strs, values);
}

void StlMultGet3(const Stl *list, int32_t index, char *s1, int32_t *v1, char *s2, int32_t *v2, char *s3,
                 int32_t *v3) {
    char *strs[3] = {s1, s2, s3};
    int32_t *values[3] = {v1, v2, v3};
    StlMultGetN(list, index, 3, strs, values);
}
