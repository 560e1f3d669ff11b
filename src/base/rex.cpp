// rex: the regular-expression engine (prefix Rex, and ArrayOpenGap).
// A pattern is first translated character by character into codes (characters 0-255, operators above), then
// compiled into at most 150 nodes ending in a terminator. A closure node ("*" or "+") is followed by the one
// node it repeats. Groups are numbered in the order they open, so nested groups get their own spans.
// Matching is a backtracking walk of the node list: a closure over "." takes the fewest steps after which the
// rest of the list matches, a closure over anything else the most. Each closure's outcome at each text
// position is memoised for the length of one search, so a search costs at most about nodes x length steps
// however many closures the pattern holds, and never recurses deeper than the number of closures.
#include "base/rex.h"

#include "base/erc.h"
#include "base/utilil.h"

#include <cstring>

const char ercRexSyntax[] = "Error in regular expression.";

// Outcomes of the compiler's steps.
enum { REX_SYNTAX = -1, REX_NO_ROOM = 0, REX_OK = 1 };

// Codes of the translated pattern above the 256 characters (plain numbers: they share arrays and
// expressions with characters).
constexpr int16_t RC_BOL = 256, RC_EOL = 257, RC_ANY = 258, RC_STAR = 259, RC_PLUS = 260;
constexpr int16_t RC_CLASS = 261;     // "["
constexpr int16_t RC_CLASS_END = 262; // "]"
constexpr int16_t RC_NEGATE = 263;    // "^" directly after "["
constexpr int16_t RC_RANGE = 264;     // "-" inside brackets
constexpr int16_t RC_GROUP = 265, RC_GROUP_END = 266, RC_WHITE = 267;

static const struct {
    char ch;
    int16_t code;
} rexOperators[] = {
    {'^', RC_BOL},  {'$', RC_EOL},   {'.', RC_ANY},       {'*', RC_STAR},
    {'+', RC_PLUS}, {'[', RC_CLASS}, {']', RC_CLASS_END},
};

// Ignore case upper-cases the ASCII letters of pattern and text, and nothing else.
static inline unsigned char RexUpper(unsigned char c) {
    return c >= 'a' && c <= 'z' ? (unsigned char)(c - 32) : c;
}
static inline bool RexIsUpperLetter(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}

static bool RexIsClosable(int32_t type) {
    switch (type) {
    case REX_CHAR:
    case REX_RANGE:
    case REX_NOT_RANGE:
    case REX_SET:
    case REX_NOT_SET:
    case REX_EOL:
    case REX_ANY:
    case REX_WHITE: return true;
    default: return false;
    }
}

void ArrayOpenGap(void *array, int32_t elementSize, int32_t index, int32_t count) {
    if (index >= count) return;
    char *at = (char *)array + (size_t)index * elementSize;
    memmove(at + elementSize, at, (size_t)(count - index) * elementSize);
}

// ---- The record ----

RexProg *RexAlloc(const char *pattern) {
    RexProg *prog = (RexProg *)MemAlloc(sizeof(RexProg));
    if (!prog) return nullptr;
    prog->pattern = (char *)MemDup(pattern, strlen(pattern) + 1);
    if (!prog->pattern) {
        MemFree(prog);
        return nullptr;
    }
    prog->flags = REX_FORWARD;
    prog->nodeCount = 1;
    prog->nodes[0].type = REX_END;
    return prog;
}

void RexFree(RexProg *prog) {
    if (!prog) return;
    for (uint32_t i = 0; i < prog->nodeCount; i++) MemFree(prog->nodes[i].str);
    MemFree(prog->pattern);
    MemFree(prog->memo);
    MemFree(prog);
}

// Closures carry their ordinal, which picks their row of the memo.
static void RexNumberClosures(RexProg *prog) {
    prog->closureCount = 0;
    for (uint32_t i = 0; i < prog->nodeCount; i++) {
        RexNode *node = &prog->nodes[i];
        if (node->type == REX_STAR || node->type == REX_PLUS) node->a = (uint32_t)prog->closureCount++;
    }
}

int RexInsertNode(RexProg *prog, int32_t index, const RexNode *node) {
    // The terminator stays last.
    if (prog->nodeCount >= REX_NODE_MAX || index < 0 || index >= (int32_t)prog->nodeCount) return 0;
    ArrayOpenGap(prog->nodes, sizeof(RexNode), index, (int32_t)prog->nodeCount);
    prog->nodes[index] = *node;
    prog->nodeCount++;
    if (node->type == REX_STAR || node->type == REX_PLUS) RexNumberClosures(prog);
    return 1;
}

// ---- Translation ----

