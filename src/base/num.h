// num: integer arithmetic without overflow (prefix Num, and BitLength).
#pragma once

#include <cstdint>

int32_t NumMulDiv(int32_t a, int32_t b,
                  int32_t c); // a x b / c exact in 64 bits, saturated; c = 0 gives INT_MAX
int32_t NumDivRound(int32_t a, int32_t b);
int32_t NumDivCeil(int32_t a, int32_t b);
int32_t NumPercentOf(int32_t part, int32_t whole);
int BitLength(uint32_t v);
