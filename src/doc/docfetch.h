// docfetch: the line store of file buffers and the line fetch (prefixes Doc, ScratchFile, GetLine*). A
// buffer's text is never held whole in memory and never rewritten in place: its run table (doc/rgl.h) says
// where each stretch of lines lies in an open file (the buffer's own file, the one scratch file of the run,
// or another buffer's file), and a 16-bit length per line gives each line's stored length with its line end.
// A changed or inserted line is appended to the scratch file. Reading a line is a seek and a read through
// the file layer, helped by a one-line position cache, since lines are mostly read in order.
// Lengths: a line of 65,535 bytes or more (only in files whose lines end with CR, or have no line ends, where
// LF bytes are ordinary) is recorded as 65,535; such a line is always the only line of its run, and its
// exact length is kept in the long-line table under its file and offset, so every offset stays exact.
#pragma once

#include "doc/doc.h"
#include "doc/rgl.h"
#include "doc/sln.h"

#include <cstdint>

enum : int32_t {
    DOC_LINES_LIMIT = 0x7FFFFFF6, // line counts stay below this
    DOC_LINE_LONG = 65535,        // the length entry of a line of 65,535 bytes or more
    DOC_LINE_SHORT_MAX = 250,     // GetLineShort's cut
    DOC_COLUMN_END = 4096,        // a column meaning the end of the line
};

// The scratch file: created at start-up ("TFXXXXXX" in the temporary folder; failure sets the current error
// with "Cannot create Scratch File; ..." and answers 0). Only appended to; every line written with CR LF.
int ScratchFileCreate();
int ScratchFileNumber(); // -1 before start-up
void ScratchFileGetPath(char *out);
// At shutdown: the file is deleted unless kept (after Exit and Suspend, for recovery).
void ScratchFileClose(bool fKeep);
// Appends text and CR LF at the end: the offset written at, or -1 after a failed write. The file layer's
// error is then current, and the pending edit error carries it for the buffer.
int64_t ScratchFileAppend(FileBuffer *doc, const char *text, int32_t length);
// Copies bytes of another file to the end (a line's bytes and CR LF after them with ScratchFileCopyLine): the
// offset written at, or -1 with the file layer's error current.
int64_t ScratchFileCopy(int file, uint32_t offset, uint32_t length);
int64_t ScratchFileCopyLine(int file, uint32_t offset, uint32_t length);

// Line lengths.
uint16_t *DocLengths(const FileBuffer *doc);
uint32_t DocStoredLength(const FileBuffer *doc, int32_t line);  // exact, long lines included
int DocEnsureLines(FileBuffer *doc, int32_t n);                 // room for n more; errors 1 and 2
void DocShiftLengths(FileBuffer *doc, int32_t line, int32_t n); // n entries inserted at line; line count + n
void DocDropLengths(FileBuffer *doc, int32_t line, int32_t n);  // n entries removed; line count - n
int DocSetLengthCapacity(FileBuffer *doc, int32_t entries);     // exactly that many (at least one)

// Runs.
LineRun *DocGetRun(const FileBuffer *doc, int32_t i);
int32_t DocRunCount(const FileBuffer *doc);
uint32_t DocRunEnd(const FileBuffer *doc, int32_t i);
int32_t DocSplitRunAt(FileBuffer *doc, int32_t line); // the run that now starts at the line, -1 on failure
int DocMergeRun(FileBuffer *doc, int32_t i);          // 1 when run i was merged into run i - 1
int DocLineChangeKind(FileBuffer *doc, int32_t line, LineRun *outRun, int *outKind);
// Recovery: for every buffer with flag bit 24, each run's file number f becomes map[f] (mapCount entries).
void DocRemapFiles(const int *map, int32_t mapCount);

// The long-line table: exact lengths of lines of 65,535 bytes or more, by file and offset.
int DocLongLineAdd(int file, uint32_t offset, uint32_t length);
uint32_t DocLongLineLength(int file, uint32_t offset); // DOC_LINE_LONG when not known
void DocLongLinesDropFile(int file);
bool DocIsLongRun(const FileBuffer *doc, int32_t i);

// Store-level changes (the edit protocol of doc/docedit.h calls them inside an edit).
int DocStoreInsertLine(FileBuffer *doc, int32_t line, const char *text, int32_t length);
int DocStoreDeleteLines(FileBuffer *doc, int32_t line, int32_t n);

// Line fetch. Lines outside 0..line count - 1 read as empty.
void GetLine(FileBuffer *doc, int32_t line, LineRecord *out);
void GetLineShort(FileBuffer *doc, int32_t line, unsigned char *out); // length byte, at most 250 characters
// Columns [from, to) clamped to the line, as a C string (out holds LINE_TEXT_MAX + 1 bytes).
void GetLineSubstring(FileBuffer *doc, int32_t line, int32_t from, int32_t to, char *out);
int32_t GetLineLength(FileBuffer *doc, int32_t line); // characters without the line end
uint32_t DocLineRawLength(FileBuffer *doc, int32_t line);
int DocCharAt(FileBuffer *doc, int32_t line, int32_t column);
int32_t DocLastLine(const FileBuffer *doc);
// Reads stored bytes of a line (its line end included) from byte `from` on; the bytes read, -1 on failure.
int32_t DocReadStoredBytes(FileBuffer *doc, int32_t line, uint32_t from, char *buffer, int32_t length);
void DocResetFetchCache();

// Offsets, counting line ends as stored.
uint64_t DocOffsetOfLine(const FileBuffer *doc, int32_t line);
uint64_t DocByteSize(const FileBuffer *doc);
uint64_t DocOffsetOfPos(const FileBuffer *doc, int32_t line, int32_t column);
void DocPosOfOffset(const FileBuffer *doc, uint64_t offset, int32_t *outLine, int32_t *outColumn);
int64_t DocDistance(const FileBuffer *doc, int32_t line1, int32_t col1, int32_t line2, int32_t col2);
void DocEndPos(const FileBuffer *doc, int32_t *outLine, int32_t *outColumn);

// The typing line: one line held in memory while a typing run edits it.
int DocBeginLineEdit(FileBuffer *doc, int32_t line, LineRecord *out);
int32_t DocSetEditLine(const LineRecord *record, bool fNotify);
int DocFlushEditLine(FileBuffer *doc);
FileBuffer *DocEditLineBuffer();
int32_t DocEditLineNumber(); // the line it holds, -1 when none
void DocClearEditLine();
void DocEditLineShort(unsigned char *out);
// Lines inserted (delta > 0) or deleted at `line` move the typing line below them; deleting it ends it.
void DocEditLineOnShift(FileBuffer *doc, int32_t line, int32_t delta);

// Fetch statistics for tests and the benchmark: positionings of the fetch cache (a run looked up and walked
// to the line) and the lines walked over doing so, forwards and backwards.
struct DocFetchStats {
    uint32_t positions;
    uint32_t walkedForward;
    uint32_t walkedBack;
};
DocFetchStats DocFetchGetStats();
void DocFetchResetStats();

// Invariant check for tests: the run table's and the lengths' agreement with the line count, runs of long
// lines alone, the typing run.
int DocStoreCheck(const FileBuffer *doc);