static int32_t RexTranslateEscape(unsigned char c, bool inClass, int16_t *out, int32_t n) {
    switch (c) {
    case '(': out[n++] = inClass ? '(' : RC_GROUP; break;
    case ')': out[n++] = inClass ? ')' : RC_GROUP_END; break;
    case 'n':
    case 'r': out[n++] = inClass ? '\n' : RC_EOL; break;
    case 't': out[n++] = '\t'; break;
    case 's': out[n++] = ' '; break;
    case 'w':
        if (inClass) {
            out[n++] = '\t';
            out[n++] = ' ';
        } else {
            out[n++] = RC_WHITE;
        }
        break;
    default: out[n++] = c;
    }
    return n;
}

static int16_t RexOperatorCode(unsigned char c) {
    for (const auto &op : rexOperators)
        if (op.ch == (char)c) return op.code;
    return c;
}

// Inside brackets only "]" and "-" are operators; a "^" that does not follow "[" directly is the character
// itself, so that '[*^]' finds carets.
static int16_t RexClassCode(unsigned char c) {
    return c == ']' ? RC_CLASS_END : c == '-' ? RC_RANGE : c;
}

// Writes at most strlen(pattern) codes; -1 for a "^" that is not the first character.
static int32_t RexTranslate(const char *pattern, int16_t *out) {
    int32_t n = 0;
    bool inClass = false;
    for (const char *p = pattern; *p; p++) {
        unsigned char c = (unsigned char)*p;
        if (c == '\\') {
            if (!p[1]) break; // a backslash at the very end ends the pattern
            n = RexTranslateEscape((unsigned char)*++p, inClass, out, n);
        } else if (inClass) {
            out[n] = RexClassCode(c);
            inClass = out[n++] != RC_CLASS_END;
        } else {
            if (c == '^' && p != pattern) return -1;
            out[n++] = RexOperatorCode(c);
            if (c != '[') continue;
            inClass = true;
            if (p[1] == '^') {
                out[n++] = RC_NEGATE;
                p++;
            }
        }
    }
    return n;
}

// ---- Compiling ----

struct RexBuilder {
    RexProg *prog;
    const int16_t *codes;
    int32_t count;
    int32_t runStart; // first code of the pending run of characters
    int32_t runLen;
    bool lastClosable; // the last node added can be repeated by a closure
    int32_t depth;     // groups open
    uint32_t open[REX_GROUP_MAX];
};

// Appends a node before the terminator; the node's string belongs to the record from then on.
static int RexAddNode(RexBuilder *b, int32_t type, uint32_t a, uint32_t bValue, char *str) {
    RexNode node = {type, a, bValue, str};
    if (!RexInsertNode(b->prog, (int32_t)b->prog->nodeCount - 1, &node)) {
        MemFree(str);
        return REX_NO_ROOM;
    }
    b->lastClosable = RexIsClosable(type);
    return REX_OK;
}

// The first len characters of the pending run become one character node or one string node.
static int RexFlushRun(RexBuilder *b, int32_t len) {
    if (len <= 0) return REX_OK;
    const int16_t *run = b->codes + b->runStart;
    b->runStart += len;
    b->runLen -= len;
    if (len == 1) return RexAddNode(b, REX_CHAR, (uint32_t)run[0], 0, nullptr);
    char *str = (char *)MemAlloc((size_t)len + 1);
    if (!str) return REX_NO_ROOM;
    for (int32_t i = 0; i < len; i++) str[i] = (char)run[i];
    return RexAddNode(b, REX_STRING, (uint32_t)len, 0, str);
}

// "*" and "+" repeat one character only, so a pending run gives up its last character to them.
static int RexCompileClosure(RexBuilder *b, int32_t type) {
    int r = RexFlushRun(b, b->runLen - 1);
    if (r == REX_OK) r = RexFlushRun(b, b->runLen);
    if (r != REX_OK) return r;
    // Nothing to repeat, or a group mark or closure before it: such a node never moves the cursor.
    if (!b->lastClosable) return REX_SYNTAX;
    RexNode node = {type, 0, 0, nullptr};
    if (!RexInsertNode(b->prog, (int32_t)b->prog->nodeCount - 2, &node)) return REX_NO_ROOM;
    b->lastClosable = false;
    return REX_OK;
}

// A set node's string holds the characters, a NUL, then a 256-bit map of them for the matcher.
static char *RexSetString(const unsigned char *chars, int32_t n) {
    char *str = (char *)MemAlloc((size_t)n + 1 + 32);
    if (!str) return nullptr;
    memcpy(str, chars, (size_t)n);
    unsigned char *map = (unsigned char *)str + n + 1;
    for (int32_t i = 0; i < n; i++) map[chars[i] >> 3] |= (unsigned char)(1u << (chars[i] & 7));
    return str;
}

// The codes of a class between "[" (and its "^") and "]", ranges written out in full; -1 on a syntax error.
static int32_t RexClassChars(const int16_t *codes, int32_t first, int32_t end, unsigned char *chars) {
    int32_t n = 0;
    for (int32_t k = first; k < end; k++) {
        if (codes[k] >= 256) return -1; // a "-" with no character before it
        int32_t lo = codes[k], hi = lo;
        if (k + 1 < end && codes[k + 1] == RC_RANGE) {
            if (k + 2 >= end || codes[k + 2] >= 256) return -1; // a "-" at the end
            hi = codes[k + 2];
            k += 2;
        }
        if (hi < lo || n + hi - lo + 1 > 255) return -1;
        for (int32_t c = lo; c <= hi; c++) chars[n++] = (unsigned char)c;
    }
    return n ? n : -1;
}

