// str: C strings and characters (prefixes Str, Char, Mem, Sz): classes, copies, editing in place, scanning
// and comparisons. Every routine works in place or into the caller's buffer and never writes past its bound.
#include "base/str.h"

#include "base/utilil.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>

bool CharIsIdent(int c) {
    return isalnum((unsigned char)c) || c == '$' || c == '_' || c == '~';
}

bool CharIsDelimiter(int c) {
    return c && strchr("(),;[]{}", c) != nullptr;
}

bool CharIsPunct(int c) {
    return ispunct((unsigned char)c) && c != '_' && c != '$';
}

bool CharIsQuote(int c) {
    return c == '\'' || c == '"';
}

static bool CharIsSpace(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

static bool CharIsBlank(int c) {
    return c == ' ' || c == '\t';
}

static bool CharIsSeparator(int c) {
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

static char *StrStripTrailing(char *s, bool (*strip)(int)) {
    size_t n = strlen(s);
    while (n > 0 && strip((unsigned char)s[n - 1])) n--;
    s[n] = 0;
    return s;
}

static bool CharIsDot(int c) {
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

bool StrIsBlank(const char *s) {
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

bool StrIsMixedCase(const char *s) {
    return *s && StrIsMixedCaseN(s, strlen(s));
}

bool StrHasPrefix(const char *prefix, const char *s) {
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

bool StrHasPrefixI(const char *prefix, const char *s) {
    return !prefix[StrCommonPrefixLenI(prefix, s)];
}

bool StrSamePrefixI(const char *a, const char *b) {
    int n = StrCommonPrefixLenI(a, b);
    return !a[n] || !b[n];
}

bool StrHasSuffixI(const char *s, const char *suffix) {
    size_t n = strlen(s), m = strlen(suffix);
    return m <= n && StrEqualI(s + n - m, suffix);
}

bool StrFirstWordIsI(const char *s, const char *name) {
    size_t n = strlen(name);
    return MemEqualI(s, name, (int)n) && (!s[n] || CharIsBlank(s[n]));
}

// Stops at the first difference: string callers rely on it, as the NUL of a shorter string differs from
// any character of the other and ends the scan there.
bool MemEqualI(const void *a, const void *b, int n) {
    const unsigned char *p = (const unsigned char *)a, *q = (const unsigned char *)b;
    for (int i = 0; i < n; i++)
        if (CharCmpI(p[i], q[i])) return 0;
    return 1;
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
