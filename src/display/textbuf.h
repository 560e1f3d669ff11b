// textbuf: a growable text buffer (prefix TextBuf) that the style sheet's CSS, the HTML of formatted lines
// and the HTML export append to: however much is written, nothing passes the end of the block. The text is
// always NUL-terminated. When memory runs out the buffer keeps what it holds, marks itself failed and ignores
// further appends, so a writer checks once at the end. Portable.
// Success convention of the display layer: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
#pragma once

#include <cstdint>

struct TextBuf {
    char *text;       // null until the first append; MemFree'd by TextBufFree
    int32_t length;   // characters, the NUL not counted
    int32_t capacity; // bytes of the block
    bool failed;      // an append did not fit in memory
};

void TextBufInit(TextBuf *buf);
void TextBufFree(TextBuf *buf);
// Empties the text, keeping the block; clears the failure.
void TextBufClear(TextBuf *buf);
// Room for at least n more characters; false (and failed) when it cannot be had.
bool TextBufReserve(TextBuf *buf, int32_t n);
// Appends; false when the buffer has failed (nothing appended then).
bool TextBufAppend(TextBuf *buf, const char *text, int32_t length);
bool TextBufAppendSz(TextBuf *buf, const char *text);
bool TextBufAppendChar(TextBuf *buf, char c);
bool TextBufPrintf(TextBuf *buf, const char *format, ...);
// The text, "" before the first append.
const char *TextBufText(const TextBuf *buf);
