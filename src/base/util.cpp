// util: string, number and comparison helpers (see util.h for the buffer conventions).
// Stored forms written here, inside files of other modules:
//   counted block:  uint32 length (little-endian), then length bytes.
//   counted string: uint32 length including the NUL (little-endian), then the characters and the NUL.
#include "base/util.h"

#include "base/file.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>

// ---------------------------------------------------------------------------------------------------------
// Character classes

int CharIsIdent(int c) {
    return isalnum((unsigned char)c) || c == '$' || c == '_' || c == '~';
}

int CharIsDelimiter(int c) {
    return c && strchr("(),;[]{}", c) != nullptr;
}

int CharIsPunct(int c) {
    return ispunct((unsigned char)c) && c != '_' && c != '$';
}

int CharIsQuote(int c) {
    return c == '\'' || c == '"';
}

static int CharIsSpace(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

static int CharIsBlank(int c) {
    return c == ' ' || c == '\t';
}

static int CharIsSeparator(int c) {
    return CharIsBlank(c) || c == ';' || c == ',';
}

int CharClass(int c) {
    if (CharIsBlank(c)) return CHAR_BLANK;
    if (CharIsIdent(c)) return CHAR_IDENT;
    if (iscntrl((unsigned char)c)) return CHAR_CONTROL;
    return CHAR_OTHER;
}

int CharTokenClass(int c) {
    return CharIsDelimiter(c) ? CHAR_DELIMITER : CharClass(c);
}

// ---------------------------------------------------------------------------------------------------------
// Length-prefixed strings and copies

// A length byte cannot say more than 255, so a longer string is cut rather than given a wrapped length.
unsigned char *PstrFromSzInPlace(char *s) {
    size_t n = strnlen(s, 255);
    memmove(s + 1, s, n);
    s[0] = (char)n;
    return (unsigned char *)s;
}

unsigned char *PstrFromSzInPlaceCut(char *s) {
    return PstrFromSzInPlace(s);
}

unsigned char *PstrAppend(const unsigned char *src, unsigned char *dst) {
    PstrAppendMax(src, dst, 255);
    return dst;
}

// A source that does not fit is cut at max. (Marking the overflow with a length of max + 1 would make
// readers take one byte past the buffer, and with max 255 the length byte would wrap to 0.)
int PstrAppendMax(const unsigned char *src, unsigned char *dst, int max) {
    if (max > 255) max = 255;
    int have = dst[0] < max ? dst[0] : max;
    int n = src[0];
    int room = max - have;
    int fits = n <= room;
    if (!fits) n = room;
    memmove(dst + 1 + have, src + 1, n);
    dst[0] = (unsigned char)(have + n);
    return fits;
}

static char *StrAppendRange(const char *src, size_t n, char *dst, int max) {
    size_t have = strlen(dst);
    if (max < 0 || have >= (size_t)max) return dst;
    if (n > (size_t)max - have) n = max - have;
    memmove(dst + have, src, n);
    dst[have + n] = 0;
    return dst;
}

char *StrAppendPstrMax(const unsigned char *pstr, char *dst, int max) {
    return StrAppendRange((const char *)pstr + 1, pstr[0], dst, max);
}

char *StrAppendMax(const char *src, char *dst, int max) {
    return StrAppendRange(src, strlen(src), dst, max);
}

char *StrPrepend(const char *src, char *dst, int max) {
    StrInsertMax(dst, 0, src, max);
    return dst;
}

char *StrCopyN(const char *src, int n, char *dst) {
    StrCopyMaxLen(src, dst, n);
    return dst;
}

char *StrCopyMax(const char *src, char *dst, int max) {
    StrCopyMaxLen(src, dst, max);
    return dst;
}

static char *StrStripTrailing(char *s, int (*strip)(int)) {
    size_t n = strlen(s);
    while (n > 0 && strip((unsigned char)s[n - 1])) n--;
    s[n] = 0;
    return s;
}

static int CharIsDot(int c) {
    return c == '.';
}

char *StrCopyStripDots(const char *src, char *dst, int max) {
    return StrStripTrailing(StrCopyMax(src, dst, max), CharIsDot);
}

char *StrCopyStripPunct(const char *src, char *dst, int max) {
    return StrStripTrailing(StrCopyMax(src, dst, max), CharIsPunct);
}

char *SzDupN(const char *s, int n) {
    size_t len = strnlen(s, n < 0 ? 0 : n);
    char *copy = (char *)MemAlloc(len + 1);
    if (copy) memcpy(copy, s, len); // the block comes zeroed: the NUL is there
    return copy;
}

char *SzDup(const char *s) {
    return SzDupN(s, INT_MAX);
}

char *SzDupIfLonger(const char *s, char *buffer, int size) {
    size_t len = strlen(s);
    if (size > 0 && len < (size_t)size) return (char *)memcpy(buffer, s, len + 1);
    return SzDup(s);
}

Handle *SzHandleDup(const char *s) {
    return HAllocCopy((uint32_t)strlen(s) + 1, s);
}

static Handle *PstrHandleMake(const char *s, size_t n, int withNul) {
    Handle *h = HAlloc((uint32_t)(n + 1 + withNul));
    if (!h) return nullptr;
    unsigned char *p = (unsigned char *)HLock(h);
    p[0] = (unsigned char)n;
    memcpy(p + 1, s, n);
    return h; // zeroed, so the NUL of the Nul form is in place
}

Handle *PstrHandleFromSz(const char *s) {
    return PstrHandleMake(s, strnlen(s, 255), 0);
}

Handle *PstrHandleDup(const unsigned char *pstr) {
    return PstrHandleMake((const char *)pstr + 1, pstr[0], 0);
}

Handle *PstrHandleFromSzNul(const char *s) {
    return PstrHandleMake(s, strnlen(s, 255), 1);
}

// mbstowcs leaves the output unterminated when it fills it, so at most n - 1 are converted.
int SzToWide(const char *s, wchar_t *out, int n) {
    if (n <= 0) return 0;
    size_t r = mbstowcs(out, s, n - 1);
    if (r == (size_t)-1) {
        out[0] = 0;
        return -1;
    }
    out[r] = 0;
    return (int)r;
}

// ---------------------------------------------------------------------------------------------------------
// Blocks and strings in files

static int UtilWriteLength(int file, uint32_t n) {
    unsigned char b[4] = {(unsigned char)n, (unsigned char)(n >> 8), (unsigned char)(n >> 16),
                          (unsigned char)(n >> 24)};
    return FileWriteExact(file, b, 4);
}

// The stored length, or 0 when it is missing or says more than the file still holds (a corrupt length
// must not turn into a huge allocation or a skip past the end).
static int UtilReadLength(int file, uint32_t *n) {
    unsigned char b[4];
    if (!FileReadExact(file, b, 4)) return 0;
    *n = b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
    uint32_t size = FileGetSize(file), at = FileTell(file);
    return at <= size && *n <= size - at;
}

int HandleWrite(int file, const Handle *h) {
    uint32_t n = HSize(h);
    return UtilWriteLength(file, n) && FileWriteExact(file, HLock(h), (int32_t)n);
}

Handle *HandleRead(int file) {
    uint32_t n;
    if (!UtilReadLength(file, &n)) return nullptr;
    Handle *h = HAlloc(n);
    if (h && !FileReadExact(file, HLock(h), (int32_t)n)) {
        HFree(h);
        h = nullptr;
    }
    return h;
}

int StrWriteCounted(const char *s, int file) {
    uint32_t n = (uint32_t)strlen(s) + 1;
    return UtilWriteLength(file, n) && FileWriteExact(file, s, (int32_t)n);
}

// At most max characters are read and the NUL goes at buffer[max] at the latest: a stored string of max
// or more characters must not have its NUL written one past the caller's max + 1 bytes.
int StrReadCounted(char *buffer, int file, int max) {
    buffer[0] = 0;
    uint32_t n;
    if (max < 0 || !UtilReadLength(file, &n)) return 0;
    uint32_t take = n < (uint32_t)max ? n : (uint32_t)max;
    if (!FileReadExact(file, buffer, (int32_t)take)) {
        buffer[0] = 0;
        return 0;
    }
    buffer[take] = 0;
    FileSkip(file, (int32_t)(n - take));
    return 1;
}

// Long strings.

char *LongStrAlloc() {
    return (char *)MemAlloc(LONG_STR_SIZE);
}

// A string that does not fit a long-string block could be written but never read back.
int StrWriteLong(const char *s, int file) {
    if (strlen(s) + 1 > LONG_STR_SIZE) return 0;
    return StrWriteCounted(s, file);
}

// The length comes from the file: one outside 1..2560 would overrun the block (or ask for none), so it is a
// short read. A damaged record without its NUL is still ended inside the block.
char *StrReadLong(int file) {
    unsigned char b[4];
    if (!FileReadExact(file, b, 4)) return nullptr;
    uint32_t n = b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
    if (n < 1 || n > LONG_STR_SIZE) return nullptr;
    char *s = LongStrAlloc();
    if (!s) return nullptr;
    if (!FileReadExact(file, s, (int32_t)n)) {
        FreeBlock(s);
        return nullptr;
    }
    s[n - 1] = 0;
    return s;
}

// ---------------------------------------------------------------------------------------------------------
// Editing in place

void StrDeleteN(char *s, int pos, int n) {
    size_t len = strlen(s);
    if (pos < 0 || n <= 0 || (size_t)pos >= len) return;
    if ((size_t)n > len - pos) n = (int)(len - pos);
    memmove(s + pos, s + pos + n, len - pos - n + 1);
}

void StrDeleteAt(char *s, int pos) {
    StrDeleteN(s, pos, 1);
}

// Opens a gap of n bytes at pos, cutting the tail so that the string stays within max characters; a
// position past the end is taken as the end. Returns the gap's size, which may be less than n.
static int StrOpenGap(char *s, int pos, int n, int max) {
    int len = (int)strlen(s);
    pos = Clamp(pos, 0, len);
    if (max < pos || n <= 0) return 0;
    if (n > max - pos) n = max - pos;
    int tail = len - pos;
    if (tail > max - pos - n) tail = max - pos - n;
    memmove(s + pos + n, s + pos, tail);
    s[pos + n + tail] = 0;
    return n;
}

char *StrInsertMax(char *dst, int pos, const char *src, int max) {
    int len = (int)strlen(dst);
    int n = (int)strlen(src);
    if (n > max - len) n = max - len;
    pos = Clamp(pos, 0, len);
    if (n > 0) memcpy(dst + pos, src, StrOpenGap(dst, pos, n, max));
    return dst;
}

int StrInsertFill(char *s, int pos, int ch, int n, int size) {
    pos = Clamp(pos, 0, (int)strlen(s));
    int made = StrOpenGap(s, pos, n, size - 1);
    memset(s + pos, ch, made);
    return made;
}

char *StrEllipsize(char *s, int pos) {
    if (pos > 3 && (size_t)pos < strlen(s)) memcpy(s + pos - 3, "...", 4);
    return s;
}

char *StrTrimRight(char *s) {
    return StrStripTrailing(s, CharIsSpace);
}

char *StrTrim(char *s) {
    const char *p = s;
    while (CharIsSpace((unsigned char)*p)) p++;
    memmove(s, p, strlen(p) + 1);
    return StrTrimRight(s);
}

char *StrRemoveChars(const char *src, const char *set, char *dst) {
    char *out = dst;
    for (; *src; src++)
        if (!strchr(set, *src)) *out++ = *src;
    *out = 0;
    return dst;
}

char *StrBlanksToUnderscores(char *s) {
    for (char *p = s; *p; p++)
        if (CharIsBlank(*p)) *p = '_';
    return s;
}

char *StrCollapseBlanks(char *s) {
    char *out = s;
    int inRun = 0;
    for (const char *p = s; *p; p++) {
        int space = CharIsSpace((unsigned char)*p);
        if (!space || !inRun) *out++ = space ? ' ' : *p;
        inRun = space;
    }
    *out = 0;
    return s;
}

char *StrUnquote(char *s) {
    size_t n = strlen(s);
    if (n >= 2 && CharIsQuote(s[0]) && s[n - 1] == s[0]) {
        memmove(s, s + 1, n - 2);
        s[n - 2] = 0;
    }
    return s;
}

int StrQuoteIfNeeded(char *s, const char *chars, int size) {
    if (strchr(s, '"') || strchr(chars, '"') || !StrPbrk(s, chars)) return 0;
    size_t n = strlen(s);
    if (size < 0 || n + 3 > (size_t)size) return 0;
    memmove(s + 1, s, n);
    s[0] = '"';
    s[n + 1] = '"';
    s[n + 2] = 0;
    return 1;
}

char *StrEscape(const char *src, char *dst, int size) {
    if (size <= 0) return dst;
    int n = 0;
    for (; *src; src++) {
        int escape = strchr("\"=\\", *src) != nullptr;
        if (n + escape + 1 > size - 1) break;
        if (escape) dst[n++] = '\\';
        dst[n++] = *src;
    }
    dst[n] = 0;
    return dst;
}

char *StrUnescape(const char *src, char *dst) {
    char *out = dst;
    for (; *src; src++) {
        if (*src == '\\' && !*++src) break; // a lone backslash at the end is dropped
        *out++ = *src;
    }
    *out = 0;
    return dst;
}

static int UtilTabWidth(int w) {
    return w < 1 ? 1 : w; // a width of 0 would divide by zero
}

char *StrExpandTabs(char *s, int tabWidth, int size) {
    int w = UtilTabWidth(tabWidth), col = 0;
    for (int i = 0; s[i];) {
        if (s[i] != '\t') {
            col++;
            i++;
            continue;
        }
        int worth = w - col % w;
        s[i] = ' ';
        i += 1 + StrInsertFill(s, i, ' ', worth - 1, size);
        col += worth;
        // A fill cut by the size may have cut the blank too: never step past the new end.
        if (i > (int)strlen(s)) break;
    }
    return s;
}

// The run replaced at a tab stop starts no earlier than the previous stop, so a long run of blanks becomes
// one tab per stop it crosses.
char *StrEntab(char *s, int tabWidth) {
    int w = UtilTabWidth(tabWidth), col = 0;
    char *out = s, *run = s;
    for (const char *p = s; *p; p++) {
        char c = *p;
        col += c == '\t' ? w - col % w : 1;
        *out++ = c;
        if (!CharIsBlank(c)) {
            run = out;
        } else if (col % w == 0) {
            if (out - run >= 2) {
                out = run;
                *out++ = '\t';
            }
            run = out;
        }
    }
    *out = 0;
    return s;
}

static int StrAppendEntry(char *list, const char *sep, const char *s, int quote, int size) {
    size_t have = strlen(list), n = strlen(s), gap = have ? strlen(sep) : 0;
    if (size <= 0 || have + gap + n + 2 * quote >= (size_t)size) return 0;
    char *p = list + have;
    if (gap) p = (char *)memcpy(p, sep, gap) + gap;
    if (quote) *p++ = '"';
    p = (char *)memcpy(p, s, n) + n;
    if (quote) *p++ = '"';
    *p = 0;
    return 1;
}

int StrJoinSemicolon(char *list, const char *s, int size) {
    return StrAppendEntry(list, "; ", s, 0, size);
}

// Whole entries are compared (a quoted entry without its quotes): a word that only occurs inside another
// entry, "ab" in "abc", is still missing from the list.
static int StrListHasI(const char *list, const char *word) {
    size_t n = strlen(word);
    for (const char *p = list; *p;) {
        size_t len = strcspn(p, ";");
        int quoted = len >= 2 && p[0] == '"' && p[len - 1] == '"';
        if (len - 2 * quoted == n && MemEqualI(p + quoted, word, (int)n)) return 1;
        p += len + (p[len] == ';');
    }
    return 0;
}

int StrAppendUnique(char *list, const char *word, int size) {
    if (StrListHasI(list, word)) return 1;
    return StrAppendEntry(list, ";", word, strchr(word, ' ') != nullptr, size);
}

// ---------------------------------------------------------------------------------------------------------
// Scanning

const char *StrSkipBlanks(const char *s) {
    while (CharIsBlank(*s)) s++;
    return s;
}

const char *StrSkipBlanksBack(const char *begin, const char *pos) {
    while (pos > begin && (CharIsBlank(*pos) || !*pos)) pos--;
    return pos;
}

const char *StrSkipSeparators(const char *s) {
    while (CharIsSeparator(*s)) s++;
    return s;
}

const char *StrSkipToSeparator(const char *s) {
    while (*s && !CharIsSeparator(*s)) s++;
    return s;
}

// The closing quote matching the one at s, or the terminating NUL. With escapes, a backslash hides the
// next character, but never the NUL.
static const char *StrQuoteEnd(const char *s, int escapes) {
    char q = *s++;
    while (*s && *s != q) s += escapes && s[0] == '\\' && s[1] ? 2 : 1;
    return s;
}

const char *StrSkipQuoted(const char *s) {
    const char *e = StrQuoteEnd(s, 1);
    return *e ? e + 1 : e;
}

const char *StrSkipQuotedRaw(const char *s) {
    const char *e = StrQuoteEnd(s, 0);
    return *e ? e + 1 : e;
}

int StrNextArg(const char **cursor, char *out, int size) {
    const char *s = StrSkipBlanks(*cursor);
    if (!*s) {
        if (size > 0) out[0] = 0;
        *cursor = s;
        return 0;
    }
    const char *end;
    if (*s == '"') {
        end = StrQuoteEnd(s, 1);
        StrCopyRange(s + 1, end, out, size);
        if (*end) end++;
    } else {
        end = StrSkipToSeparator(s);
        StrCopyRange(s, end, out, size);
    }
    *cursor = StrSkipSeparators(end);
    return 1;
}

const char *StrNextWord(const char *s, char *out, int size) {
    if (CharIsQuote(*s)) {
        const char *end = StrQuoteEnd(s, 1);
        StrCopyRange(s + 1, end, out, size);
        return *end ? end + 1 : end;
    }
    const char *end = s;
    while (*end && !CharIsBlank(*end)) end++;
    StrCopyRange(s, end, out, size);
    return end;
}

const char *StrChrUnescaped(const char *s, int ch) {
    for (; *s; s++) {
        if (*s == ch) return s;
        if (*s == '\\' && s[1]) s++;
    }
    return nullptr;
}

const char *StrChrOutsideQuotes(const char *s, int ch) {
    while (*s) {
        if (*s == ch) return s;
        if (CharIsQuote(*s))
            s = StrSkipQuoted(s);
        else
            s += *s == '\\' && s[1] ? 2 : 1;
    }
    return nullptr;
}

const char *StrPbrk(const char *s, const char *set) {
    for (; *s; s++)
        if (strchr(set, *s)) return s;
    return nullptr;
}

const char *StrRChrRange(const char *begin, const char *pos, int ch) {
    for (const char *p = pos + 1; p > begin;)
        if (*--p == ch) return p;
    return begin;
}

// Operators that form one token although their characters would run on with their neighbours.
static const char *const utilOperators3[] = {">>=", "<<="};
static const char *const utilOperators2[] = {"->", "::", ">>", "<<", "<>", "&&", "||", "++", "--"};

static int StrIsOperator2(const char *p) {
    for (const char *op : utilOperators2)
        if (p[0] == op[0] && p[1] == op[1]) return 1;
    return p[1] == '=' && p[0] && strchr("&*+-/=^|~", p[0]);
}

const char *StrSkipToken(const char *s) {
    if (!*s) return s;
    if (CharIsDelimiter(*s)) return s + 1;
    for (const char *op : utilOperators3)
        if (strncmp(s, op, 3) == 0) return s + 3;
    if (s[1] && StrIsOperator2(s)) return s + 2;
    int cls = CharClass((unsigned char)*s);
    while (*s && !CharIsDelimiter(*s) && CharClass((unsigned char)*s) == cls) s++;
    return s;
}

const char *StrNextToken(const char *s) {
    s = StrSkipToken(s);
    while (CharIsSpace((unsigned char)*s)) s++;
    return s;
}

const char *StrPrevToken(const char *begin, const char *pos) {
    const char *p = pos;
    while (p > begin && CharIsSpace((unsigned char)p[-1])) p--;
    if (p == begin) return begin;
    if (CharIsDelimiter(p[-1])) return p - 1;
    if (p - begin >= 2 && StrIsOperator2(p - 2)) return p - 2;
    int cls = CharClass((unsigned char)p[-1]);
    while (p > begin && !CharIsDelimiter(p[-1]) && CharClass((unsigned char)p[-1]) == cls) p--;
    return p;
}

const char *StrFindClosing(const char *s, int open, int close) {
    int depth = 0;
    for (; *s; s++) {
        if (*s == close && depth-- == 0) return s;
        if (*s == open) depth++;
    }
    return nullptr;
}

const char *StrFindCloseBracket(const char *s) {
    int depth = 0;
    for (; *s; s++) {
        if (*s == '(' || *s == '[')
            depth++;
        else if ((*s == ')' || *s == ']') && depth-- == 0)
            return s + 1;
    }
    return nullptr;
}

// Walks back from pos - 1 to the first opener that no closer on the way has matched.
static const char *StrFindOpenBack(const char *begin, const char *pos, const char *opens, const char *closes,
                                   int arrowIsNoCloser) {
    int depth = 0;
    for (const char *p = pos; p > begin;) {
        if (!*--p) continue;
        if (strchr(closes, *p) && !(arrowIsNoCloser && p > begin && p[-1] == '-'))
            depth++;
        else if (strchr(opens, *p) && depth-- == 0)
            return p;
    }
    return nullptr;
}

const char *StrFindOpenBracket(const char *begin, const char *pos) {
    return StrFindOpenBack(begin, pos, "([", ")]", 0);
}

// The '>' of "->" closes no template argument list.
const char *StrFindOpenAngle(const char *begin, const char *pos) {
    return StrFindOpenBack(begin, pos, "<", ">", 1);
}

const char *StrFindI(const char *needle, const char *text) {
    size_t n = strlen(needle);
    for (; *text; text++)
        if (MemEqualI(text, needle, (int)n)) return text;
    return n ? nullptr : text;
}

int MemIndexOf(const void *block, int n, int byte) {
    if (n <= 0) return -1;
    const void *p = memchr(block, byte, n);
    return p ? (int)((const char *)p - (const char *)block) : -1;
}

int StrCountNonBlank(const char *s) {
    int n = 0;
    for (; *s; s++) n += !CharIsSpace((unsigned char)*s);
    return n;
}

int StrIsBlank(const char *s) {
    return !*StrSkipBlanks(s);
}

static int StrIsMixedCaseN(const char *s, size_t n) {
    int upper = isupper((unsigned char)s[0]) != 0;
    for (size_t i = 1; i < n && s[i]; i++) {
        unsigned char c = (unsigned char)s[i];
        if (isalpha(c) && (isupper(c) != 0) != upper) return 1;
    }
    return 0;
}

int StrIsMixedCase(const char *s) {
    return *s && StrIsMixedCaseN(s, strlen(s));
}

// ---------------------------------------------------------------------------------------------------------
// Comparisons

int StrHasPrefix(const char *prefix, const char *s) {
    return strncmp(prefix, s, strlen(prefix)) == 0;
}

int StrCommonPrefixLen(const char *a, const char *b) {
    int n = 0;
    while (a[n] && a[n] == b[n]) n++;
    return n;
}

int StrCommonPrefixLenI(const char *a, const char *b) {
    int n = 0;
    while (a[n] && b[n] && !CharCmpI(a[n], b[n])) n++;
    return n;
}

int StrHasPrefixI(const char *prefix, const char *s) {
    return !prefix[StrCommonPrefixLenI(prefix, s)];
}

int StrSamePrefixI(const char *a, const char *b) {
    int n = StrCommonPrefixLenI(a, b);
    return !a[n] || !b[n];
}

int StrHasSuffixI(const char *s, const char *suffix) {
    size_t n = strlen(s), m = strlen(suffix);
    return m <= n && StrEqualI(s + n - m, suffix);
}

int StrFirstWordIsI(const char *s, const char *name) {
    size_t n = strlen(name);
    return MemEqualI(s, name, (int)n) && (!s[n] || CharIsBlank(s[n]));
}

int PstrHasPrefixSz(const unsigned char *pstr, const char *s) {
    size_t n = strlen(s);
    return n <= pstr[0] && memcmp(pstr + 1, s, n) == 0;
}

// Stops at the first difference: string callers rely on it, as the NUL of a shorter string differs from
// any character of the other and ends the scan there.
int MemEqualI(const void *a, const void *b, int n) {
    const unsigned char *p = (const unsigned char *)a, *q = (const unsigned char *)b;
    for (int i = 0; i < n; i++)
        if (CharCmpI(p[i], q[i])) return 0;
    return 1;
}

// A string in the identifier comparisons: its characters and its length (a C string's is its strlen).
struct IdentText {
    const unsigned char *s;
    size_t n;
};

static IdentText IdentOfSz(const char *s) {
    return {(const unsigned char *)s, strlen(s)};
}

static IdentText IdentOfPstr(const unsigned char *p) {
    return {p + 1, p[0]};
}

static int IdentAt(IdentText t, size_t i) {
    return i < t.n ? t.s[i] : 0;
}

static size_t IdentSkipUnderscores(IdentText *t) {
    size_t k = 0;
    while (k < t->n && t->s[k] == '_') k++;
    t->s += k;
    t->n -= k;
    return k;
}

static int IdentCmpChar(int a, int b, int exact) {
    return exact ? a - b : CharCmpI((unsigned char)a, (unsigned char)b);
}

// Compares the rests after the underscores over at most limit characters.
static int IdentCmpRest(IdentText a, IdentText b, size_t limit, int exact) {
    for (size_t i = 0; i < limit; i++) {
        int ca = IdentAt(a, i), cb = IdentAt(b, i);
        if (int d = IdentCmpChar(ca, cb, exact)) return d;
        if (!ca) break;
    }
    return 0;
}

static int IdentCompare(IdentText a, IdentText b, int exact) {
    if (IdentAt(a, 0) != '_' && IdentAt(b, 0) != '_') {
        if (int d = IdentCmpChar(IdentAt(a, 0), IdentAt(b, 0), exact)) return d;
    }
    size_t ua = IdentSkipUnderscores(&a), ub = IdentSkipUnderscores(&b);
    size_t limit = (a.n > b.n ? a.n : b.n) + 1;
    if (int d = IdentCmpRest(a, b, limit, exact)) return d;
    return (int)ua - (int)ub;
}

int StrCmpIdent(const char *a, const char *b) {
    return IdentCompare(IdentOfSz(a), IdentOfSz(b), 0);
}

int PstrCmpIdent(const unsigned char *a, const unsigned char *b) {
    return IdentCompare(IdentOfPstr(a), IdentOfPstr(b), 0);
}

int StrCmpIdentExact(const char *a, const char *b) {
    return IdentCompare(IdentOfSz(a), IdentOfSz(b), 1);
}

int PstrCmpIdentExact(const unsigned char *a, const unsigned char *b) {
    return IdentCompare(IdentOfPstr(a), IdentOfPstr(b), 1);
}

int StrCmpIdentPrefix(const char *name, const char *s) {
    IdentText a = IdentOfSz(name), b = IdentOfSz(s);
    IdentSkipUnderscores(&a);
    IdentSkipUnderscores(&b);
    return IdentCmpRest(a, b, a.n, 0);
}

static int IdentIsPrefix(IdentText prefix, IdentText s) {
    IdentSkipUnderscores(&prefix);
    IdentSkipUnderscores(&s);
    return prefix.n <= s.n && IdentCmpRest(prefix, s, prefix.n, 0) == 0;
}

int StrHasPrefixIdentI(const char *prefix, const char *s) {
    return IdentIsPrefix(IdentOfSz(prefix), IdentOfSz(s));
}

int PstrIsIdentPrefix(const unsigned char *prefix, const unsigned char *s) {
    return IdentIsPrefix(IdentOfPstr(prefix), IdentOfPstr(s));
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
static int64_t UtilDaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

static int64_t UtilSecondsOf(const SystemTime *t) {
    int64_t days = UtilDaysFromCivil(t->year, t->month, t->day);
    return days * 86400 + t->hour * 3600 + t->minute * 60 + t->second;
}

// Compared as one count of seconds, so that two times a second apart across a minute, hour or day
// boundary still fall within the tolerance. The result is the difference in seconds, saturated.
int SystemTimeCompare(const SystemTime *a, const SystemTime *b, int tolerance) {
    int64_t d = UtilSecondsOf(a) - UtilSecondsOf(b);
    if ((d < 0 ? -d : d) < tolerance) return 0;
    return d > INT_MAX ? INT_MAX : d < -INT_MAX ? -INT_MAX : (int)d;
}

// The first element not ordered before the key: its index is the match or the insertion point.
int ArraySearch(const void *key, const void *base, int count, int elementSize, ArrayCompare compare,
                int *index) {
    int lo = 0, hi = count;
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (compare(key, (const char *)base + (size_t)mid * elementSize) > 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (index) *index = lo;
    return lo < count && compare(key, (const char *)base + (size_t)lo * elementSize) == 0;
}

// ---------------------------------------------------------------------------------------------------------
// Numbers

int BitLength(uint32_t v) {
    int n = 0;
    for (; v; v >>= 1) n++;
    return n;
}

static int32_t NumSaturate(int64_t v) {
    return v > INT_MAX ? INT_MAX : v < -INT_MAX ? -INT_MAX : (int32_t)v;
}

// Exact in 64 bits: scaling the operands down to fit 31 bits (the old way) threw the result away when a
// was small and b large (1 × 2^30 / 2 gave 0), and |INT_MIN| overflowed. An out-of-range result saturates
// with its sign; a zero divisor gives INT_MAX.
int32_t NumMulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return INT_MAX;
    int64_t ua = a < 0 ? -(int64_t)a : a, ub = b < 0 ? -(int64_t)b : b, uc = c < 0 ? -(int64_t)c : c;
    uint64_t product = (uint64_t)ua * (uint64_t)ub;
    uint64_t r = (product + (uint64_t)uc / 2) / (uint64_t)uc;
    if (r > (uint64_t)INT_MAX) r = (uint64_t)INT_MAX + 1; // saturated below
    int negative = ((a < 0) != (b < 0)) != (c < 0);
    return NumSaturate(negative ? -(int64_t)r : (int64_t)r);
}

int32_t NumDivRound(int32_t a, int32_t b) {
    return NumMulDiv(a, 1, b);
}

int32_t NumDivCeil(int32_t a, int32_t b) {
    if (b == 0) return INT_MAX;
    int64_t q = (int64_t)a / b, r = (int64_t)a % b;
    if (r != 0 && (r < 0) == (b < 0)) q++;
    return NumSaturate(q);
}

int32_t NumPercentOf(int32_t part, int32_t whole) {
    if (part == 0) return 0;
    if (whole == 0) return 100;
    return NumMulDiv(part, 100, whole);
}

// ---------------------------------------------------------------------------------------------------------
// Time

static UtilTickFn utilTick = UtilOsTickCount;
static UtilSleepFn utilSleep = UtilOsSleep;
static uint32_t tickPaceLast;

void UtilSetClock(UtilTickFn tick, UtilSleepFn sleep) {
    utilTick = tick ? tick : UtilOsTickCount;
    utilSleep = sleep ? sleep : UtilOsSleep;
}

void StrCutFormat(const char *format, char *cut) {
    StrCopyMaxLen(format, cut, FORMAT_CUT);
    for (char *p = cut; *p; p++) {
        if (*p != '%') continue;
        char *conv = p + 1;
        while (*conv && strchr("-+ #0123456789.*hlLqjzt", *conv)) conv++;
        if (!*conv) {
            *p = 0;
            return;
        }
        p = conv;
    }
}

uint32_t TickNow() {
    return utilTick();
}

void TickSetTestSource(TickSource source) {
    utilTick = source ? source : UtilOsTickCount;
}

enum { TICK_PACE_MS = 33 };

void TickPace() {
    uint32_t now = utilTick();
    uint32_t passed = now - tickPaceLast; // unsigned: right across the tick count's wrap
    if (passed < TICK_PACE_MS) {
        utilSleep(TICK_PACE_MS - passed);
        now = utilTick();
    }
    tickPaceLast = now;
}

uint32_t TickBusyWait(uint32_t ms) {
    uint32_t start = utilTick(), passed;
    while ((passed = utilTick() - start) < ms) {
    }
    return passed;
}
