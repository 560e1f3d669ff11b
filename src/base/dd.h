// dd: the name dictionary (prefix Dd), a string list mapping names to 32-bit values. With buckets it is found
// by hash, names compared ignoring ASCII case; without them it is kept sorted in identifier order and halved.
#pragma once

#include "base/stl.h"

#include <cstdint>

Stl *DdCreate(int32_t capacity, int32_t unused, int32_t buckets);
int DdAdd(Stl *dd, const char *name, const int32_t *value);
unsigned char *DdFind(Stl *dd, const char *name);
int DdLookup(Stl *dd, const char *name, int32_t *outValue);
