// util: the small text and number routines every module shares (no prefix of its own: Str*, Pstr*, Char*,
// Mem*, Num*, Tick*, plus SzDup*, SzHandleDup, HandleRead/Write, BitLength, ArraySearch, SystemTimeCompare,
// SysGetEnv). Everything works in place or into the caller's buffers; only the pacing timer keeps state.
// A length-prefixed string (Pstr) is one length byte and at most 255 characters, no NUL.
// Buffer arguments: "max" counts characters (the buffer holds max + 1 bytes); "size" counts bytes (at most
// size - 1 characters and the NUL). Nothing is ever written past either bound: longer results are cut.
#pragma once

#include "base/heap.h"
#include "base/utilil.h"

#include <cstddef>
#include <cstdint>

// Character classes: blank or tab; identifier character (letter, digit, '$', '_', '~'); control character;
// any other; and, for tokens only, the one-character delimiters ( ) , ; [ ] { }.
enum { CHAR_BLANK = 0, CHAR_IDENT = 1, CHAR_CONTROL = 2, CHAR_OTHER = 3, CHAR_DELIMITER = 4 };
int CharClass(int c);
int CharTokenClass(int c);
int CharIsIdent(int c);
int CharIsDelimiter(int c);
int CharIsPunct(int c); // ASCII punctuation other than '_' and '$'
int CharIsQuote(int c); // ' or "

// Length-prefixed strings and copies.
unsigned char *PstrFromSzInPlace(char *s);    // both cut at 255 characters
unsigned char *PstrFromSzInPlaceCut(char *s); //
unsigned char *PstrAppend(const unsigned char *src, unsigned char *dst);
int PstrAppendMax(const unsigned char *src, unsigned char *dst, int max); // 1 when all of src fitted, 0 cut
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
Handle *PstrHandleFromSz(const char *s);
Handle *PstrHandleDup(const unsigned char *pstr);
Handle *PstrHandleFromSzNul(const char *s);
int SzToWide(const char *s, wchar_t *out, int n); // out holds n wide characters; -1 for a bad sequence

// Blocks and strings in files: a 32-bit little-endian length, then the bytes (for a string, its NUL too).
int HandleWrite(int file, const Handle *h);
Handle *HandleRead(int file); // null on a short read or a length past the end of the file
int StrWriteCounted(const char *s, int file);
int StrReadCounted(char *buffer, int file, int max); // a longer stored string is cut at max, the rest skipped

// Long strings in files: a 32-bit length (characters + 1), then the characters and the NUL. A long string
// lives in a block of LONG_STR_SIZE bytes; longer ones are refused both ways.
enum { LONG_STR_SIZE = 2560 };
char *LongStrAlloc();
int StrWriteLong(const char *s, int file);
char *StrReadLong(int file); // null on a short read or a stored length outside 1..LONG_STR_SIZE

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
int StrIsBlank(const char *s);
int StrIsMixedCase(const char *s);

// Comparisons: 1 or 0, or an order (< 0, 0, > 0). "I" ignores case by the fold of CharCmpI.
int StrHasPrefix(const char *prefix, const char *s);
int StrHasPrefixI(const char *prefix, const char *s);
int StrSamePrefixI(const char *a, const char *b);
int StrHasSuffixI(const char *s, const char *suffix);
int StrFirstWordIsI(const char *s, const char *name);
int PstrHasPrefixSz(const unsigned char *pstr, const char *s);
int StrCommonPrefixLen(const char *a, const char *b);
int StrCommonPrefixLenI(const char *a, const char *b);
int MemEqualI(const void *a, const void *b, int n);
int StrHasPrefixIdentI(const char *prefix, const char *s);
int PstrIsIdentPrefix(const unsigned char *prefix, const unsigned char *s);

// Identifier order: case-blind, leading underscores skipped, then fewer underscores first:
// abc < _abc < __abc. The Exact forms are case-sensitive.
int StrCmpIdent(const char *a, const char *b);
int PstrCmpIdent(const unsigned char *a, const unsigned char *b);
int StrCmpIdentExact(const char *a, const char *b);
int PstrCmpIdentExact(const unsigned char *a, const unsigned char *b);
int StrCmpIdentPrefix(const char *name, const char *s);

// The layout of the system's time record, so that portable code can compare file times.
struct SystemTime {
    uint16_t year, month, dayOfWeek, day, hour, minute, second, milliseconds;
};
int SystemTimeCompare(const SystemTime *a, const SystemTime *b, int tolerance);

typedef int (*ArrayCompare)(const void *key, const void *element);
int ArraySearch(const void *key, const void *base, int count, int elementSize, ArrayCompare compare,
                int *index);

// Numbers.
int32_t NumMulDiv(int32_t a, int32_t b, int32_t c);
int32_t NumDivRound(int32_t a, int32_t b);
int32_t NumDivCeil(int32_t a, int32_t b);
int32_t NumPercentOf(int32_t part, int32_t whole);
int BitLength(uint32_t v);

// Time and environment.
void TickPace();
uint32_t TickBusyWait(uint32_t ms);
int SysGetEnv(const char *name, char *buffer, int size);

// The system side (util_win.cpp).
uint32_t UtilOsTickCount();
void UtilOsSleep(uint32_t ms);

// Test seam: the clock and sleep the timing helpers use; null restores the system's.
typedef uint32_t (*UtilTickFn)();
typedef void (*UtilSleepFn)(uint32_t ms);
void UtilSetClock(UtilTickFn tick, UtilSleepFn sleep);

// Printf-style messages cut their format at 462 characters while it is applied; a conversion that the cut
// split is dropped whole, so no half conversion reaches the formatter. cut holds FORMAT_CUT + 1 bytes.
enum { FORMAT_CUT = 462 };
void StrCutFormat(const char *format, char *cut);

// The tick clock every timing of the library reads, in milliseconds; it wraps after 49.7 days.
uint32_t TickNow();
// Test seam: a replacement clock alone (sleeping unchanged); null goes back to the system's.
typedef UtilTickFn TickSource;
void TickSetTestSource(TickSource source);
