// car: text ranges and text positions (prefixes Car, TextPos, and RangeSplitLines): the first and last line
// with the first and last column, the unit every line edit, copy and delete works on. Column DOC_COLUMN_END
// (4096) means the end of the line with its line break. Positions compare by one key, line x 4092 + column
// (TextPosKey), computed in 64 bits: in 32 bits it would overflow from line 524,800 on.
#pragma once

#include <cstdint>

struct FileBuffer;

enum { TEXT_POS_LINE_FACTOR = 4092 };

// The single number positions compare by. Column 4096 lies past column 4 of the next line: it is compared
// simply as a number.
inline int64_t TextPosKey(int32_t line, int32_t column) {
    return (int64_t)line * TEXT_POS_LINE_FACTOR + column;
}

// A position in a buffer, as the scanner and the parsers walk it.
struct TextPos {
    FileBuffer *doc;
    int32_t line;
    int32_t column;
    int32_t reserved; // 0
};
// n lines further, at column 0.
void TextPosNextLine(TextPos *pos, int32_t n);

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
// Lines into 0..last line (a first line past it gives the insertion point (last line, 0)); columns into
// their line: up to the stored length with the line end for a non-empty range, the text length for an
// insertion point; both 0 in a buffer without lines.
void CarClampToDoc(FileBuffer *doc, Car *range);
// Lines inserted (count > 0) or deleted (count < 0) at a line, the buffer's line count already changed. A
// range with an end in line..line + |count| (both inclusive) collapses to (line, 0); one below moves by count.
void CarAdjustForLines(Car *range, FileBuffer *doc, int32_t line, int32_t count);
// The part of the range on lines from..to, normalised, into out (cleared when none): a first line cut off
// starts at column 0, a last line cut off ends past its text. 1 when the part is not empty.
int CarIntersectLines(FileBuffer *doc, const Car *range, int32_t from, int32_t to, Car *out);
bool CarReachesDocEnd(FileBuffer *doc, const Car *range);
bool CarOverlapsLines(const Car *range, int32_t from, int32_t to);
void RangeSplitLines(FileBuffer *doc, const Car *range, RangeParts *out);
