// doclang: a file buffer's binding to its language and lexer cache (prefix Doc...Lang/Lex, LangFamily): the
// language index and object, the macro-language and token-macro flags, the cache's life and its part of the
// change notice, and the buffer-level questions to the language object (the language at a position,
// comments, lexer states, line scans, parses). A buffer holds its language object; it never owns it.
#pragma once

#include "doc/car.h"
#include "doc/dlex.h"
#include "doc/doc.h"
#include "doc/sln.h"

#include <cstdint>

struct LangScan;

enum {
    LANG_NONE = 0,
    LANG_CPP = 3,
    LANG_MACRO = 4,
    LANG_RESOURCE = 6,
    LANG_TOKEN_MACRO = 11,
    LANG_IDL = 12,
    LANG_USER_FIRST = 20, // user-defined languages from here on
    LANG_SCAN_KIND = 32,  // the scan kind of a buffer's line scans
};

// The index and its object; flag bit 7 exactly for the macro language, bit 21 for the token-macro one.
void DocSetLang(FileBuffer *doc, int32_t index);
// Installs a new cache, telling the source windows and the parse layer (old, new), and deletes the old one.
void DocSetLexCache(FileBuffer *doc, LineLexCache *cache);
// Installs a cache without deleting the old one, which is handed back (the parse layer told when asked).
void DocSwapLexCache(FileBuffer *doc, LineLexCache *cache, LineLexCache **outOld, bool fNotify);
LineLexCache *DocGetLexCache(const FileBuffer *doc);
// The cache brought to the buffer's line count, or null when it has no entries.
LineLexCache *DocSyncedLexCache(FileBuffer *doc);
void DocResetLexCache(FileBuffer *doc);
// The cache's part of a change notice; the tag list's dirty mark goes back to 0.
void DocLexOnChange(FileBuffer *doc, int type, int32_t first, int32_t last);
void DocLexShift(FileBuffer *doc, int32_t line, int32_t delta);
bool DocLineSkipped(const FileBuffer *doc, int32_t line);
bool DocLineRegionStart(const FileBuffer *doc, int32_t line);

// The language side of choosing a document type: the type's language and a new cache for it (the old cache
// kept, rebound, when no new one can be made). True when the buffer must be parsed again: the language,
// the type's stamp or the language's change counter moved.
bool DocBindType(FileBuffer *doc, int32_t type);
// The language of the buffer's type again (the configuration load); a new language gets a new cache and a
// new parse.
void DocAttachLang(FileBuffer *doc);
void DocReattachAllLangs();

// Questions to the buffer's language object.
int32_t DocLangAtLine(FileBuffer *doc, int32_t line);
int32_t DocLangAt(FileBuffer *doc, int32_t line, int32_t column);
Lang *DocLangObjAt(FileBuffer *doc, int32_t line, int32_t column);
// The document type of the language in effect at a position when it is not the buffer's own and a type has
// it; else the buffer's type.
int32_t DocTypeInEffectAt(FileBuffer *doc, int32_t line, int32_t column);
bool DocTypeFlag22At(FileBuffer *doc, int32_t line, int32_t column);
bool DocIsInComment(FileBuffer *doc, int32_t line, int32_t column);
int DocLexStateAtLine(FileBuffer *doc, int32_t line, uint32_t *out);
int DocLexStateAt(FileBuffer *doc, int32_t line, int32_t column, uint32_t *out);
int DocBeginLineScan(FileBuffer *doc, int32_t first, int o1, int o2, int o3, int o4, LangScan **out);
int DocNextScanLine(FileBuffer *doc, LineRecord *record, int32_t *line, LangScan *scan);
int DocParseAll(FileBuffer *doc, void *output, int flags);
int DocParseWithPatterns(FileBuffer *doc, void *output, int flags);

// 1 for the C++ language, resource files and IDL (one family), else the index itself.
int32_t LangFamily(int32_t index);
// Every buffer (but clips and system buffers) of the language's family: its symbols are out of date, and
// for a user-defined language its lexer states too.
void InvalidateDocsOfLang(int32_t index);
