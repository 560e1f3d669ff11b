// strfile: blocks and strings inside files of other modules (HandleWrite/HandleRead, the counted and the
// long strings). Readers refuse what does not fit: a short read, or a length past the end of the file.
#pragma once

#include "base/heap.h"

// Blocks and strings in files: a 32-bit little-endian length, then the bytes (for a string, its NUL too).
int HandleWrite(int file, const Handle *h);
Handle *HandleRead(int file); // null on a short read or a length past the end of the file
int StrWriteCounted(const char *s, int file);
int StrReadCounted(char *buffer, int file, int max); // a longer stored string is cut at max, the rest skipped

// Long strings in files: a 32-bit length (characters + 1), then the characters and the NUL. A long string
// lives in a block of LONG_STR_SIZE bytes; longer ones are refused both ways.
enum { LONG_STR_SIZE = 2560 };
char *LongStrAlloc();
int StrWriteLong(const char *s, int file);
char *StrReadLong(int file); // null on a short read or a stored length outside 1..LONG_STR_SIZE
