// dlex: the line lexer cache (prefix LexCache). Globals: the "NoLineLexCache" switch, read once.
#include "doc/dlex.h"

#include "base/heap.h"
#include "base/os.h"
#include "base/utilil.h"
#include "doc/doc.h"
#include "doc/span.h"

enum { LEX_CHANGE_INSERTED = 1, LEX_CHANGE_DELETED = 2, LEX_CHANGE_ALL = 4, LEX_CHANGE_LINE = 5 };

static const char lexSwitchValue[] = "NoLineLexCache";
static int lexDisabled = -1; // -1 until read

bool LexCacheDisabled() {
    if (lexDisabled < 0) {
        int32_t value;
        lexDisabled = OsSettingGetInt(lexSwitchValue, &value) && value != 0;
    }
    return lexDisabled != 0;
}

void LexCacheForgetSwitch() {
    lexDisabled = -1;
}

static int32_t LexCacheLines(const LineLexCache *cache) {
    return cache->pdoc ? Max(cache->pdoc->lnMac, 0) : 0;
}

LineLexCache *LexCacheNew(FileBuffer *doc, Lang *lang) {
    LineLexCache *cache = (LineLexCache *)MemAlloc(sizeof(LineLexCache));
    if (!cache) return nullptr;
    cache->pdoc = doc;
    cache->plang = lang;
    cache->langStamp = -1;
    cache->pspans = SpanListCreate(doc, lang, (int32_t)sizeof(LangSpan));
    cache->hplexState = PlexCreate((int32_t)sizeof(uint32_t), 0, 0);
    if (!cache->pspans || !cache->hplexState ||
        (LexCacheLines(cache) && !PlexInsert(cache->hplexState, 0, LexCacheLines(cache), nullptr))) {
        LexCacheDelete(cache);
        return nullptr;
    }
    return cache;
}

void LexCacheDelete(LineLexCache *cache) {
    if (!cache) return;
    if (cache->hplexState) PlexFree(cache->hplexState);
    SpanListFree(cache->pspans);
    MemFree(cache->pscratch);
    MemFree(cache);
}

static int32_t LexCacheCount(const LineLexCache *cache) {
    return cache->hplexState ? PlexCount(cache->hplexState) : 0;
}

static uint32_t LexCacheRaw(const LineLexCache *cache, int32_t line) {
    return *(const uint32_t *)PlexElem(cache->hplexState, line);
}

int LexCacheSync(LineLexCache *cache) {
    if (cache->cSuspend > 0) return 0;
    int32_t count = LexCacheCount(cache), lines = LexCacheLines(cache);
    if (count < lines && !PlexInsert(cache->hplexState, count, lines - count, nullptr)) return count > 0;
    if (count > lines) LexCacheOnChange(cache, LEX_CHANGE_DELETED, lines, count - 1);
    return LexCacheCount(cache) > 0;
}

int LexCacheGetEntry(const LineLexCache *cache, int32_t line, uint32_t *out) {
    bool inside = line >= 0 && line < LexCacheCount(cache);
    *out = inside ? LexCacheRaw(cache, line) : 0;
    return inside;
}

int LexCacheGetState(const LineLexCache *cache, int32_t line, uint32_t *out) {
    int inside = LexCacheGetEntry(cache, line, out);
    *out &= LEX_STATE_MASK;
    return inside;
}

uint32_t *LexCacheEntry(LineLexCache *cache, int32_t line) {
    return line >= 0 && line < LexCacheCount(cache) ? (uint32_t *)PlexElem(cache->hplexState, line) : nullptr;
}

int LexCacheSetState(LineLexCache *cache, int32_t line, uint32_t state) {
    if (line < 0) return 0;
    if (line >= LexCacheCount(cache)) LexCacheSync(cache);
    if (line >= LexCacheCount(cache) || cache->cSuspend > 0) return 0;
    uint32_t *entry = LexCacheEntry(cache, line);
    *entry = (*entry & ~(uint32_t)LEX_STATE_MASK) | (state & LEX_STATE_MASK);
    if (line == cache->lnValidLim) {
        cache->lnValidLim++;
    } else if (cache->lnValidFirst == line + 1) {
        cache->lnValidFirst = line;
    } else if (line < cache->lnValidFirst || line >= cache->lnValidLim) {
        cache->lnValidFirst = line;
        cache->lnValidLim = line + 1;
    }
    return 1;
}

