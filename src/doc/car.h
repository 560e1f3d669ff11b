// car: text ranges (prefix Car, and RangeSplitLines): the first and last line with the first and last
// column, the unit every line edit, copy and delete works on. Column DOC_COLUMN_END (4096) means the end of
// the line with its line break. Positions compare as line x 4092 + column.
#pragma once

#include <cstdint>

struct FileBuffer;

// Five signed 32-bit words, copied by value.
struct Car {
    int32_t firstLine;
    int32_t lastLine;
    int32_t firstColumn;
    int32_t lastColumn; // exclusive; 4096: to the end of the line and across its line break
    int32_t nonEmpty;   // 0 for an insertion point, recomputed by every setter
};
static_assert(sizeof(Car) == 20, "a text range is five 32-bit words");

// The parts of a range by line (seven words); a missing part has line -1.
struct RangeParts {
    int32_t firstLine; // partial first line: from column .. to column
    int32_t firstFrom;
    int32_t firstTo;
    int32_t wholeFirst; // whole lines: first line, count
    int32_t wholeCount;
    int32_t lastLine; // partial last line: 0 .. to column
    int32_t lastTo;
};
static_assert(sizeof(RangeParts) == 28, "the line parts of a range are seven 32-bit words");

void CarSet(Car *range, int32_t firstLine, int32_t firstColumn, int32_t lastLine, int32_t lastColumn);
void CarClear(Car *range);
// Only for a non-empty range: a last column 0 below the first line moves up to the end of the line before;
// a first column past the first line's text moves down to the start of the next line.
void CarNormalize(FileBuffer *doc, Car *range);
void RangeSplitLines(FileBuffer *doc, const Car *range, RangeParts *out);
