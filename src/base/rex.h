// rex: the program's own regular-expression engine (prefix Rex). A pattern compiles into a flat list of at
// most 150 nodes that is matched against one line of text, forward or backward from a start offset, with
// options to ignore case and to require whole words; replacement templates insert the match, a group or
// literal text. With the regular-expression flag off the same interfaces search for a plain string.
// Portable: no Windows header, so it also builds natively for sanitizers and fuzzing.
// Success convention of the foundation (see erc.h): failure is false, 0, -1 or null, as each call says, with
// the current error set.
#pragma once

#include "base/heap.h"

#include <cstdint>

enum {
    REX_NODE_MAX = 150,
    REX_GROUP_MAX = 20,
    REX_TEMPLATE_MAX = 50, // parts of a replacement template
    REX_TEXT_MAX = 65535,  // group offsets are 16-bit: longer texts are searched in their first 65535 bytes
};

// RexProg flags.
enum {
    REX_FORWARD = 0x1,
    REX_IGNORE_CASE = 0x2,
    REX_WHOLE_WORD = 0x4,
};

// Node types.
enum {
    REX_END = -1,      // terminator
    REX_STRING = 0,    // two or more characters: str (a = its length)
    REX_CHAR = 1,      // a = the character
    REX_RANGE = 2,     // a = low, b = high, inclusive
    REX_NOT_RANGE = 3, // outside a..b
    REX_SET = 4,       // str = the characters (a = their count)
    REX_NOT_SET = 5,
    REX_BOL = 6,          // start of line, first node only
    REX_EOL = 7,          // end of line
    REX_STAR = 8,         // zero or more of the next node (a = the closure's ordinal among closures)
    REX_PLUS = 9,         // one or more of the next node (a = ordinal)
    REX_ANY = 10,         // any character
    REX_GROUP_START = 11, // a = group number from 0, in the order the groups open
    REX_GROUP_END = 12,   // a = the number of the group it closes
    REX_WHITE = 13,       // tab or blank
};

struct RexMemoEntry; // private to the matcher

// In memory only: the string pointer grows with the pointer size.
struct RexNode {
    int32_t type;
    uint32_t a;
    uint32_t b;
    char *str; // heap string or null
};

struct RexProg {
    uint32_t flags;
    int32_t start;    // where the next search starts; after a match, the match's start
    int32_t matchEnd; // just past the last match
    char *pattern;    // heap copy of the pattern as given
    uint32_t lineEndCount;
    uint32_t groupCount;
    uint32_t groupSpans[REX_GROUP_MAX]; // start in the low 16 bits, end in the high 16 bits
    uint32_t nodeCount;                 // the terminator included
    RexNode nodes[REX_NODE_MAX];
    // The matcher's own state: one memo row per closure node, each with an entry per text position, kept
    // between searches so that a search over many lines allocates once.
    int32_t closureCount;
    RexMemoEntry *memo;
    uint32_t memoCount; // entries allocated
    uint32_t memoGen;   // entries stamped with another generation are unknown
};

// A replacement template part: kind 0 literal text (a Handle holding a length-prefixed string and a NUL),
// kind 1 the whole match, kind 2 a group (group number from 0).
enum { REX_PART_TEXT = 0, REX_PART_MATCH = 1, REX_PART_GROUP = 2 };
struct RexTemplatePart {
    int32_t kind;
    int32_t group;
    Handle *text;
};
struct RexTemplate {
    int32_t count;
    RexTemplatePart parts[REX_TEMPLATE_MAX];
};

extern const char ercRexSyntax[]; // "Error in regular expression."

// 1 compiled; 0 out of memory or out of nodes (nothing kept); -1 syntax error, with the current error set.
int RexCompile(const char *pattern, int regex, int ignoreCase, int wholeWord, RexProg **out);
void RexFree(RexProg *prog);

// Searches from the start offset in the current direction; on success start and match end hold the match and
// the group spans are filled. 0 when there is no match (or no memory for the matcher's table).
int RexMatch(RexProg *prog, const char *text, int32_t length);
int RexMatchPstr(RexProg *prog, const unsigned char *pstr); // length capped at 254
void RexSetForward(RexProg *prog, int forward);
void RexSetStart(RexProg *prog, int32_t offset);
void RexAdvanceStart(RexProg *prog);
void RexGetMatch(const RexProg *prog, int32_t *start, int32_t *end);
int32_t RexGroupCount(const RexProg *prog);
const uint32_t *RexGroupSpans(const RexProg *prog);
int32_t RexLineEndCount(const RexProg *prog);
void RexGetPattern(const RexProg *prog, char *buffer, int32_t size);
bool RexIsLiteral(const RexProg *prog);
char *RexGetLiteral(const RexProg *prog, char *buffer, int32_t size);

int RexParseTemplate(const RexProg *prog, RexTemplate *tmpl, const char *text, int regex);
void RexFreeTemplate(RexTemplate *tmpl);
// Replaces text[*position .. matchEnd) by the template's expansion; *position becomes the offset after the
// inserted text (at least one past the old position). 0, buffer unchanged, when the result would not fit.
int RexBuildReplacement(const RexProg *prog, const RexTemplate *tmpl, char *text, int32_t *textLength,
                        int caseFollow, int32_t *position, int32_t matchEnd, int32_t bufferSize);
// Replaces the first match of the pattern in the NUL-terminated text; 0 when none or it does not fit.
int RexReplace(const char *pattern, const char *templateText, int ignoreCase, char *text, int32_t bufferSize);

// The compiler's building blocks.
RexProg *RexAlloc(const char *pattern);
int RexInsertNode(RexProg *prog, int32_t index, const RexNode *node);
void ArrayOpenGap(void *array, int32_t elementSize, int32_t index, int32_t count);