// *at is the "[" code; on return it is the "]" code.
static int RexCompileClass(RexBuilder *b, int32_t *at) {
    const int16_t *codes = b->codes;
    int32_t first = *at + 1, end = first;
    while (end < b->count && codes[end] != RC_CLASS_END) end++;
    if (end >= b->count) return REX_SYNTAX;
    *at = end;
    bool negate = first < end && codes[first] == RC_NEGATE;
    if (negate) first++;
    if (end - first == 3 && codes[first] < 256 && codes[first + 1] == RC_RANGE && codes[first + 2] < 256) {
        if (codes[first + 2] < codes[first]) return REX_SYNTAX;
        return RexAddNode(b, negate ? REX_NOT_RANGE : REX_RANGE, (uint32_t)codes[first],
                          (uint32_t)codes[first + 2], nullptr);
    }
    unsigned char chars[256];
    int32_t n = RexClassChars(codes, first, end, chars);
    if (n < 0) return REX_SYNTAX;
    char *str = RexSetString(chars, n);
    if (!str) return REX_NO_ROOM;
    return RexAddNode(b, negate ? REX_NOT_SET : REX_SET, (uint32_t)n, 0, str);
}

static int RexCompileGroup(RexBuilder *b, bool open) {
    RexProg *prog = b->prog;
    if (open) {
        if (prog->groupCount >= REX_GROUP_MAX) return REX_SYNTAX;
        b->open[b->depth++] = prog->groupCount;
        return RexAddNode(b, REX_GROUP_START, prog->groupCount++, 0, nullptr);
    }
    if (b->depth == 0) return REX_SYNTAX;
    return RexAddNode(b, REX_GROUP_END, b->open[--b->depth], 0, nullptr);
}

static int RexCompileOperator(RexBuilder *b, int32_t *at) {
    switch (b->codes[*at]) {
    case RC_BOL: return RexAddNode(b, REX_BOL, 0, 0, nullptr);
    case RC_EOL: b->prog->lineEndCount++; return RexAddNode(b, REX_EOL, 0, 0, nullptr);
    case RC_ANY: return RexAddNode(b, REX_ANY, 0, 0, nullptr);
    case RC_WHITE: return RexAddNode(b, REX_WHITE, 0, 0, nullptr);
    case RC_GROUP: return RexCompileGroup(b, true);
    case RC_GROUP_END: return RexCompileGroup(b, false);
    case RC_CLASS: return RexCompileClass(b, at);
    default: return REX_SYNTAX; // a "]" without "["
    }
}

static int RexCompileCodes(RexBuilder *b) {
    for (int32_t i = 0; i < b->count; i++) {
        int16_t code = b->codes[i];
        int r;
        if (code < 256) {
            if (!b->runLen) b->runStart = i;
            b->runLen++;
            continue;
        }
        if (code == RC_STAR || code == RC_PLUS) {
            r = RexCompileClosure(b, code == RC_STAR ? REX_STAR : REX_PLUS);
        } else {
            r = RexFlushRun(b, b->runLen);
            if (r == REX_OK) r = RexCompileOperator(b, &i);
        }
        if (r != REX_OK) return r;
    }
    int r = RexFlushRun(b, b->runLen);
    if (r == REX_OK && b->depth) return REX_SYNTAX;
    return r;
}

static int RexCompileRegex(RexProg *prog, const char *pattern) {
    size_t len = strlen(pattern);
    int16_t *codes = (int16_t *)MemAlloc((len + 1) * sizeof(int16_t));
    if (!codes) return REX_NO_ROOM;
    int32_t n = RexTranslate(pattern, codes);
    int r = REX_SYNTAX;
    if (n > 0) {
        if (prog->flags & REX_IGNORE_CASE)
            for (int32_t i = 0; i < n; i++)
                if (codes[i] < 256) codes[i] = RexUpper((unsigned char)codes[i]);
        RexBuilder b = {};
        b.prog = prog;
        b.codes = codes;
        b.count = n;
        r = RexCompileCodes(&b);
    }
    MemFree(codes);
    return r;
}

