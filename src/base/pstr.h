// pstr: length-prefixed strings (prefix Pstr): one length byte and at most 255 characters, no NUL. The
// small helpers PstrFromSz, PstrFromSzMax and PstrEqual are in utilil.h.
#pragma once

#include "base/heap.h"

unsigned char *PstrFromSzInPlace(char *s);    // both cut at 255 characters
unsigned char *PstrFromSzInPlaceCut(char *s); //
unsigned char *PstrAppend(const unsigned char *src, unsigned char *dst);
int PstrAppendMax(const unsigned char *src, unsigned char *dst, int max); // 1 when all of src fitted, 0 cut
Handle *PstrHandleFromSz(const char *s);
Handle *PstrHandleDup(const unsigned char *pstr);
Handle *PstrHandleFromSzNul(const char *s);
bool PstrHasPrefixSz(const unsigned char *pstr, const char *s);
