// sll: string-long lists (prefix Sll). Item layout: 32-bit value, 16-bit little-endian text length n, n
// characters, a NUL; stored size n + 7. The header is a plexvar's and ten words of the owner's; auto-shrink
// off.
#include "base/sll.h"

#include "base/ident.h"

#include "base/stl.h"

#include <cstring>

Sll *SllCreate(int32_t capacity) {
    return (Sll *)PlexVarCreateEx(sizeof(Sll), capacity, 0);
}

void SllFree(Sll *list) {
    PlexVarFree(&list->pv);
}

// Texts longer than the 16-bit length can say are cut there. The NUL is always written by the list.
static int SllStore(Sll *list, int32_t index, const void *text, size_t length, int32_t value) {
    static const unsigned char nul = 0;
    uint16_t n = (uint16_t)(length > (size_t)SLL_TEXT_MAX ? (size_t)SLL_TEXT_MAX : length);
    unsigned char size[2] = {(unsigned char)n, (unsigned char)(n >> 8)};
    PlexVarPart parts[4] = {{&value, 4}, {size, 2}, {text, n}, {&nul, 1}};
    return PlexVarInsertParts(&list->pv, index, parts, 4) != nullptr;
}

int SllInsert(Sll *list, int32_t index, const char *sz, int32_t value) {
    return SllStore(list, index, sz, strlen(sz), value);
}

int SllInsertPstr(Sll *list, int32_t index, const unsigned char *pstr, int32_t value) {
    return SllStore(list, index, pstr + 1, pstr[0], value);
}

int SllInsertRecord(Sll *list, int32_t index, const unsigned char *record, int32_t value) {
    return SllStore(list, index, record + 2, SllRecordLength(record), value);
}

int SllReplace(Sll *list, int32_t index, const unsigned char *record, int32_t value) {
    if (index < 0 || index >= PlexVarCount(&list->pv) || !SllInsertRecord(list, index, record, value))
        return 0;
    PlexVarDelete(&list->pv, index + 1);
    return 1;
}

void SllDelete(Sll *list, int32_t index) {
    PlexVarDelete(&list->pv, index);
}

struct SllKey {
    const void *key;
    SllCompare compare;
    PlexVarCompare compareRecord;
};

static int SllSearchThunk(const void *key, const void *item) {
    const SllKey *k = (const SllKey *)key;
    const unsigned char *record = (const unsigned char *)item + 4;
    return k->compare ? k->compare((const char *)k->key, (const char *)record + 2)
                      : k->compareRecord(k->key, record);
}

int SllSearch(const Sll *list, const char *key, int32_t *outIndex, SllCompare compare) {
    SllKey k = {key, compare, nullptr};
    return PlexVarSearch(&list->pv, &k, outIndex, SllSearchThunk);
}

int SllSearchRecord(const Sll *list, const unsigned char *key, int32_t *outIndex, PlexVarCompare compare) {
    SllKey k = {key, nullptr, compare};
    return PlexVarSearch(&list->pv, &k, outIndex, SllSearchThunk);
}

// Texts compare as C strings.
static int SllCmpTexts(const unsigned char *a, const unsigned char *b) {
    return StrCmpIdent((const char *)a, (const char *)b);
}

int SllCmpItems(const void *a, const void *b) {
    return SllCmpTexts((const unsigned char *)a + 6, (const unsigned char *)b + 6);
}

int SllCmpKey(const void *keyRecord, const void *itemRecord) {
    return SllCmpTexts((const unsigned char *)keyRecord + 2, (const unsigned char *)itemRecord + 2);
}

int SllCheck(const Sll *list) {
    const PlexVar *pv = &list->pv;
    if (!PlexVarCheck(pv) || (pv->plex.flags & PLEX_AUTOSHRINK)) return 0;
    for (int32_t i = 0; i < PlexVarCount(pv); i++) {
        int32_t length = PlexVarLength(pv, i);
        if (length < 7 || SllRecordLength(SllLength(list, i)) + 7 != length || SllText(list, i)[length - 7])
            return 0;
    }
    return 1;
}