// Without the regular-expression flag the pattern is one string (or character) node, taken as written.
static int RexCompileLiteral(RexProg *prog, const char *pattern) {
    size_t len = strlen(pattern);
    if (!len) return REX_SYNTAX;
    bool upper = (prog->flags & REX_IGNORE_CASE) != 0;
    RexNode node = {REX_CHAR, upper ? RexUpper((unsigned char)pattern[0]) : (unsigned char)pattern[0], 0,
                    nullptr};
    if (len > 1) {
        char *str = (char *)MemDup(pattern, len + 1);
        if (!str) return REX_NO_ROOM;
        if (upper)
            for (size_t i = 0; i < len; i++) str[i] = (char)RexUpper((unsigned char)str[i]);
        node = {REX_STRING, (uint32_t)len, 0, str};
    }
    if (RexInsertNode(prog, 0, &node)) return REX_OK;
    MemFree(node.str);
    return REX_NO_ROOM;
}

int RexCompile(const char *pattern, int regex, int ignoreCase, int wholeWord, RexProg **out) {
    *out = nullptr;
    if (!pattern) pattern = "";
    RexProg *prog = RexAlloc(pattern);
    if (!prog) return 0;
    if (ignoreCase) prog->flags |= REX_IGNORE_CASE;
    if (wholeWord) prog->flags |= REX_WHOLE_WORD;
    int r = regex ? RexCompileRegex(prog, pattern) : RexCompileLiteral(prog, pattern);
    if (r == REX_OK) {
        *out = prog;
        return 1;
    }
    RexFree(prog);
    // Out of nodes counts as out of memory; the heap stays quiet about requests over its size limit.
    if (r == REX_SYNTAX)
        ErcSetF(ercRexSyntax);
    else if (ErcGet() != ercLowMemory)
        ErcSetF(ercLowMemory);
    return r;
}

// ---- Matching ----

struct RexMemoEntry {
    uint32_t gen; // valid when equal to the search's generation
    int32_t q;    // where the closure leaves the cursor, -1 when the list cannot match from here
    int32_t end;  // where the whole match then ends
};

struct RexRun {
    RexProg *prog;
    const unsigned char *text; // upper-cased copy with ignore case
    int32_t length;
    RexMemoEntry *memo; // a row of length + 1 entries per closure
    uint32_t gen;
};

static inline bool RexSetHas(const RexNode *node, unsigned char c) {
    const unsigned char *map = (const unsigned char *)node->str + node->a + 1;
    return (map[c >> 3] >> (c & 7)) & 1;
}

// One step at offset p: how far the node moves the cursor, or -1 when it does not match there.
static int32_t RexMatchOne(const RexNode *node, const RexRun *r, int32_t p) {
    if (p >= r->length) return node->type == REX_EOL ? 0 : -1;
    unsigned char c = r->text[p];
    bool hit;
    switch (node->type) {
    case REX_STRING:
        hit = c == (unsigned char)node->str[0] && r->length - p >= (int32_t)node->a &&
              memcmp(r->text + p, node->str, node->a) == 0;
        return hit ? (int32_t)node->a : -1;
    case REX_CHAR: hit = c == node->a; break;
    case REX_RANGE: hit = node->a <= c && c <= node->b; break;
    case REX_NOT_RANGE: hit = c < node->a || node->b < c; break;
    case REX_SET: hit = RexSetHas(node, c); break;
    case REX_NOT_SET: hit = !RexSetHas(node, c); break;
    case REX_EOL: hit = c == '\n'; break;
    case REX_ANY: hit = true; break;
    case REX_WHITE: hit = c == '\t' || c == ' '; break;
    default: hit = false;
    }
    return hit ? 1 : -1;
}

// A closure's item takes one step only where it moves the cursor: an end of line at the end of the text
// matches without moving and would otherwise repeat for ever.
static inline bool RexStepOne(const RexNode *item, const RexRun *r, int32_t p) {
    return p < r->length && RexMatchOne(item, r, p) == 1;
}

static inline bool RexKnown(const RexRun *r, const RexMemoEntry *e) {
    return e->gen == r->gen;
}
static inline void RexMemoSet(const RexRun *r, RexMemoEntry *e, int32_t p, int32_t end) {
    *e = {r->gen, end >= 0 ? p : -1, end};
}

static int32_t RexMatchNodes(const RexRun *r, int32_t i, int32_t p, bool record);

// Zero or more steps of the item from p, as many as leave the rest matching. Climbs the item's run to its end
// (or to a position already known), then comes down: at each position the answer is the one above when that
// matched, else whether the rest matches right here.
static const RexMemoEntry *RexLongest(const RexRun *r, int32_t c, RexMemoEntry *row, int32_t p) {
    const RexNode *item = &r->prog->nodes[c + 1];
    int32_t top = p;
    while (!RexKnown(r, row + top) && RexStepOne(item, r, top)) top++;
    if (!RexKnown(r, row + top)) RexMemoSet(r, row + top, top, RexMatchNodes(r, c + 2, top, false));
    for (int32_t u = top - 1; u >= p; u--) {
        if (row[u + 1].q >= 0)
            row[u] = row[u + 1];
        else
            RexMemoSet(r, row + u, u, RexMatchNodes(r, c + 2, u, false));
    }
    return row + p;
}

