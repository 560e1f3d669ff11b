// stlmult: multi-entry items of a string list (prefix StlMult): 1 to 10 sub-entries packed back to back, each
// a 32-bit value and a length-prefixed string. The first sub-entry's string is the item's string for sorting,
// searching and hashing. Sub-entry pointers point at a sub-entry's value; they stay valid until the list
// changes.
#pragma once

#include "base/stl.h"

#include <cstdint>

enum { STL_MULT_MAX = 10 };

// The sub-entries to store are given as a count and that many pointers; a null pointer ends them early.
int StlMultInsert(Stl *list, int32_t index, int32_t count, const unsigned char *const *subs);
int StlMultInsert2(Stl *list, int32_t index, const char *s1, int32_t v1, const char *s2, int32_t v2);
int StlMultInsert3(Stl *list, int32_t index, const char *s1, int32_t v1, const char *s2, int32_t v2,
                   const char *s3, int32_t v3);
int StlMultAddSub(Stl *list, int32_t index, const unsigned char *pstr, int32_t value);
int StlMultAddSubSz(Stl *list, int32_t index, const char *sz, int32_t value);

// Splitting fills at most STL_MULT_MAX pointers and returns their count.
int32_t StlMultSplit(const unsigned char *item, const unsigned char **subs);
int32_t StlMultSplitItem(const Stl *list, int32_t index, const unsigned char **subs);
// Every sub-entry, without the limit: into subs when it holds them all, else into a new array (MemAlloc) that
// the caller frees. Null when that array cannot be had.
const unsigned char **StlMultSplitAlloc(const unsigned char *item, const unsigned char **subs,
                                        int32_t *outCount);
int32_t StlMultCount(const unsigned char *item);
int StlMultHasMore(const unsigned char *item);
int32_t StlMultSize(int32_t count, const unsigned char *const *subs);
// Copies out the first sub-entries as C strings (256-byte buffers); a missing one gives an empty string and
// leaves its value untouched.
void StlMultGet2(const Stl *list, int32_t index, char *s1, int32_t *v1, char *s2, int32_t *v2);
void StlMultGet3(const Stl *list, int32_t index, char *s1, int32_t *v1, char *s2, int32_t *v2, char *s3,
                 int32_t *v3);
