// doclang: language binding of file buffers (prefix Doc), least form.
#include "doc/doclang.h"

#include "doc/dochook.h"
#include "doc/dta.h"

void DocSetLang(FileBuffer *doc, int32_t index) {
    doc->ilang = index;
    doc->plang = DocLang().getLang(index);
    doc->flags &= ~(DOC_MACRO_LANG | DOC_TOKEN_MACRO_LANG);
    if (index == LANG_MACRO) doc->flags |= DOC_MACRO_LANG;
    if (index == LANG_TOKEN_MACRO) doc->flags |= DOC_TOKEN_MACRO_LANG;
}

void DocSetLexCache(FileBuffer *doc, LineLexCache *cache) {
    LineLexCache *old = doc->plexcache;
    doc->plexcache = cache;
    if (old || cache) DocDisplay().swLexCacheReplaced(doc, old, cache);
    DocLang().lexCacheReplaced(doc, old, cache);
    LexCacheDelete(old);
}

LineLexCache *DocGetLexCache(const FileBuffer *doc) {
    return doc->plexcache;
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

// The old language, type stamp and cache stamp decide whether the buffer must be parsed again.
bool DocBindType(FileBuffer *doc, int32_t type) {
    int32_t oldLang = doc->ilang;
    int32_t oldStamp = doc->dtaStamp;
    int32_t oldCacheStamp = doc->plexcache ? LexCacheGetStamp(doc->plexcache) : -1;
    DocSetLang(doc, DtaTypeLanguage(type));
    doc->idta = type;
    doc->dtaStamp = DtaTypeStamp(type);
    LineLexCache *cache = LexCacheNew(doc, doc->plang);
    if (cache) {
        DocSetLexCache(doc, cache);
        LexCacheSetStamp(cache, oldCacheStamp);
    } else if (doc->plexcache) {
        LexCacheRebind(doc->plexcache, doc);
    }
    return doc->ilang != oldLang || doc->dtaStamp != oldStamp ||
           oldCacheStamp != DocLang().langGetVersion(doc->ilang);
}

void DocAttachLang(FileBuffer *doc) {
    DocSetLang(doc, DtaTypeLanguage(doc->idta));
}