// Zero or more steps of ".": the fewest after which the rest matches.
static const RexMemoEntry *RexShortest(const RexRun *r, int32_t c, RexMemoEntry *row, int32_t p) {
    const RexNode *item = &r->prog->nodes[c + 1];
    int32_t top = p;
    for (; !RexKnown(r, row + top); top++) {
        int32_t end = RexMatchNodes(r, c + 2, top, false);
        if (end >= 0 || !RexStepOne(item, r, top)) {
            RexMemoSet(r, row + top, top, end);
            break;
        }
    }
    for (int32_t u = top - 1; u >= p; u--) row[u] = row[top];
    return row + p;
}

// The closure at node c matched at p: its memo entry, or null when the list cannot match from here.
static const RexMemoEntry *RexMatchClosure(const RexRun *r, int32_t c, int32_t p) {
    const RexNode *node = &r->prog->nodes[c], *item = node + 1;
    // Only a hand-built node list can hold these; the compiler refuses them.
    if (!RexIsClosable(item->type) || (int32_t)node->a >= r->prog->closureCount) return nullptr;
    if (node->type == REX_PLUS) {
        if (!RexStepOne(item, r, p)) return nullptr;
        p++;
    }
    RexMemoEntry *row = r->memo + (size_t)node->a * (size_t)(r->length + 1);
    const RexMemoEntry *e = item->type == REX_ANY ? RexShortest(r, c, row, p) : RexLongest(r, c, row, p);
    return e->q >= 0 ? e : nullptr;
}

static void RexRecordGroup(RexProg *prog, const RexNode *node, int32_t p) {
    if (node->a >= REX_GROUP_MAX) return;
    uint32_t *span = &prog->groupSpans[node->a];
    if (node->type == REX_GROUP_START)
        *span = (*span & 0xFFFF0000u) | (uint32_t)p;
    else
        *span = (*span & 0xFFFFu) | ((uint32_t)p << 16);
}

// Walks the list from node i at offset p: the end of the match, or -1. Without recording, a closure's memo
// entry already holds the end; recording replays the decisions the first walk memoised.
static int32_t RexMatchNodes(const RexRun *r, int32_t i, int32_t p, bool record) {
    for (;;) {
        const RexNode *node = &r->prog->nodes[i];
        switch (node->type) {
        case REX_END: return p;
        case REX_GROUP_START:
        case REX_GROUP_END:
            if (record) RexRecordGroup(r->prog, node, p);
            i++;
            break;
        case REX_BOL:
            if (p != 0) return -1;
            i++;
            break;
        case REX_STAR:
        case REX_PLUS: {
            const RexMemoEntry *e = RexMatchClosure(r, i, p);
            if (!e) return -1;
            if (!record) return e->end;
            p = e->q;
            i += 2;
            break;
        }
        default: {
            int32_t step = RexMatchOne(node, r, p);
            if (step < 0) return -1;
            p += step;
            i++;
        }
        }
    }
}

// Whole words: the characters around a match must be white space or punctuation other than "_" and "$".
static bool RexIsSeparator(unsigned char c) {
    if (c == ' ' || (c >= '\t' && c <= '\r')) return true;
    if (c == '_' || c == '$') return false;
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
           (c >= '{' && c <= '~');
}

static bool RexWordBounded(const RexRun *r, int32_t start, int32_t end) {
    if (!(r->prog->flags & REX_WHOLE_WORD)) return true;
    return (start == 0 || RexIsSeparator(r->text[start - 1])) &&
           (end >= r->length || RexIsSeparator(r->text[end]));
}

// The first node that must move the cursor, for skipping candidates that cannot start a match; null when
// the pattern can begin without moving.
static const RexNode *RexFirstStep(const RexProg *prog) {
    const RexNode *node = prog->nodes;
    while (node->type == REX_GROUP_START || node->type == REX_GROUP_END) node++;
    if (node->type == REX_PLUS) node++;
    if (node->type == REX_STRING) return node;
    return RexIsClosable(node->type) && node->type != REX_EOL ? node : nullptr;
}

static bool RexHasBody(const RexProg *prog) {
    for (uint32_t i = 0; i < prog->nodeCount; i++) {
        int32_t type = prog->nodes[i].type;
        if (type != REX_GROUP_START && type != REX_GROUP_END && type != REX_END) return true;
    }
    return false;
}

static int32_t RexSkipForward(const RexRun *r, const RexNode *first, int32_t c) {
    if (!first) return c;
    if (first->type != REX_CHAR && first->type != REX_STRING) {
        while (c < r->length && RexMatchOne(first, r, c) < 0) c++;
        return c;
    }
    int ch = first->type == REX_CHAR ? (int)first->a : (unsigned char)first->str[0];
    while (c < r->length) {
        const unsigned char *hit = (const unsigned char *)memchr(r->text + c, ch, (size_t)(r->length - c));
        if (!hit) break;
        c = (int32_t)(hit - r->text);
        if (first->type == REX_CHAR || RexMatchOne(first, r, c) >= 0) return c;
        c++;
    }
    return r->length;
}