void LexCacheTruncate(LineLexCache *cache, int32_t line) {
    cache->lnValidFirst = Min(cache->lnValidFirst, line);
    cache->lnValidLim = Min(cache->lnValidLim, line);
}

int32_t LexCacheNearestValid(const LineLexCache *cache, int32_t line) {
    if (LexCacheDisabled()) return -1;
    if (line >= cache->lnValidFirst && line < cache->lnValidLim) return line;
    if (line >= cache->lnValidLim && cache->lnValidLim > cache->lnValidFirst) return cache->lnValidLim - 1;
    return -1;
}

void LexCacheReset(LineLexCache *cache) {
    cache->lnValidFirst = cache->lnValidLim = 0;
    if (cache->hplexState) PlexClear(cache->hplexState);
    if (cache->pspans) SpanListClear(cache->pspans);
}

// An open construct at the changed line may reach back: the valid range ends at the nearest line above it
// that opens nothing. 1 when the cache was reset instead (more than LEX_LOOK_BACK such lines).
static bool LexCacheLookBack(LineLexCache *cache, int32_t first) {
    if (first >= LexCacheCount(cache) || !(LexCacheRaw(cache, first) & LEX_STATE_OPEN)) return false;
    int32_t line = first - 1, open = 0;
    for (; line >= 0 && (LexCacheRaw(cache, line) & LEX_STATE_OPEN); line--)
        if (++open > LEX_LOOK_BACK) {
            LexCacheReset(cache);
            return true;
        }
    LexCacheTruncate(cache, Max(line, 0));
    return false;
}

static void LexCacheInserted(LineLexCache *cache, int32_t first, int32_t last) {
    int32_t n = last - first + 1;
    uint32_t *added = n > 0 ? (uint32_t *)PlexInsert(cache->hplexState, first, n, nullptr) : nullptr;
    if (!added) {
        LexCacheReset(cache);
        return;
    }
    if (first > 0) {
        uint32_t above = LexCacheRaw(cache, first - 1);
        for (int32_t i = 0; i < n; i++) LexCacheEntry(cache, first + i)[0] = above;
    }
    LexCacheTruncate(cache, first);
}

static void LexCacheDeleted(LineLexCache *cache, int32_t first, int32_t last) {
    if (first >= LexCacheCount(cache) || last >= LexCacheCount(cache) || last < first) {
        LexCacheReset(cache);
        return;
    }
    PlexDelete(cache->hplexState, first, last - first + 1);
    LexCacheTruncate(cache, first);
}

void LexCacheOnChange(LineLexCache *cache, int type, int32_t first, int32_t last) {
    if (!cache || cache->cSuspend > 0) return;
    SpanListOnChange(cache->pspans, type, first, last);
    if (LexCacheCount(cache) == 0 || LexCacheCount(cache) < first) return;
    bool edit = type == LEX_CHANGE_INSERTED || type == LEX_CHANGE_DELETED || type == LEX_CHANGE_LINE;
    if (edit && LexCacheLookBack(cache, first)) return;
    switch (type) {
    case LEX_CHANGE_INSERTED: LexCacheInserted(cache, first, last); break;
    case LEX_CHANGE_DELETED: LexCacheDeleted(cache, first, last); break;
    case LEX_CHANGE_LINE: LexCacheTruncate(cache, first); break;
    case LEX_CHANGE_ALL: LexCacheReset(cache); break;
    default: break;
    }
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

bool LexCacheLineSkipped(const LineLexCache *cache, int32_t line) {
    uint32_t entry;
    LexCacheGetEntry(cache, line, &entry);
    return (entry & LEX_LINE_SKIPPED) != 0;
}

bool LexCacheLineRegionStart(const LineLexCache *cache, int32_t line) {
    uint32_t entry;
    LexCacheGetEntry(cache, line, &entry);
    return (entry & (LEX_LINE_REGION | LEX_LINE_NOT_REGION)) == LEX_LINE_REGION;
}
