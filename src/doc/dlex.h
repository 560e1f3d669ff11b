// dlex: the line lexer cache of a file buffer (prefix LexCache): the lexer state at the start of every line
// and the range of lines whose states are known to be valid, so that the language layer can start from the
// nearest valid line. Least form: the record, its life and the change notice's truncation of the valid range;
// the states themselves, the span list and the look-back over open constructs come with the language layer.
#pragma once

#include "base/plex.h"

#include <cstdint>

class Lang;
struct FileBuffer;

struct LineLexCache {
    void *pscratch;    // freed with the cache
    FileBuffer *pdoc;  //
    Lang *plang;       // the language the states belong to
    int32_t langStamp; // -1 at creation
    int32_t lnValidFirst;
    int32_t lnValidLim;
    Plex *hplexState; // 4-byte entries, one per line; made when first needed
    int32_t cSuspend; // changes are ignored while above 0
    void *pspans;     // span list, owned
};

LineLexCache *LexCacheNew(FileBuffer *doc, Lang *lang);
void LexCacheDelete(LineLexCache *cache);
void LexCacheTruncate(LineLexCache *cache, int32_t line);
void LexCacheOnChange(LineLexCache *cache, int type, int32_t first, int32_t last);
void LexCacheShift(LineLexCache *cache, int32_t line, int32_t delta);
void LexCacheReset(LineLexCache *cache);
void LexCacheRebind(LineLexCache *cache, FileBuffer *doc);
int32_t LexCacheSuspend(LineLexCache *cache);
int32_t LexCacheResume(LineLexCache *cache);
int32_t LexCacheGetStamp(const LineLexCache *cache);
void LexCacheSetStamp(LineLexCache *cache, int32_t stamp);