static int32_t RexSkipBackward(const RexRun *r, const RexNode *first, int32_t c) {
    if (!first) return c;
    while (c >= 0 && RexMatchOne(first, r, c) < 0) c--;
    return c;
}

// The item of a closure over anything but "." that opens the pattern. When a search from c fails, so does
// every search from inside the item's run that starts at c: the closure would only take fewer steps of it.
static const RexNode *RexLeadingRun(const RexProg *prog) {
    const RexNode *node = prog->nodes;
    while (node->type == REX_GROUP_START) node++;
    if (node->type != REX_STAR && node->type != REX_PLUS) return nullptr;
    return node[1].type != REX_ANY && RexIsClosable(node[1].type) ? node + 1 : nullptr;
}

// Forward candidates run from s; the end of the text is a candidate too when the search began before it, so
// that 'a*$' finds the end of 'bb' as "$" does.
static int32_t RexSearchForward(const RexRun *r, int32_t s, int32_t *found) {
    const RexNode *first = RexFirstStep(r->prog), *run = RexLeadingRun(r->prog);
    int32_t last = s < r->length ? r->length : r->length - 1;
    for (int32_t c = s; c <= last; c++) {
        c = RexSkipForward(r, first, c);
        if (c > last) break;
        int32_t end = RexMatchNodes(r, 0, c, false);
        if (end < 0) {
            if (run)
                while (RexStepOne(run, r, c)) c++;
            continue;
        }
        if (!RexWordBounded(r, c, end)) {
            c = Max(end, c + 1) - 1; // on past the rejected match, and past an empty one too
            continue;
        }
        *found = c;
        return end;
    }
    return -1;
}

static int32_t RexSearchBackward(const RexRun *r, int32_t s, int32_t *found) {
    const RexNode *first = RexFirstStep(r->prog);
    for (int32_t c = s - 1; c >= 0; c--) {
        c = RexSkipBackward(r, first, c);
        if (c < 0) break;
        int32_t end = RexMatchNodes(r, 0, c, false);
        if (end >= 0 && RexWordBounded(r, c, end)) {
            *found = c;
            return end;
        }
    }
    return -1;
}

// A match at one fixed offset, for "^" patterns and the "$" pattern.
static int32_t RexSearchAt(const RexRun *r, int32_t at, int32_t *found) {
    int32_t end = RexMatchNodes(r, 0, at, false);
    if (end < 0 || !RexWordBounded(r, at, end)) return -1;
    *found = at;
    return end;
}

static int32_t RexSearch(const RexRun *r, int32_t s, int32_t *found) {
    const RexProg *prog = r->prog;
    bool forward = (prog->flags & REX_FORWARD) != 0;
    // "^": only offset 0. Backward it is found from any later start (and on an empty line), so that a
    // backward search finds line starts as a forward one does.
    if (prog->nodes[0].type == REX_BOL) {
        bool tried = forward ? s == 0 : s > 0 || r->length == 0;
        return tried ? RexSearchAt(r, 0, found) : -1;
    }
    // "$" alone: the end of the line, not a newline inside the text.
    if (prog->nodeCount == 2 && prog->nodes[0].type == REX_EOL) {
        bool tried = forward ? s < r->length : s == r->length;
        return tried ? RexSearchAt(r, r->length, found) : -1;
    }
    return forward ? RexSearchForward(r, s, found) : RexSearchBackward(r, s, found);
}

// Makes the memo ready for a text of the given length; a new generation forgets every entry at once.
static int RexMemoPrepare(RexProg *prog, int32_t length) {
    if (!prog->closureCount) return 1;
    size_t need = (size_t)prog->closureCount * (size_t)(length + 1);
    if (need > prog->memoCount) {
        MemFree(prog->memo);
        prog->memo = (RexMemoEntry *)MemAlloc(need * sizeof(RexMemoEntry));
        prog->memoCount = prog->memo ? (uint32_t)need : 0;
        prog->memoGen = 0;
        if (!prog->memo) return 0;
    }
    if (++prog->memoGen == 0) {
        memset(prog->memo, 0, prog->memoCount * sizeof(RexMemoEntry));
        prog->memoGen = 1;
    }
    return 1;
}

static void RexRecordGroups(const RexRun *r, int32_t start) {
    if (!r->prog->groupCount) return;
    memset(r->prog->groupSpans, 0, sizeof r->prog->groupSpans);
    RexMatchNodes(r, 0, start, true);
}

