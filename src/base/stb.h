// stb: the string table block (prefix Stb): a whole table of length-prefixed strings with 32-bit values in
// one movable block, every position an offset from the block's start, so that it is written, read and copied
// whole.
// Success convention of the foundation (see erc.h): failure is false, 0, -1 or null, as each call says, with
// the current error set.
#pragma once

#include "base/heap.h"

#include <cstdint>

// The block is a Handle: its buffer moves when the table grows, the Handle does not.
typedef Handle Stb;

enum {
    STB_HEADER = 16,         // bytes before the slots
    STB_SLOT = 8,            // {offset of the string, value}
    STB_GROWTH = 10,         // slots added when the table is full
    STB_CAPACITY = 0xFFFFFF, // bits 0-23 of the second word
    STB_NUL = 1 << 24,       // strings carry a trailing NUL
    STB_EXTRA = 1 << 25,     // strings are followed by a fixed number of extra bytes
};

typedef int (*StbCompare)(const unsigned char *key, const unsigned char *stored);

Stb *StbCreate(int32_t stringBytes, int32_t slots);
Stb *StbCreateEx(int32_t stringBytes, int32_t slots, int32_t extra, int nul);
void StbFree(Stb **block);
void StbReset(Stb *block);

int StbInsert(Stb *block, int32_t index, const unsigned char *pstr, int32_t value);
int StbInsertSz(Stb *block, int32_t index, const char *sz, int32_t value);
int StbAppend(Stb *block, const unsigned char *pstr, int32_t value);
int StbAppendSz(Stb *block, const char *sz, int32_t value);
int StbReplace(Stb *block, int32_t index, const unsigned char *pstr, int32_t value);
void StbDelete(Stb *block, int32_t index);
void StbClearSlot(Stb *block, int32_t index);
int32_t StbStoreInFree(Stb *block, const unsigned char *pstr);
int32_t StbStoreInFreeN(Stb *block, const char *chars, int32_t length);
int32_t StbNextUsed(const Stb *block, int32_t index);

void StbGet(const Stb *block, int32_t index, unsigned char *buffer, int32_t *outValue);
void StbGetString(const Stb *block, int32_t index, char *buffer);
void StbGetChars(const Stb *block, int32_t index, char *buffer);
unsigned char *StbStringPtr(const Stb *block, int32_t index);
int32_t StbGetValue(const Stb *block, int32_t index);
void StbSetValue(Stb *block, int32_t index, int32_t value);
void StbAdjustValues(Stb *block, int32_t threshold, int32_t delta);
void StbSwapSlots(Stb *block, int32_t a, int32_t b);
void StbRotate(Stb *block, int direction);
int StbTrim(Stb *block);
int StbAppendAll(const Stb *source, Stb *target);

int32_t StbCount(const Stb *block);
int32_t StbCapacity(const Stb *block);
int32_t StbBytesUsed(const Stb *block);

int StbSearch(const Stb *block, const unsigned char *key, int32_t *outIndex, StbCompare compare);
int StbSearchSz(const Stb *block, const char *key, int32_t *outIndex, StbCompare compare);
int StbFindLinear(const Stb *block, const unsigned char *key, int32_t *outIndex, StbCompare compare);
int StbFindValue(const Stb *block, int32_t value, int32_t *outIndex);
// Sorting passes the block and the comparator through module variables: a comparator must not sort a block.
void StbSort(Stb *block);
void StbSortBy(Stb *block, StbCompare compare);
void StbRemoveDuplicates(Stb *block);

// File form: a 32-bit byte count (bytes used), then the block up to bytes used exactly as laid out.
int StbWrite(const Stb *block, int file);
Stb *StbRead(int file);

// Invariant check for tests and debug builds: the header, every slot and the string area agree.
int StbCheck(const Stb *block);
