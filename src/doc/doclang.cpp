// doclang: language binding of file buffers (prefix Doc). The language object's operations are reached
// through the language layer's hook table (doc/dochook.h); until that layer registers, language 0 "None"
// answers: no comments, no states, nothing to parse.
#include "doc/doclang.h"

#include "doc/docfetch.h"
#include "doc/dochook.h"
#include "doc/dta.h"

enum { LANG_FAMILY_C = 1 };

void DocSetLang(FileBuffer *doc, int32_t index) {
    doc->ilang = index;
    doc->plang = DocLang().getLang(index);
    doc->flags &= ~(DOC_MACRO_LANG | DOC_TOKEN_MACRO_LANG);
    if (index == LANG_MACRO) doc->flags |= DOC_MACRO_LANG;
    if (index == LANG_TOKEN_MACRO) doc->flags |= DOC_TOKEN_MACRO_LANG;
}

static void DocNoteCacheReplaced(FileBuffer *doc, LineLexCache *old, LineLexCache *cache) {
    if (old || cache) DocDisplay().swLexCacheReplaced(doc, old, cache);
    DocLang().lexCacheReplaced(doc, old, cache);
}

void DocSetLexCache(FileBuffer *doc, LineLexCache *cache) {
    LineLexCache *old = doc->plexcache;
    doc->plexcache = cache;
    DocNoteCacheReplaced(doc, old, cache);
    LexCacheDelete(old);
}

void DocSwapLexCache(FileBuffer *doc, LineLexCache *cache, LineLexCache **outOld, bool fNotify) {
    LineLexCache *old = doc->plexcache;
    doc->plexcache = cache;
    if (outOld) *outOld = old;
    if (fNotify) DocNoteCacheReplaced(doc, old, cache);
}

LineLexCache *DocGetLexCache(const FileBuffer *doc) {
    return doc->plexcache;
}

LineLexCache *DocSyncedLexCache(FileBuffer *doc) {
    return doc->plexcache && LexCacheSync(doc->plexcache) ? doc->plexcache : nullptr;
}

void DocResetLexCache(FileBuffer *doc) {
    if (doc->plexcache) LexCacheReset(doc->plexcache);
}

void DocLexOnChange(FileBuffer *doc, int type, int32_t first, int32_t last) {
    LexCacheOnChange(doc->plexcache, type, first, last);
    if (doc->ptgl) DocSymbol().tglSetDirtyMark(doc->ptgl, 0);
}

void DocLexShift(FileBuffer *doc, int32_t line, int32_t delta) {
    if (doc->plexcache) LexCacheShift(doc->plexcache, line, delta);
}

bool DocLineSkipped(const FileBuffer *doc, int32_t line) {
    return doc->plexcache && LexCacheLineSkipped(doc->plexcache, line);
}

bool DocLineRegionStart(const FileBuffer *doc, int32_t line) {
    return doc->plexcache && LexCacheLineRegionStart(doc->plexcache, line);
}

// A new cache for the buffer's language, given the old cache's stamp; when none can be made the old cache
// stays, rebound to the buffer.
static void DocRenewLexCache(FileBuffer *doc, int32_t stamp) {
    LineLexCache *cache = LexCacheNew(doc, doc->plang);
    if (cache) {
        DocSetLexCache(doc, cache);
        LexCacheSetStamp(cache, stamp);
    } else if (doc->plexcache) {
        LexCacheRebind(doc->plexcache, doc);
    }
}

bool DocBindType(FileBuffer *doc, int32_t type) {
    int32_t oldLang = doc->ilang;
    int32_t oldStamp = doc->dtaStamp;
    int32_t oldCacheStamp = doc->plexcache ? LexCacheGetStamp(doc->plexcache) : -1;
    DocSetLang(doc, DtaTypeLanguage(type));
    doc->idta = type;
    doc->dtaStamp = DtaTypeStamp(type);
    DocRenewLexCache(doc, oldCacheStamp);
    return doc->ilang != oldLang || doc->dtaStamp != oldStamp ||
           oldCacheStamp != DocLang().langGetVersion(doc->ilang);
}