int RexMatch(RexProg *prog, const char *text, int32_t length) {
    if (!prog || !text || !RexHasBody(prog)) return 0;
    int32_t len = ClampValue(length, 0, REX_TEXT_MAX);
    if (!RexMemoPrepare(prog, len)) return 0;
    RexRun r = {prog, (const unsigned char *)text, len, prog->memo, prog->memoGen};
    unsigned char local[2103];
    unsigned char *copy = nullptr;
    if (prog->flags & REX_IGNORE_CASE) {
        copy = len < (int32_t)sizeof local ? local : (unsigned char *)MemAlloc((size_t)len);
        if (!copy) return 0;
        for (int32_t i = 0; i < len; i++) copy[i] = RexUpper((unsigned char)text[i]);
        r.text = copy;
    }
    int32_t start = 0;
    int32_t end = RexSearch(&r, ClampValue(prog->start, 0, len), &start);
    if (end >= 0) {
        prog->start = start;
        prog->matchEnd = end;
        RexRecordGroups(&r, start);
    }
    if (copy != local) MemFree(copy);
    return end >= 0;
}

int RexMatchPstr(RexProg *prog, const unsigned char *pstr) {
    if (!pstr) return 0;
    return RexMatch(prog, (const char *)pstr + 1, Min(pstr[0], 254));
}

void RexSetForward(RexProg *prog, int forward) {
    if (forward)
        prog->flags |= REX_FORWARD;
    else
        prog->flags &= ~(uint32_t)REX_FORWARD;
}
void RexSetStart(RexProg *prog, int32_t offset) {
    prog->start = offset;
}
void RexAdvanceStart(RexProg *prog) {
    prog->start++;
}
void RexGetMatch(const RexProg *prog, int32_t *start, int32_t *end) {
    *start = prog->start;
    *end = prog->matchEnd;
}
int32_t RexGroupCount(const RexProg *prog) {
    return (int32_t)prog->groupCount;
}
const uint32_t *RexGroupSpans(const RexProg *prog) {
    return prog->groupSpans;
}
int32_t RexLineEndCount(const RexProg *prog) {
    return (int32_t)prog->lineEndCount;
}

void RexGetPattern(const RexProg *prog, char *buffer, int32_t size) {
    if (size > 0) StrCopyMaxLen(prog->pattern, buffer, size - 1);
}

bool RexIsLiteral(const RexProg *prog) {
    return prog->nodeCount == 2 && prog->nodes[0].type == REX_STRING;
}

char *RexGetLiteral(const RexProg *prog, char *buffer, int32_t size) {
    if (size <= 0) return nullptr;
    buffer[0] = 0;
    if (!RexIsLiteral(prog)) return nullptr;
    StrCopyMaxLen(prog->nodes[0].str, buffer, size - 1);
    return buffer;
}

// ---- Replacement templates ----

static int RexTemplateAdd(RexTemplate *tmpl, int32_t kind, int32_t group, Handle *text) {
    if (tmpl->count >= REX_TEMPLATE_MAX) {
        HFree(text);
        return 0;
    }
    tmpl->parts[tmpl->count++] = {kind, group, text};
    return 1;
}

// A literal part holds at most 255 characters (its length byte): longer runs take several parts.
static int RexTemplateAddText(RexTemplate *tmpl, const char *text, size_t len) {
    while (len > 0) {
        size_t n = len < 255 ? len : 255;
        Handle *h = HAlloc((uint32_t)n + 2);
        if (!h) return 0;
        unsigned char *bytes = (unsigned char *)HLock(h);
        bytes[0] = (unsigned char)n;
        memcpy(bytes + 1, text, n);
        if (!RexTemplateAdd(tmpl, REX_PART_TEXT, 0, h)) return 0;
        text += n;
        len -= n;
    }
    return 1;
}

static unsigned char RexTemplateEscape(unsigned char c) {
    return c == 't' ? '\t' : c == 's' ? ' ' : c;
}

static int RexParseRegexTemplate(const RexProg *prog, RexTemplate *tmpl, const char *text) {
    char run[255];
    size_t runLen = 0;
    for (const char *p = text; *p; p++) {
        unsigned char c = (unsigned char)*p;
        int32_t kind = REX_PART_TEXT, group = 0;
        if (c == '\\') {
            if (!p[1]) break; // a single backslash at the end ends the template
            c = (unsigned char)*++p;
            if (c == 'm') {
                kind = REX_PART_MATCH;
            } else if (c >= '1' && c <= '9') {
                kind = REX_PART_GROUP;
                group = c - '1';
            } else {
                c = RexTemplateEscape(c);
            }
        }
        if (kind == REX_PART_TEXT) {
            run[runLen++] = (char)c;
            if (runLen < sizeof run) continue;
        }
        if (!RexTemplateAddText(tmpl, run, runLen)) return 0;
        runLen = 0;
        if (kind == REX_PART_TEXT) continue;
        if (kind == REX_PART_GROUP && (!prog || group >= (int32_t)prog->groupCount)) return 0;
        if (!RexTemplateAdd(tmpl, kind, group, nullptr)) return 0;
    }
    return RexTemplateAddText(tmpl, run, runLen);
}

