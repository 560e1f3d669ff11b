// dlex: the line lexer cache of a file buffer (prefix LexCache): the lexer state at the start of every line
// (one 32-bit entry per line: the state in the low 16 bits, line flags of the language's scanners in the
// high 16) and the range of lines whose states are known to be valid, so that the language layer starts from
// the nearest valid line instead of line 0. The change notice keeps as many states valid as it safely can:
// only the states after the change, or after an open construct (range nesting or parentheses) at most 30
// lines above it, become invalid. The cache also owns the buffer's span list (doc/span.h).
// The language layer uses it thus: start from LexCacheNearestValid(line), or from line 0 with the initial
// state when -1; scan forward line by line, skipping lines flagged LEX_LINE_SKIPPED; after each line store
// the outgoing state as the next line's (LexCacheSetState).
#pragma once

#include "base/plex.h"

#include <cstdint>

class Lang;
struct FileBuffer;
struct SpanList;

// The high 16 bits of an entry: flags the language's scanners set.
enum : uint32_t {
    LEX_LINE_REGION = 0x10000,     // bit 0: the line starts a region (the formatter asks, unless bit 3)
    LEX_LINE_SKIPPED = 0x20000,    // bit 1: the lexer skips the line: not code
    LEX_LINE_NOT_REGION = 0x80000, // bit 3
    LEX_STATE_MASK = 0xFFFF,
    // State bits of an open construct: range nesting (4-6) and parenthesis depths (10-12).
    LEX_STATE_OPEN = 0x70 | 0x1C00,
};

enum { LEX_LOOK_BACK = 30 }; // lines of open constructs looked back over before the whole cache goes

// One per buffer, owned by FileBuffer::plexcache. In memory only.
struct LineLexCache {
    void *pscratch;    // freed with the cache
    FileBuffer *pdoc;  //
    Lang *plang;       // the language the states belong to
    int32_t langStamp; // the language's change counter when the states were made; -1 at creation
    int32_t lnValidFirst;
    int32_t lnValidLim; // one past the last valid line
    Plex *hplexState;   // 4-byte entries, one per line
    int32_t cSuspend;   // changes are ignored and updates refused while above 0
    SpanList *pspans;   // the buffer's span list, owned
};

// A cache for the buffer's lines, every entry 0 and none valid; null (nothing left made) when out of memory.
LineLexCache *LexCacheNew(FileBuffer *doc, Lang *lang);
void LexCacheDelete(LineLexCache *cache);
// The entries follow the buffer's line count (new ones 0; excess ones go as a deletion would take them).
// Nonzero when there are entries; 0 while suspended.
int LexCacheSync(LineLexCache *cache);
// A line's entry or its state; 0 past the end (answering 0).
int LexCacheGetEntry(const LineLexCache *cache, int32_t line, uint32_t *out);
int LexCacheGetState(const LineLexCache *cache, int32_t line, uint32_t *out);
uint32_t *LexCacheEntry(LineLexCache *cache, int32_t line); // null past the end
// Stores a state and widens the valid range by the line: 1, or 0 when suspended or no entry can be had.
int LexCacheSetState(LineLexCache *cache, int32_t line, uint32_t state);
void LexCacheTruncate(LineLexCache *cache, int32_t line);
// The line itself when valid; the last valid line when the line lies past a non-empty range; else -1 (and
// always -1 while "NoLineLexCache" is set).
int32_t LexCacheNearestValid(const LineLexCache *cache, int32_t line);
void LexCacheOnChange(LineLexCache *cache, int type, int32_t first, int32_t last);
void LexCacheShift(LineLexCache *cache, int32_t line, int32_t delta);
void LexCacheReset(LineLexCache *cache);
void LexCacheRebind(LineLexCache *cache, FileBuffer *doc);
int32_t LexCacheSuspend(LineLexCache *cache);
int32_t LexCacheResume(LineLexCache *cache);
int32_t LexCacheGetStamp(const LineLexCache *cache);
void LexCacheSetStamp(LineLexCache *cache, int32_t stamp);
bool LexCacheLineSkipped(const LineLexCache *cache, int32_t line);
bool LexCacheLineRegionStart(const LineLexCache *cache, int32_t line);

// The tuning switch "NoLineLexCache" of the program's settings, read once; forgetting it reads it again.
bool LexCacheDisabled();
void LexCacheForgetSwitch();