void DocAttachLang(FileBuffer *doc) {
    int32_t oldLang = doc->ilang;
    DocSetLang(doc, DtaTypeLanguage(doc->idta));
    if (doc->ilang == oldLang && doc->plexcache && doc->plexcache->plang == doc->plang) return;
    DocRenewLexCache(doc, -1);
    DocLang().markDocForReparse(doc);
}

void DocReattachAllLangs() {
    for (FileBuffer *doc = nullptr; DocIterNext(&doc);) DocAttachLang(doc);
}

// ---- Questions to the language object ----

int32_t DocLangAtLine(FileBuffer *doc, int32_t line) {
    return DocLang().getLangIndexAt(doc->plang, doc, line, 0);
}

int32_t DocLangAt(FileBuffer *doc, int32_t line, int32_t column) {
    return DocLang().getLangIndexAt(doc->plang, doc, line, column);
}

Lang *DocLangObjAt(FileBuffer *doc, int32_t line, int32_t column) {
    return DocLang().getLang(DocLangAt(doc, line, column));
}

int32_t DocTypeInEffectAt(FileBuffer *doc, int32_t line, int32_t column) {
    int32_t lang = DocLangAt(doc, line, column);
    if (lang == doc->ilang) return doc->idta;
    for (int32_t type = 0; type < DtaCount(); type++)
        if (DtaTypeLanguage(type) == lang) return type;
    return doc->idta;
}

bool DocTypeFlag22At(FileBuffer *doc, int32_t line, int32_t column) {
    DtaOptions options;
    DtaGetOptions(DocTypeInEffectAt(doc, line, column), &options);
    return (options.flags & DTA_AUTO_COMPLETE) != 0;
}

bool DocIsInComment(FileBuffer *doc, int32_t line, int32_t column) {
    return DocLang().isInComment(doc->plang, doc, line, column);
}

int DocLexStateAtLine(FileBuffer *doc, int32_t line, uint32_t *out) {
    return DocLang().getLexStateAt(doc->plang, doc, line, 0, out);
}

int DocLexStateAt(FileBuffer *doc, int32_t line, int32_t column, uint32_t *out) {
    return DocLang().getLexStateAt(doc->plang, doc, line, column, out);
}

int DocBeginLineScan(FileBuffer *doc, int32_t first, int o1, int o2, int o3, int o4, LangScan **out) {
    return DocLang().beginLineScan(doc->plang, doc, first, o1, o2, o3, o4, LANG_SCAN_KIND, out);
}

int DocNextScanLine(FileBuffer *doc, LineRecord *record, int32_t *line, LangScan *scan) {
    return DocLang().nextScanLine(doc->plang, doc, record, line, scan);
}

int DocParseAll(FileBuffer *doc, void *output, int flags) {
    TextPos start = {doc, 0, 0, 0}, end = {doc, 0, 0, 0};
    DocEndPos(doc, &end.line, &end.column);
    return DocLang().parseDriver(doc->plang, output, doc, &start, &end, flags);
}

int DocParseWithPatterns(FileBuffer *doc, void *output, int flags) {
    char pattern[256] = "";
    DtaGetType(doc->idta, nullptr, nullptr, nullptr, pattern, nullptr);
    return DocLang().parsePatterns(doc->plang, output, doc, 0, doc->lnMac, flags, pattern,
                                   DtaTypeTagType(doc->idta));
}

int32_t LangFamily(int32_t index) {
    return index == LANG_CPP || index == LANG_RESOURCE || index == LANG_IDL ? LANG_FAMILY_C : index;
}

void InvalidateDocsOfLang(int32_t index) {
    int32_t family = LangFamily(index);
    for (FileBuffer *doc = nullptr; DocIterNext(&doc);) {
        if ((doc->flags & (DOC_CLIP | DOC_SYSTEM)) || LangFamily(doc->ilang) != family) continue;
        if (doc->ptgl) DocSymbol().tglSetDirtyMark(doc->ptgl, 0);
        if (index >= LANG_USER_FIRST) DocResetLexCache(doc);
    }
}
