// sll: the string-long list (prefix Sll), a plexvar whose items carry texts of up to 65535 characters with a
// 32-bit value. A record is the part of an item behind its value: the 16-bit length, the text and its NUL.
#pragma once

#include "base/plexvar.h"

#include <cstdint>

// The header: the plexvar, then ten words the list keeps for its owner.
struct Sll {
    PlexVar pv;
    int32_t owner[10];
};

enum { SLL_TEXT_MAX = 0xFFFF };

typedef int (*SllCompare)(const char *key, const char *text);

Sll *SllCreate(int32_t capacity);
void SllFree(Sll *list);
int SllInsert(Sll *list, int32_t index, const char *sz, int32_t value);
int SllInsertPstr(Sll *list, int32_t index, const unsigned char *pstr, int32_t value);
int SllInsertRecord(Sll *list, int32_t index, const unsigned char *record, int32_t value);
int SllReplace(Sll *list, int32_t index, const unsigned char *record, int32_t value);
void SllDelete(Sll *list, int32_t index);

inline unsigned char *SllItem(const Sll *list, int32_t index) {
    return PlexVarElem(&list->pv, index);
}
// The record: its first two bytes are the text's length.
inline unsigned char *SllLength(const Sll *list, int32_t index) {
    return SllItem(list, index) + 4;
}
inline char *SllText(const Sll *list, int32_t index) {
    return (char *)SllItem(list, index) + 6;
}
inline int32_t SllRecordLength(const unsigned char *record) {
    return record[0] | record[1] << 8;
}

int SllSearch(const Sll *list, const char *key, int32_t *outIndex, SllCompare compare);
int SllSearchRecord(const Sll *list, const unsigned char *key, int32_t *outIndex, PlexVarCompare compare);
// Identifier order of two items' texts (for sorting the plexvar), and of a key record's text and an item
// record's text (for SllSearchRecord).
int SllCmpItems(const void *a, const void *b);
int SllCmpKey(const void *keyRecord, const void *itemRecord);

// Invariant check for tests and debug builds: the plexvar's, and every item {value, length n, n characters,
// NUL}.
int SllCheck(const Sll *list);
