// sel: selections (prefix Sel, and PosInRange): a text range bound to its file buffer, either a stream
// selection (from a position to a position) or a column selection (a rectangle of lines between two
// horizontal pixel positions of one source window, which measures each line's columns with its font and
// tabs). Whole lines run from column 0 to column 4096. A selection is one heap block (MemAlloc) that whoever
// made it frees with MemFree. Positions compare by TextPosKey (doc/car.h), in 64 bits.
#pragma once

#include "doc/car.h"
#include "doc/sln.h"

#include <cstdint>

struct FileBuffer;

enum : uint32_t {
    SEL_COLUMN = 0x1,   // a column selection
    SEL_NEW_LINE = 0x2, // pending new line: the next typing or paste first inserts an indented line here
};

struct Sel {
    FileBuffer *doc;
    uint32_t flags; // SEL_*
    Car range;      // for a column selection only its lines count (its columns read as 0 and 4096)
    void *window;   // column selection: the source window that measures its columns
    int32_t leftX;  // column selection: left and right edges in that window's pixels
    int32_t rightX;
};

// Making. Null when memory runs out.
Sel *SelAlloc(FileBuffer *doc);
Sel *SelNew(FileBuffer *doc, int32_t firstLine, int32_t firstColumn, int32_t lastLine, int32_t lastColumn);
Sel *SelNewAt(FileBuffer *doc, int32_t line, int32_t column);
Sel *SelNewFromRange(FileBuffer *doc, const Car *range);
// The whole text: to the stored end of the last line (its line end included) when the buffer ends with a
// line break, else to its text's end; (0, 0, 0, 0) for a buffer without lines.
Sel *SelNewWholeDoc(FileBuffer *doc);
Sel *SelDuplicate(const Sel *sel);

// Setting.
void SelCopy(const Sel *from, Sel *to);
void SelCopyRange(const Sel *from, Sel *to);
void SelSet(Sel *sel, int32_t firstLine, int32_t firstColumn, int32_t lastLine, int32_t lastColumn);
void SelSetRange(Sel *sel, const Car *range);
void SelSetAt(Sel *sel, int32_t line, int32_t column);
void SelCollapseToStart(Sel *sel);
void SelSetColumn(Sel *sel, int32_t firstLine, int32_t leftX, int32_t lastLine, int32_t rightX, void *window);
void SelClear(Sel *sel);
// Moves the selection to start at (line, column); the last column moves along only on a one-line range.
// With toLineEnd the last column then becomes 4096.
void SelMoveTo(Sel *sel, int32_t line, int32_t column, bool toLineEnd);
void SelNormalize(Sel *sel);
void SelClampToDoc(Sel *sel);
void SelAdjustForLines(Sel *sel, int32_t line, int32_t count);
void SelShiftColumnX(Sel *sel, int32_t dx);

// Reading. SelGetRange writes columns 0 and 4096 into a column selection's own range first.
void SelGetRange(Sel *sel, Car *out);
int32_t SelFirstLine(const Sel *sel);
int32_t SelLastLine(const Sel *sel);
uint64_t SelStartPos(const Sel *sel); // first line in the low half, first column in the high half
void *SelWindow(const Sel *sel);      // a column selection's window, else the buffer's latest window
// The part on lines from..to as a new selection (a column selection keeps its window and edges); null when
// nothing is left or memory runs out.
Sel *SelClipToLines(const Sel *sel, int32_t from, int32_t to);
bool SelIsEmpty(const Sel *sel);
bool SelCoversWholeLines(const Sel *sel);
bool SelSpansWholeLines(const Sel *sel);
bool SelEndsAtLineEnd(const Sel *sel);
bool SelEndsAtDocLineEnd(const Sel *sel);
bool SelContainsPos(const Sel *sel, int32_t line, int32_t column);
// The lines the commands that work on whole lines take from a selection: first to last, where a selection
// ending at the start of a line below its first does not take that line; within the buffer.
void SelLineSpan(const Sel *sel, int32_t *first, int32_t *last);
bool PosInRange(int32_t line, int32_t column, int32_t firstLine, int32_t firstColumn, int32_t lastLine,
                int32_t lastColumn);

// Stored bytes. A column past a line's text counts up to the line's stored end (its line end included).
void SelFromOffset(Sel *out, FileBuffer *doc, int32_t line, int32_t column, int64_t byteCount);
int64_t SelByteLength(const Sel *sel);

// Calls back once per line in line order with the line and its columns [from, to): for a stream selection
// the parts of RangeSplitLines, for a column selection every line's columns at the two edges. Stops at the
// first callback that answers 0 and answers 0; 1 when every one answered nonzero.
typedef int (*SelLineProc)(Sel *sel, void *arg, int32_t line, LineRecord *record, int32_t from, int32_t to);
int SelForEachLine(Sel *sel, void *arg, SelLineProc proc);

// Editing, each inside one edit of the buffer: 1 on success, 0 when the edit was refused or failed.
// SelDeleteText leaves the selection at the insertion point where the text was; SelCopyTextTo replaces the
// target's text by the source's (as a column block when the source is one).
int SelDeleteText(Sel *sel);
int SelCopyTextTo(Sel *source, Sel *target);
