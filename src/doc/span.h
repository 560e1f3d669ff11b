// span: span lists (prefix Span): the stretches of text a language object records while it scans a buffer
// (comments, strings, embedded languages), kept in the buffer's line lexer cache and moved along when lines
// are inserted or deleted. Each span keeps the keys of its two ends (line x 4092 + column, in 64 bits:
// TextPosKey), which finding a position compares.
#pragma once

#include <cstdint>

class Lang;
struct FileBuffer;
struct Plex;

// A span: its ends and their keys. In memory only; the list's elements may be larger (LangSpan).
struct Span {
    int32_t startLine;
    int32_t startColumn;
    int32_t endLine;
    int32_t endColumn;
    int32_t reserved; // 0
    int64_t startKey;
    int64_t endKey;
};

// The element of the lexer cache's span list: the span and the language that recorded it.
struct LangSpan {
    Span span;
    Lang *lang;
};

struct SpanList {
    FileBuffer *doc;
    Lang *lang;  // the buffer's language
    Plex *spans; // elements of at least sizeof(Span) bytes, in insertion order
};

// Elements of elementSize bytes (at least a Span); null when out of memory.
SpanList *SpanListCreate(FileBuffer *doc, Lang *lang, int32_t elementSize);
void SpanListFree(SpanList *list);
void SpanListClear(SpanList *list);
// Appends a copy of one element (the list's element size), its keys computed from its ends: its index, -1
// when out of memory.
int32_t SpanListAdd(SpanList *list, const Span *span);
int32_t SpanListCount(const SpanList *list);
Span *SpanListAt(const SpanList *list, int32_t i);
// The first span, in insertion order, with start key <= key < end key; null for (0, 0) and when none.
Span *SpanListFind(const SpanList *list, int32_t line, int32_t column);
// A change notice: lines inserted (kind 1) move the ends at or below them down; lines deleted (kind 2) move
// them up, or clear the list when every line goes; the whole buffer (kind 4) clears it.
void SpanListOnChange(SpanList *list, int kind, int32_t first, int32_t last);
int64_t SpanLength(const Span *span);
