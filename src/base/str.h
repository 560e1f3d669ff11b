// str: C strings and characters (prefixes Str, Char, Mem, Sz). Everything works in place or into the
// caller's buffers. Results that point into a scanned text mean "not found" by null unless stated.
// Buffer arguments: "max" counts characters (the buffer holds max + 1 bytes); "size" counts bytes (at most
// size - 1 characters and the NUL). Nothing is ever written past either bound: longer results are cut.
#pragma once

#include "base/heap.h"

#include <cstddef>
#include <cstdint>

// Character classes: blank or tab; identifier character (letter, digit, '$', '_', '~'); control character;
// any other; and, for tokens only, the one-character delimiters ( ) , ; [ ] { }.
enum { CHAR_BLANK = 0, CHAR_IDENT = 1, CHAR_CONTROL = 2, CHAR_OTHER = 3, CHAR_DELIMITER = 4 };
int CharClass(int c);
int CharTokenClass(int c);
bool CharIsIdent(int c);
bool CharIsDelimiter(int c);
bool CharIsPunct(int c); // ASCII punctuation other than '_' and '$'
bool CharIsQuote(int c); // ' or "

// Copies.
char *StrAppendPstrMax(const unsigned char *pstr, char *dst, int max);
char *StrAppendMax(const char *src, char *dst, int max);
char *StrPrepend(const char *src, char *dst, int max);
char *StrCopyN(const char *src, int n, char *dst); // dst holds n + 1 bytes
char *StrCopyMax(const char *src, char *dst, int max);
char *StrCopyStripDots(const char *src, char *dst, int max);
char *StrCopyStripPunct(const char *src, char *dst, int max);
char *SzDup(const char *s); // heap copies: MemFree them
char *SzDupN(const char *s, int n);
char *SzDupIfLonger(const char *s, char *buffer, int size); // buffer when s fits, else a heap copy
Handle *SzHandleDup(const char *s);
int SzToWide(const char *s, wchar_t *out, int n); // out holds n wide characters; -1 for a bad sequence

// Editing in place.
void StrDeleteAt(char *s, int pos);
void StrDeleteN(char *s, int pos, int n);
char *StrInsertMax(char *dst, int pos, const char *src, int max); // the inserted text is cut to fit
int StrInsertFill(char *s, int pos, int ch, int n, int size); // the tail is cut to fit; returns copies made
char *StrEllipsize(char *s, int pos);
char *StrTrim(char *s);
char *StrTrimRight(char *s);
char *StrRemoveChars(const char *src, const char *set, char *dst); // dst may be src
char *StrBlanksToUnderscores(char *s);
char *StrCollapseBlanks(char *s);
char *StrUnquote(char *s);
int StrQuoteIfNeeded(char *s, const char *chars, int size); // 1 when quoted; 0 also when it would not fit
char *StrEscape(const char *src, char *dst, int size);      // an escape pair is never split by the cut
char *StrUnescape(const char *src, char *dst);              // dst may be src
char *StrExpandTabs(char *s, int tabWidth, int size);
char *StrEntab(char *s, int tabWidth);
int StrJoinSemicolon(char *list, const char *s, int size); // 0, list unchanged, when it would not fit
int StrAppendUnique(char *list, const char *word, int size);

// Scanning. Results point into the scanned text; "not found" is null unless stated.
const char *StrSkipBlanks(const char *s);
const char *StrSkipBlanksBack(const char *begin, const char *pos);
const char *StrSkipSeparators(const char *s); // separators: blank, tab, ';' and ','
const char *StrSkipToSeparator(const char *s);
int StrNextArg(const char **cursor, char *out, int size);
const char *StrNextWord(const char *s, char *out, int size);
const char *StrSkipQuoted(const char *s);    // s at an opening quote; past the closing one, or the end
const char *StrSkipQuotedRaw(const char *s); // the same without backslash escapes
const char *StrChrUnescaped(const char *s, int ch);
const char *StrChrOutsideQuotes(const char *s, int ch);
const char *StrPbrk(const char *s, const char *set);
const char *StrRChrRange(const char *begin, const char *pos, int ch);
const char *StrSkipToken(const char *s);
const char *StrNextToken(const char *s);
const char *StrPrevToken(const char *begin, const char *pos);
const char *StrFindClosing(const char *s, int open, int close);
const char *StrFindCloseBracket(const char *s);
const char *StrFindOpenBracket(const char *begin, const char *pos); // the text before pos is searched
const char *StrFindOpenAngle(const char *begin, const char *pos);
const char *StrFindI(const char *needle, const char *text);
int MemIndexOf(const void *block, int n, int byte);
int StrCountNonBlank(const char *s);
bool StrIsBlank(const char *s);
bool StrIsMixedCase(const char *s);

// Comparisons: 1 or 0, or an order (< 0, 0, > 0). "I" ignores case by the fold of CharCmpI.
bool StrHasPrefix(const char *prefix, const char *s);
bool StrHasPrefixI(const char *prefix, const char *s);
bool StrSamePrefixI(const char *a, const char *b);
bool StrHasSuffixI(const char *s, const char *suffix);
bool StrFirstWordIsI(const char *s, const char *name);
int StrCommonPrefixLen(const char *a, const char *b);
int StrCommonPrefixLenI(const char *a, const char *b);
bool MemEqualI(const void *a, const void *b, int n);

// Printf-style messages cut their format at 462 characters while it is applied; a conversion that the cut
// split is dropped whole, so no half conversion reaches the formatter. cut holds FORMAT_CUT + 1 bytes.
enum { FORMAT_CUT = 462 };
void StrCutFormat(const char *format, char *cut);
