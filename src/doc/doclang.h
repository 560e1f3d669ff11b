// doclang: a file buffer's binding to its language and lexer cache (prefix Doc...Lang/Lex). Least form: the
// language index and object, the macro-language and token-macro flags, the cache's life and its part of the
// change notice; the forwarders to the language object come with the language layer.
#pragma once

#include "doc/dlex.h"
#include "doc/doc.h"

#include <cstdint>

enum { LANG_NONE = 0, LANG_MACRO = 4, LANG_TOKEN_MACRO = 11 };

void DocSetLang(FileBuffer *doc, int32_t index);
// Installs a new cache (the old one deleted), telling the source windows and the parse layer.
void DocSetLexCache(FileBuffer *doc, LineLexCache *cache);
LineLexCache *DocGetLexCache(const FileBuffer *doc);
void DocResetLexCache(FileBuffer *doc);
void DocLexOnChange(FileBuffer *doc, int type, int32_t first, int32_t last);
void DocLexShift(FileBuffer *doc, int32_t line, int32_t delta);
// The language side of choosing a document type: 1 when the buffer must be parsed again.
bool DocBindType(FileBuffer *doc, int32_t type);
void DocAttachLang(FileBuffer *doc);
