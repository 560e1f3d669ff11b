// dlex: the line lexer cache (prefix LexCache), least form.
#include "doc/dlex.h"

#include "base/heap.h"
#include "base/utilil.h"

enum { LEX_CHANGE_INSERTED = 1, LEX_CHANGE_DELETED = 2, LEX_CHANGE_ALL = 4, LEX_CHANGE_LINE = 5 };

LineLexCache *LexCacheNew(FileBuffer *doc, Lang *lang) {
    LineLexCache *cache = (LineLexCache *)MemAlloc(sizeof(LineLexCache));
    if (!cache) return nullptr;
    cache->pdoc = doc;
    cache->plang = lang;
    cache->langStamp = -1;
    return cache;
}

void LexCacheDelete(LineLexCache *cache) {
    if (!cache) return;
    if (cache->hplexState) PlexFree(cache->hplexState);
    MemFree(cache->pscratch);
    MemFree(cache);
}

void LexCacheTruncate(LineLexCache *cache, int32_t line) {
    cache->lnValidFirst = Min(cache->lnValidFirst, line);
    cache->lnValidLim = Min(cache->lnValidLim, line);
}

void LexCacheReset(LineLexCache *cache) {
    cache->lnValidFirst = cache->lnValidLim = 0;
    if (cache->hplexState) PlexClear(cache->hplexState);
}

void LexCacheOnChange(LineLexCache *cache, int type, int32_t first, int32_t) {
    if (!cache || cache->cSuspend > 0) return;
    if (type == LEX_CHANGE_ALL)
        LexCacheReset(cache);
    else if (type == LEX_CHANGE_INSERTED || type == LEX_CHANGE_DELETED || type == LEX_CHANGE_LINE)
        LexCacheTruncate(cache, first);
}

void LexCacheShift(LineLexCache *, int32_t, int32_t) {}

void LexCacheRebind(LineLexCache *cache, FileBuffer *doc) {
    cache->pdoc = doc;
    LexCacheReset(cache);
}

int32_t LexCacheSuspend(LineLexCache *cache) {
    return ++cache->cSuspend;
}

int32_t LexCacheResume(LineLexCache *cache) {
    return --cache->cSuspend;
}

int32_t LexCacheGetStamp(const LineLexCache *cache) {
    return cache->langStamp;
}

void LexCacheSetStamp(LineLexCache *cache, int32_t stamp) {
    cache->langStamp = stamp;
}
