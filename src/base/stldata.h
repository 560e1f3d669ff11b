// stldata: data items of a string list (prefix StlData): the value, the string, then a block of the caller's
// bytes. The block's size is the item's stored size less the string's n + 5.
#pragma once

#include "base/stl.h"

#include <cstdint>

int StlDataInsert(Stl *list, int32_t index, const unsigned char *pstr, int32_t value, const void *block,
                  int32_t blockSize);
int StlDataInsertSz(Stl *list, int32_t index, const char *sz, int32_t value, const void *block,
                    int32_t blockSize);
unsigned char *StlDataGet(const Stl *list, int32_t index, unsigned char *pstr, void *block);
int32_t StlDataSize(const Stl *list, int32_t index);