int RexParseTemplate(const RexProg *prog, RexTemplate *tmpl, const char *text, int regex) {
    memset(tmpl, 0, sizeof *tmpl);
    if (!text) text = "";
    int ok = regex ? RexParseRegexTemplate(prog, tmpl, text) : RexTemplateAddText(tmpl, text, strlen(text));
    if (!ok) RexFreeTemplate(tmpl);
    return ok;
}

void RexFreeTemplate(RexTemplate *tmpl) {
    for (int32_t i = 0; i < tmpl->count && i < REX_TEMPLATE_MAX; i++) HFree(tmpl->parts[i].text);
    tmpl->count = 0;
}

// The bytes a template part stands for; false for a group the last match does not describe.
static bool RexPartBytes(const RexProg *prog, const RexTemplatePart *part, const char *text, int32_t length,
                         int32_t pos, int32_t matchEnd, const char **bytes, int32_t *n) {
    if (part->kind == REX_PART_TEXT) {
        const unsigned char *pstr = (const unsigned char *)HLock(part->text);
        *bytes = (const char *)pstr + 1;
        *n = pstr[0];
        return true;
    }
    int32_t from = pos, to = matchEnd;
    if (part->kind == REX_PART_GROUP) {
        if (!prog || part->group < 0 || part->group >= (int32_t)prog->groupCount) return false;
        from = (int32_t)(prog->groupSpans[part->group] & 0xFFFF);
        to = (int32_t)(prog->groupSpans[part->group] >> 16);
        if (from > to || to > length) return false; // spans of another text
    }
    *bytes = text + from;
    *n = to - from;
    return true;
}

// Case follow: a literal's k-th character is upper-cased when the match's k-th is an upper-case letter; past
// the end of the match the last decision holds.
static void RexFollowCase(char *out, int32_t n, const char *match, int32_t matchLen) {
    bool upper = false;
    for (int32_t k = 0; k < n; k++) {
        if (k < matchLen) upper = RexIsUpperLetter((unsigned char)match[k]);
        if (upper) out[k] = (char)RexUpper((unsigned char)out[k]);
    }
}

// Builds the expansion into out (room bytes at most): its length, or -1 when it does not fit.
static int32_t RexExpand(const RexProg *prog, const RexTemplate *tmpl, const char *text, int32_t length,
                         int32_t pos, int32_t matchEnd, int caseFollow, char *out, int32_t room) {
    int32_t built = 0;
    for (int32_t i = 0; i < tmpl->count && i < REX_TEMPLATE_MAX; i++) {
        const RexTemplatePart *part = &tmpl->parts[i];
        const char *bytes;
        int32_t n;
        if (!RexPartBytes(prog, part, text, length, pos, matchEnd, &bytes, &n) || n > room - built) return -1;
        memcpy(out + built, bytes, (size_t)n);
        if (caseFollow && part->kind == REX_PART_TEXT)
            RexFollowCase(out + built, n, text + pos, matchEnd - pos);
        built += n;
    }
    return built;
}

int RexBuildReplacement(const RexProg *prog, const RexTemplate *tmpl, char *text, int32_t *textLength,
                        int caseFollow, int32_t *position, int32_t matchEnd, int32_t bufferSize) {
    int32_t length = *textLength, pos = *position;
    if (!text || !tmpl || pos < 0 || pos > matchEnd || matchEnd > length || length >= bufferSize) return 0;
    int32_t room = bufferSize - 1 - (length - (matchEnd - pos)); // the new length stays below the buffer size
    char local[2400];
    char *built = room <= (int32_t)sizeof local ? local : (char *)MemAlloc((size_t)room);
    if (!built) return 0;
    int32_t n = RexExpand(prog, tmpl, text, length, pos, matchEnd, caseFollow, built, room);
    if (n >= 0) {
        memmove(text + pos + n, text + matchEnd, (size_t)(length - matchEnd));
        memcpy(text + pos, built, (size_t)n);
        *textLength = length - (matchEnd - pos) + n;
        text[*textLength] = 0;
        *position = pos + Max(n, 1);
    }
    if (built != local) MemFree(built);
    return n >= 0;
}

int RexReplace(const char *pattern, const char *templateText, int ignoreCase, char *text,
               int32_t bufferSize) {
    if (!text || bufferSize <= 0) return 0;
    const char *nul = (const char *)memchr(text, 0, (size_t)bufferSize);
    if (!nul) return 0;
    int32_t length = (int32_t)(nul - text);
    RexProg *prog;
    if (RexCompile(pattern, 1, ignoreCase, 0, &prog) != 1) return 0;
    RexTemplate tmpl;
    int ok = 0;
    if (RexParseTemplate(prog, &tmpl, templateText, 1)) {
        if (RexMatch(prog, text, length)) {
            int32_t pos = prog->start;
            ok = RexBuildReplacement(prog, &tmpl, text, &length, !ignoreCase, &pos, prog->matchEnd,
                                     bufferSize);
        }
        RexFreeTemplate(&tmpl);
    }
    RexFree(prog);
    return ok;
}
