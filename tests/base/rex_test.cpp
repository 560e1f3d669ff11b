// Regular expressions: compiled node lists; syntax errors and the node limit; searches forward and backward
// with their spans and groups (closures that must step back, empty matches, anchors, whole words, ignore
// case, the literal mode); the matcher against a plain backtracking model over random patterns; work bounds
// on patterns that would blow up; texts past the 16-bit range; garbage patterns; templates and replacement.
#include "base/erc.h"
#include "base/heap.h"
#include "base/rex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

enum { R = 1, I = 2, W = 4 }; // options: regular expression, ignore case, whole word

RexProg *Compile(const char *pattern, int opts = R) {
    RexProg *prog = nullptr;
    EXPECT_EQ(RexCompile(pattern, opts & R, (opts & I) != 0, (opts & W) != 0, &prog), 1) << pattern;
    return prog;
}

// "start-end", then each group as "(start-end)"; "none" when there is no match.
std::string Span(RexProg *prog, const std::string &text, int32_t start, bool forward) {
    RexSetForward(prog, forward);
    RexSetStart(prog, start);
    if (!RexMatch(prog, text.data(), (int32_t)text.size())) return "none";
    int32_t s, e;
    RexGetMatch(prog, &s, &e);
    std::string out = std::to_string(s) + "-" + std::to_string(e);
    for (int32_t g = 0; g < RexGroupCount(prog); g++) {
        uint32_t span = RexGroupSpans(prog)[g];
        out += "(" + std::to_string(span & 0xFFFF) + "-" + std::to_string(span >> 16) + ")";
    }
    return out;
}

std::string Find(const char *pattern, int opts, const std::string &text, int32_t start = 0,
                 bool forward = true) {
    RexProg *prog = Compile(pattern, opts);
    if (!prog) return "error";
    std::string out = Span(prog, text, start, forward);
    RexFree(prog);
    return out;
}

std::string Types(const RexProg *prog) {
    std::string out;
    for (uint32_t i = 0; i + 1 < prog->nodeCount; i++)
        out += (out.empty() ? "" : " ") + std::to_string(prog->nodes[i].type);
    return out;
}

} // namespace

TEST(Rex, CompiledNodes) {
    struct Case {
        const char *pattern;
        int opts;
        const char *types;
        int groups, lineEnds;
    } cases[] = {
        {"ab*", R, "1 8 1", 0, 0},
        {"abc", R, "0", 0, 0},
        {"abc*", R, "0 8 1", 0, 0}, // the closure takes the run's last character only
        {"[^0-9]", R, "3", 0, 0},
        {"[a-z]", R, "2", 0, 0},
        {"[a-cx]", R, "4", 0, 0},
        {"[^ab]", R, "5", 0, 0},
        {"^a.$", R, "6 1 10 7", 0, 1},
        {"a\\nb\\r", R, "1 7 1 7", 0, 2},
        {"\\(a*\\)\\wx", R, "11 8 1 12 13 1", 1, 0},
        {"a\\(b\\(c\\)\\)", R, "1 11 1 11 1 12 12", 2, 0},
        {"x.+", R, "1 9 10", 0, 0},
        {"a.c", 0, "0", 0, 0},  // literal mode
        {"^", 0, "1", 0, 0},    // literal mode takes "^" as a character
        {"ab\\", R, "0", 0, 0}, // a backslash at the very end ends the pattern
    };
    for (const Case &c : cases) {
        RexProg *prog = Compile(c.pattern, c.opts);
        ASSERT_TRUE(prog) << c.pattern;
        EXPECT_EQ(Types(prog), c.types) << c.pattern;
        EXPECT_EQ(RexGroupCount(prog), c.groups) << c.pattern;
        EXPECT_EQ(RexLineEndCount(prog), c.lineEnds) << c.pattern;
        RexFree(prog);
    }
    RexProg *prog = Compile("[a-cx]");
    EXPECT_STREQ(prog->nodes[0].str, "abcx");
    RexFree(prog);
    prog = Compile("[^0-9]");
    EXPECT_EQ(prog->nodes[0].a, (uint32_t)'0');
    EXPECT_EQ(prog->nodes[0].b, (uint32_t)'9');
    RexFree(prog);
}

TEST(Rex, LiteralQueries) {
    struct Case {
        const char *pattern;
        int opts;
        int literal;
        const char *text;
    } cases[] = {
        {"abc", R, 1, "abc"}, {"abc", R | I, 1, "ABC"}, {"a.c", 0, 1, "a.c"}, {"a", R, 0, ""},
        {"ab*", R, 0, ""},    {"a\\.c", R, 1, "a.c"},   {"[ab]", R, 0, ""},
    };
    for (const Case &c : cases) {
        RexProg *prog = Compile(c.pattern, c.opts);
        char buffer[16] = "junk";
        EXPECT_EQ(RexIsLiteral(prog), c.literal) << c.pattern;
        EXPECT_EQ(RexGetLiteral(prog, buffer, sizeof buffer) != nullptr, c.literal != 0) << c.pattern;
        EXPECT_STREQ(buffer, c.text) << c.pattern;
        RexGetPattern(prog, buffer, 3);
        EXPECT_EQ(std::string(buffer), std::string(c.pattern).substr(0, 2)) << "cut to the buffer";
        RexFree(prog);
    }
}

TEST(Rex, SyntaxErrors) {
    std::string longSet = "[" + std::string(256, 'x') + "]";
    std::string manyGroups;
    for (int i = 0; i < 21; i++) manyGroups += "\\(a\\)";
    const char *patterns[] = {
        "[z-a]",
        "[-a]",
        "[a-]",
        "[a--b]",
        "a^",
        "*a",
        "+",
        "a**",
        "a*+",
        "^*",
        "\\(*",
        "\\(a\\)*",
        "\\)",
        "]",
        "a]",
        "[abc",
        "[a\\]",
        "\\(a",
        "a\\)",
        "\\)\\(",
        "[]",
        "[^]",
        "",
        "\\",
        longSet.c_str(),
        manyGroups.c_str(),
    };
    for (const char *pattern : patterns) {
        ErcClear();
        RexProg *prog = (RexProg *)1;
        EXPECT_EQ(RexCompile(pattern, 1, 0, 0, &prog), -1) << pattern;
        EXPECT_EQ(prog, nullptr) << pattern;
        EXPECT_EQ(ErcGet(), ercRexSyntax) << pattern;
    }
    char text[ERC_TEXT_MAX];
    ErcGetText(text);
    EXPECT_STREQ(text, "Error in regular expression.");
    RexProg *prog = nullptr;
    EXPECT_EQ(RexCompile("", 0, 0, 0, &prog), -1) << "an empty literal";
    ErcClear();
}

TEST(Rex, NodeLimit) {
    std::string fits, over;
    for (int i = 0; i < 74; i++) fits += "a*"; // 148 nodes and the terminator
    over = fits + "a*";
    RexProg *prog = Compile(fits.c_str());
    ASSERT_TRUE(prog);
    EXPECT_EQ(prog->nodeCount, 149u);
    EXPECT_EQ(Span(prog, "aaab", 0, true), "0-3");
    RexFree(prog);
    ErcClear();
    EXPECT_EQ(RexCompile(over.c_str(), 1, 0, 0, &prog), 0);
    EXPECT_EQ(prog, nullptr);
    EXPECT_EQ(ErcGet(), ercLowMemory);
    ErcClear();
    std::string groups;
    for (int i = 0; i < 20; i++) groups += "\\(a\\)";
    prog = Compile(groups.c_str());
    ASSERT_TRUE(prog);
    EXPECT_EQ(RexGroupCount(prog), 20);
    std::string text(20, 'a');
    EXPECT_EQ(Span(prog, text, 0, true).substr(0, 5), "0-20(");
    EXPECT_EQ(RexGroupSpans(prog)[19], 19u | (20u << 16));
    RexFree(prog);
}

TEST(Rex, SearchSpans) {
    struct Case {
        const char *pattern;
        int opts;
        const char *text;
        int32_t start;
        bool forward;
        const char *span;
    } cases[] = {
        // direction and start offset
        {"o", R, "foo", 0, true, "1-2"},
        {"o", R, "foo", 3, false, "2-3"},
        {"o", R, "foo", 2, false, "1-2"},
        {"o", R, "foo", 0, false, "none"},
        {"o", R, "foo", 9, false, "2-3"},
        {"o", R, "foo", 3, true, "none"},
        {"o", R, "foo", -5, true, "1-2"},
        {"oo", R, "fooxoo", 2, true, "4-6"},
        {"oo", R, "fooxoo", 6, false, "4-6"},
        {"oo", R, "fooxoo", 5, false, "4-6"}, // a match begins before the start and may run past it
        {"oo", R, "fooxoo", 4, false, "1-3"},
        // closures that must step back
        {"a*a", R, "aaa", 0, true, "0-3"},
        {"[a-z]+ing", R, "sing", 0, true, "0-4"},
        {"[a-z]*x", R, "abx", 0, true, "0-3"},
        {"[a-z]*ing", R, "a singing bird", 0, true, "2-9"},
        {"[a-z]+ing", R, "a singing bird", 0, true, "2-9"},
        {"[a-z]+ing", R, "a singing bird", 9, false, "5-9"},
        {"a+a+a", R, "aaaa", 0, true, "0-4"},
        {"a+a+a", R, "aa", 0, true, "none"},
        {"x[0-9]*[0-9]", R, "x123y", 0, true, "0-4"},
        {"\\w*\\s", R, "a \t  b", 0, true, "1-5"},
        // the closure over "." takes the fewest steps; other closures the most
        {".*c", R, "abcbc", 0, true, "0-3"},
        {".+c", R, "cc", 0, true, "0-2"},
        {"a.*", R, "abc", 0, true, "0-1"},
        {"a.*$", R, "abc", 0, true, "0-3"},
        {"ab*", R, "abbbc", 0, true, "0-4"},
        {"a[^x]*", R, "abcxd", 0, true, "0-3"},
        // empty matches
        {"x*", R, "abc", 0, true, "0-0"},
        {"x*", R, "abc", 2, true, "2-2"},
        {"x*", R, "", 0, true, "none"},
        {"a*$", R, "bb", 0, true, "2-2"},
        {"\\(\\)", R, "abc", 0, true, "none"},
        // anchors
        {"^a", R, "ba", 0, true, "none"},
        {"^a", R, "ab", 1, true, "none"},
        {"^ab", R, "ab", 2, false, "0-2"},
        {"^", R, "ab", 0, true, "0-0"},
        {"^$", R, "", 0, true, "0-0"},
        {"^$", R, "", 0, false, "0-0"},
        {"^$", R, "a", 0, true, "none"},
        {"$", R, "abc", 0, true, "3-3"},
        {"$", R, "ab\ncd", 0, true, "5-5"},
        {"$", R, "abc", 3, true, "none"},
        {"$", R, "abc", 3, false, "3-3"},
        {"$", R, "abc", 2, false, "none"},
        {"c$", R, "abc", 0, true, "2-3"},
        {"b$", R, "ab\ncd", 0, true, "1-3"},
        {"b\\n", R, "ab", 0, true, "1-2"},
        // escapes and classes
        {"a\\.c", R, "abc a.c", 0, true, "4-7"},
        {"\\\\", R, "a\\b", 0, true, "1-2"},
        {"a\\tb", R, "a b a\tb", 0, true, "4-7"},
        {"a\\sb", R, "a\tb a b", 0, true, "4-7"},
        {"[*^]+", R, "ab^*c", 0, true, "2-4"},
        {"[\\^]", R, "a^", 0, true, "1-2"},
        {"[a\\-z]+", R, "b-za", 0, true, "1-4"},
        {"[\\w]", R, "ab\tc", 0, true, "2-3"},
        {"[.$*]+", R, "ab.$*c", 0, true, "2-5"},
        {"[\\(\\)]", R, "f(x)", 0, true, "1-2"},
        {"[^a-z]+", R, "abc123def", 0, true, "3-6"},
        {"[a-cx-z]+", R, "qqbyxq", 0, true, "2-5"},
        {"\\[x\\]", R, "a[x]", 0, true, "1-4"},
        {"[\xe0-\xff]+", R, "ab\xe9\xe8z", 0, true, "2-4"},
        // groups, numbered as they open
        {"\\(a\\)\\(b\\)", R, "ab", 0, true, "0-2(0-1)(1-2)"},
        {"\\(a\\(b\\)c\\)", R, "xabc", 0, true, "1-4(1-4)(2-3)"},
        {"\\([a-z]+\\)=\\([0-9]*\\)", R, "if x=12;", 0, true, "3-7(3-4)(5-7)"},
        {"\\([a-z]*\\)\\([a-z]*\\)", R, "abc", 0, true, "0-3(0-3)(3-3)"},
        {"\\(.*\\)\\(c\\)", R, "abcbc", 0, true, "0-3(0-2)(2-3)"},
        {"\\(a*\\)b", R, "xaab", 0, true, "1-4(1-3)"},
        // ignore case
        {"FOO", R | I, "a foo", 0, true, "2-5"},
        {"foo", R | I, "a FoO", 0, true, "2-5"},
        {"foo", R, "a FoO", 0, true, "none"},
        {"[a-c]+", R | I, "xABCx", 0, true, "1-4"},
        {"[^a-c]", R | I, "ABCx", 0, true, "3-4"},
        {"a.C", I, "xA.cx", 0, true, "1-4"},
        {"[{]", R | I, "[{", 0, true, "1-2"},
        // the literal mode
        {"a.c", 0, "abc a.c", 0, true, "4-7"},
        {"[a]*", 0, "x[a]*", 0, true, "1-5"},
        {"\\(", 0, "a\\(", 0, true, "1-3"},
        {"x", 0, "axbx", 4, false, "3-4"},
        // whole words
        {"ab", R | W, "xab ab", 0, true, "4-6"},
        {"ab", R | W, "ab_", 0, true, "none"},
        {"ab", R | W, "a$ab", 0, true, "none"},
        {"ab", R | W, "(ab)", 0, true, "1-3"},
        {"ab", R | W, "ab xab", 6, false, "0-2"},
        {"ab", R | W, "ab\xe9", 0, true, "none"},
        {"[a-z]+", R | W, "a1 bc", 0, true, "3-5"},
        {"x*", R | W, "ab", 0, true, "none"},
        {"x*", R | W, "a  b", 0, true, "2-2"},
        {"x*", R | W, "ab", 2, false, "none"},
        {"FOO", R | I | W, "foox Foo", 0, true, "5-8"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Find(c.pattern, c.opts, c.text, c.start, c.forward), c.span)
            << c.pattern << " on '" << c.text << "' from " << c.start
            << (c.forward ? " forward" : " backward");
}

// The found match moves the start: searching on from its end finds every match in turn.
TEST(Rex, SearchOnFromMatch) {
    RexProg *prog = Compile("[0-9]+");
    std::string text = "a1 22 333b";
    std::vector<std::string> found;
    int32_t s, e;
    RexSetStart(prog, 0);
    while (RexMatch(prog, text.data(), (int32_t)text.size())) {
        RexGetMatch(prog, &s, &e);
        found.push_back(text.substr(s, e - s));
        RexSetStart(prog, e);
    }
    EXPECT_EQ(found, (std::vector<std::string>{"1", "22", "333"}));
    found.clear();
    RexSetForward(prog, 0);
    RexSetStart(prog, (int32_t)text.size());
    while (RexMatch(prog, text.data(), (int32_t)text.size())) {
        RexGetMatch(prog, &s, &e);
        found.push_back(text.substr(s, e - s));
    }
    EXPECT_EQ(found, (std::vector<std::string>{"3", "33", "333", "2", "22", "1"}))
        << "backward, each match starts one before the last";
    RexSetStart(prog, 5);
    RexAdvanceStart(prog);
    EXPECT_EQ(prog->start, 6);
    RexFree(prog);

    prog = Compile("ab");
    unsigned char pstr[300];
    memset(pstr + 1, 'x', 299);
    pstr[0] = 255;
    memcpy(pstr + 254, "ab", 2);
    EXPECT_EQ(RexMatchPstr(prog, pstr), 0) << "the match would pass the 254th character";
    memcpy(pstr + 253, "ab", 2);
    EXPECT_EQ(RexMatchPstr(prog, pstr), 1);
    RexFree(prog);
}

// One compiled expression serves many lines of different lengths; its memo must not carry one line's answers
// into the next.
TEST(Rex, ReuseAcrossLines) {
    const char *lines[] = {"aaaaaaaaaaaaaaaaaaaab",          "ab", "",   "xaaaaab",
                           "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "b",  "aab"};
    const char *patterns[] = {"a*a*b", "\\(a+\\)b", "[a-z]*a", ".*b"};
    for (const char *pattern : patterns) {
        RexProg *shared = Compile(pattern);
        for (int round = 0; round < 2; round++)
            for (const char *line : lines) {
                EXPECT_EQ(Span(shared, line, 0, true), Find(pattern, R, line)) << pattern << " on " << line;
                std::string text = line;
                EXPECT_EQ(Span(shared, line, (int32_t)text.size(), false),
                          Find(pattern, R, line, (int32_t)text.size(), false))
                    << pattern << " backward on " << line;
            }
        RexFree(shared);
    }
}

// A plain backtracking matcher over the compiled nodes, with the same order of trials: closures over "."
// shortest first, the others longest first. Exponential, so only for short texts.
namespace {

int32_t ModelStep(const RexNode *n, const std::string &t, int32_t p) {
    if (p >= (int32_t)t.size()) return n->type == REX_EOL ? 0 : -1;
    unsigned char c = (unsigned char)t[p];
    switch (n->type) {
    case REX_STRING: return t.compare(p, n->a, n->str) == 0 ? (int32_t)n->a : -1;
    case REX_CHAR: return c == n->a ? 1 : -1;
    case REX_RANGE: return c >= n->a && c <= n->b ? 1 : -1;
    case REX_NOT_RANGE: return c < n->a || c > n->b ? 1 : -1;
    case REX_SET: return memchr(n->str, c, n->a) ? 1 : -1;
    case REX_NOT_SET: return memchr(n->str, c, n->a) ? -1 : 1;
    case REX_EOL: return c == '\n' ? 1 : -1;
    case REX_ANY: return 1;
    case REX_WHITE: return c == ' ' || c == '\t' ? 1 : -1;
    }
    return -1;
}

int32_t ModelMatch(const RexProg *prog, int32_t i, int32_t p, const std::string &t, uint32_t *spans) {
    const RexNode *n = &prog->nodes[i];
    switch (n->type) {
    case REX_END: return p;
    case REX_BOL: return p == 0 ? ModelMatch(prog, i + 1, p, t, spans) : -1;
    case REX_GROUP_START:
        spans[n->a] = (spans[n->a] & 0xFFFF0000) | p;
        return ModelMatch(prog, i + 1, p, t, spans);
    case REX_GROUP_END:
        spans[n->a] = (spans[n->a] & 0xFFFF) | (p << 16);
        return ModelMatch(prog, i + 1, p, t, spans);
    case REX_STAR:
    case REX_PLUS: {
        int32_t most = 0;
        while (p + most < (int32_t)t.size() && ModelStep(n + 1, t, p + most) == 1) most++;
        int32_t least = n->type == REX_PLUS ? 1 : 0;
        bool shortest = n[1].type == REX_ANY;
        for (int32_t k = shortest ? least : most; shortest ? k <= most : k >= least; k += shortest ? 1 : -1) {
            int32_t end = ModelMatch(prog, i + 2, p + k, t, spans);
            if (end >= 0) return end;
        }
        return -1;
    }
    default: {
        int32_t step = ModelStep(n, t, p);
        return step < 0 ? -1 : ModelMatch(prog, i + 1, p + step, t, spans);
    }
    }
}

bool ModelHasBody(const RexProg *prog) {
    for (uint32_t i = 0; i + 1 < prog->nodeCount; i++)
        if (prog->nodes[i].type != REX_GROUP_START && prog->nodes[i].type != REX_GROUP_END) return true;
    return false;
}

// Where a search from the start (forward) or the end (backward) of the text may begin a match.
std::vector<int32_t> ModelCandidates(const RexProg *prog, int32_t len, bool forward) {
    std::vector<int32_t> out;
    if (prog->nodes[0].type == REX_BOL) return {0};
    if (prog->nodeCount == 2 && prog->nodes[0].type == REX_EOL)
        return forward && len == 0 ? out : std::vector{len};
    if (forward && len > 0)
        for (int32_t c = 0; c <= len; c++) out.push_back(c);
    if (!forward)
        for (int32_t c = len - 1; c >= 0; c--) out.push_back(c);
    return out;
}

std::string ModelSpan(const RexProg *prog, const std::string &t, bool forward) {
    if (!ModelHasBody(prog)) return "none";
    for (int32_t c : ModelCandidates(prog, (int32_t)t.size(), forward)) {
        uint32_t spans[REX_GROUP_MAX] = {};
        int32_t end = ModelMatch(prog, 0, c, t, spans);
        if (end < 0) continue;
        std::string out = std::to_string(c) + "-" + std::to_string(end);
        for (uint32_t g = 0; g < prog->groupCount; g++)
            out += "(" + std::to_string(spans[g] & 0xFFFF) + "-" + std::to_string(spans[g] >> 16) + ")";
        return out;
    }
    return "none";
}

} // namespace

TEST(Rex, MatchesBacktrackingModel) {
    const char *tokens[] = {"a", "b", "c", ".", "[ab]", "[^a]", "[b-c]", "\\n", "*", "*", "+", "\\(", "\\)"};
    std::mt19937 rng(12345);
    int compared = 0;
    for (int iter = 0; iter < 20000; iter++) {
        std::string pattern = rng() % 8 == 0 ? "^" : "";
        int n = 1 + rng() % 7;
        for (int k = 0; k < n; k++) pattern += tokens[rng() % (sizeof tokens / sizeof tokens[0])];
        if (rng() % 8 == 0) pattern += "$";
        RexProg *prog = nullptr;
        if (RexCompile(pattern.c_str(), 1, 0, 0, &prog) != 1) continue;
        for (int t = 0; t < 4; t++) {
            std::string text;
            int len = rng() % 9;
            for (int k = 0; k < len; k++) text += "abc\n"[rng() % 4];
            int32_t end = (int32_t)text.size();
            ASSERT_EQ(Span(prog, text, 0, true), ModelSpan(prog, text, true))
                << pattern << " on '" << text << "'";
            ASSERT_EQ(Span(prog, text, end, false), ModelSpan(prog, text, false))
                << pattern << " back on '" << text;
            compared++;
        }
        RexFree(prog);
    }
    EXPECT_GT(compared, 10000) << "the generator must give patterns that compile";
}

// Patterns whose plain backtracking would take longer than the age of the universe; each must end quickly
// with the right answer.
TEST(Rex, WorkStaysBounded) {
    std::string closures;
    for (int i = 0; i < 40; i++) closures += "a*";
    std::string as(4000, 'a');
    struct Case {
        std::string pattern, text;
        bool forward;
        const char *span;
    } cases[] = {
        {closures + "b", as, true, "none"},
        {closures + "b", as, false, "none"},
        {closures + "b", as + "b", true, "0-4001"},
        {"\\(" + closures + "\\)c", as + "b", true, "none"},
        {".*.*.*.*.*.*.*.*x", as, true, "none"},
        {"[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*[a-z]*x", as, false, "none"},
        {"a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+$", as.substr(0, 300) + "b", true, "none"},
    };
    for (const Case &c : cases) {
        RexProg *prog = Compile(c.pattern.c_str());
        EXPECT_EQ(Span(prog, c.text, c.forward ? 0 : (int32_t)c.text.size(), c.forward), c.span)
            << c.pattern.substr(0, 20);
        RexFree(prog);
    }
}

TEST(Rex, LongTexts) {
    std::string text(70000, 'x');
    text.replace(100, 2, "ab");
    EXPECT_EQ(Find("ab", R, text), "100-102");
    text.replace(100, 2, "xx");
    text.replace(69000, 2, "ab");
    EXPECT_EQ(Find("ab", R, text), "none") << "past the engine's 65535 characters";
    EXPECT_EQ(Find("x*ab", R, text), "none");
    text.replace(65000, 3, "a=1");
    EXPECT_EQ(Find("\\([a-z]\\)=\\([0-9]\\)", R, text), "65000-65003(65000-65001)(65002-65003)");
    std::string mixed(3000, 'q'); // past the stack copy that ignore case uses
    mixed += "Xyz";
    EXPECT_EQ(Find("xYZ", R | I, mixed), "3000-3003");
    EXPECT_EQ(Find("xyz", R | I, mixed, 3003, false), "3000-3003");
}

TEST(Rex, HandBuiltLists) {
    RexProg *prog = RexAlloc("hand");
    RexNode star = {REX_STAR, 0, 0, nullptr}, chr = {REX_CHAR, 'a', 0, nullptr},
            bol = {REX_BOL, 0, 0, nullptr};
    EXPECT_EQ(RexInsertNode(prog, 1, &chr), 0) << "nothing goes after the terminator";
    EXPECT_EQ(RexInsertNode(prog, 0, &star), 1); // a closure with nothing to repeat
    EXPECT_EQ(Span(prog, "aaa", 0, true), "none");
    EXPECT_EQ(RexInsertNode(prog, 0, &star), 1); // a closure over a closure
    EXPECT_EQ(Span(prog, "aaa", 0, true), "none");
    EXPECT_EQ(RexInsertNode(prog, 2, &chr), 1); // star star a: the inner closure repeats "a"
    EXPECT_EQ(prog->closureCount, 2);
    EXPECT_EQ(Span(prog, "aaa", 0, true), "none");
    EXPECT_EQ(RexInsertNode(prog, 0, &chr), 1);
    EXPECT_EQ(RexInsertNode(prog, 0, &bol), 1);
    while (prog->nodeCount < REX_NODE_MAX) ASSERT_EQ(RexInsertNode(prog, 1, &chr), 1);
    EXPECT_EQ(RexInsertNode(prog, 1, &chr), 0) << "a 151st node";
    RexFree(prog);

    int values[6] = {1, 2, 3, 4, 5, 0};
    ArrayOpenGap(values, sizeof(int), 1, 5);
    EXPECT_EQ(std::vector<int>(values, values + 6), (std::vector<int>{1, 2, 2, 3, 4, 5}));
}

// Any pattern, however malformed, compiles or fails cleanly, and any match it gives lies inside the text.
TEST(Rex, GarbagePatterns) {
    std::mt19937 rng(777);
    const char alphabet[] = "ab^$.*+[]-\\()nrtswm09 \x01\xff";
    for (int iter = 0; iter < 3000; iter++) {
        std::string pattern;
        int len = rng() % 24;
        for (int k = 0; k < len; k++) pattern += alphabet[rng() % (sizeof alphabet - 1)];
        int opts = rng() % 8;
        RexProg *prog = nullptr;
        int r = RexCompile(pattern.c_str(), opts & R, opts & I, opts & W, &prog);
        ASSERT_TRUE(r == -1 || r == 0 || r == 1) << pattern;
        ASSERT_EQ(r == 1, prog != nullptr) << pattern;
        if (!prog) continue;
        std::string text;
        int textLen = rng() % 40;
        for (int k = 0; k < textLen; k++) text += alphabet[rng() % (sizeof alphabet - 1)];
        RexSetForward(prog, rng() % 2);
        RexSetStart(prog, (int32_t)(rng() % 50) - 5);
        if (RexMatch(prog, text.data(), textLen)) {
            int32_t s, e;
            RexGetMatch(prog, &s, &e);
            ASSERT_TRUE(0 <= s && s <= e && e <= textLen) << pattern << " on " << text;
            for (int32_t g = 0; g < RexGroupCount(prog); g++) {
                uint32_t span = RexGroupSpans(prog)[g];
                ASSERT_TRUE((span & 0xFFFF) <= (span >> 16) && (int32_t)(span >> 16) <= e) << pattern;
            }
        }
        RexFree(prog);
    }
    ErcClear();
}

// ---- Templates and replacement ----

namespace {

// Replaces the first match of pattern in text by the template: the new text, or "fail".
std::string Replace(const char *pattern, const char *templ, const std::string &text, int caseFollow = 0,
                    int opts = R, int32_t bufferSize = 256) {
    RexProg *prog = Compile(pattern, opts);
    RexTemplate tmpl;
    std::string out = "fail";
    std::vector<char> buffer(text.begin(), text.end());
    buffer.resize(std::max<size_t>(bufferSize, text.size() + 1), 0);
    if (RexParseTemplate(prog, &tmpl, templ, opts & R)) {
        if (RexMatch(prog, buffer.data(), (int32_t)text.size())) {
            int32_t length = (int32_t)text.size(), pos = prog->start;
            if (RexBuildReplacement(prog, &tmpl, buffer.data(), &length, caseFollow, &pos, prog->matchEnd,
                                    bufferSize)) {
                out = std::string(buffer.data());
                EXPECT_EQ((int32_t)out.size(), length);
            }
        }
        RexFreeTemplate(&tmpl);
    }
    RexFree(prog);
    return out;
}

} // namespace

TEST(Rex, Templates) {
    struct Case {
        const char *pattern, *templ, *text;
        int caseFollow;
        const char *result;
    } cases[] = {
        {"\\(a\\)\\(b\\)", "\\2\\1", "xaby", 0, "xbay"},
        {"[a-z]+", "<\\m>", "12 ab 34", 0, "12 <ab> 34"},
        {"b", "\\\\\\t\\s\\0\\x", "abc", 0, "a\\\t 0xc"},
        {"b", "end\\", "abc", 0, "aendc"},
        {"b", "", "abc", 0, "ac"},
        {"\\(b*\\)", "[\\1]", "abc", 0, "[]abc"},
        {"Foo", "bar", "a Foo", 1, "a Bar"},
        {"FOO", "barbaz", "FOO", 1, "BARBAZ"},
        {"fOO", "bar", "fOO", 1, "bAR"},
        {"Foo", "bar", "Foo", 0, "bar"},
        {"foo", "BAR", "foo", 1, "BAR"},
        {"F\\(oo\\)", "x\\1y", "Foo", 1, "XooY"},
        {"x*", "Q", "ab", 1, "Qab"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Replace(c.pattern, c.templ, c.text, c.caseFollow), c.result)
            << c.pattern << " -> " << c.templ;
    EXPECT_EQ(Replace("a", "\\1", "a", 0, 0), "\\1") << "without the regular-expression flag all is literal";
}

TEST(Rex, TemplateLimits) {
    int32_t handles = HLiveCount();
    RexProg *prog = Compile("\\(a\\)\\(b\\)");
    RexTemplate tmpl;
    std::string fifty, fiftyOne;
    for (int i = 0; i < 50; i++) fifty += "\\m";
    fiftyOne = fifty + "x";
    std::string longRun(600, 'z');
    struct Case {
        const char *text;
        int ok, parts;
    } cases[] = {
        {"\\2\\1", 1, 2},         {"\\3", 0, 0},           {"x\\9", 0, 0}, {fifty.c_str(), 1, 50},
        {fiftyOne.c_str(), 0, 0}, {longRun.c_str(), 1, 3}, {"", 1, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(RexParseTemplate(prog, &tmpl, c.text, 1), c.ok) << c.text;
        EXPECT_EQ(tmpl.count, c.parts) << c.text;
        RexFreeTemplate(&tmpl);
        EXPECT_EQ(HLiveCount(), handles) << "a failed parse frees what it built";
    }
    RexFree(prog);
    EXPECT_EQ(Replace("q", longRun.c_str(), "aqb", 0, R, 1024), "a" + longRun + "b");
}

TEST(Rex, ReplacementPositionAndRoom) {
    RexProg *prog = Compile("\\(b\\)");
    RexTemplate tmpl;
    ASSERT_EQ(RexParseTemplate(prog, &tmpl, "XY", 1), 1);
    char text[16] = "abc";
    RexMatch(prog, text, 3);
    int32_t length = 3, pos = 1;
    EXPECT_EQ(RexBuildReplacement(prog, &tmpl, text, &length, 0, &pos, 2, 4), 0)
        << "4 characters and a NUL in 4 bytes";
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(RexBuildReplacement(prog, &tmpl, text, &length, 0, &pos, 2, 5), 1);
    EXPECT_STREQ(text, "aXYc");
    EXPECT_EQ(length, 4);
    EXPECT_EQ(pos, 3);
    RexFreeTemplate(&tmpl);
    ASSERT_EQ(RexParseTemplate(prog, &tmpl, "", 1), 1);
    pos = 1;
    EXPECT_EQ(RexBuildReplacement(prog, &tmpl, text, &length, 0, &pos, 2, 16), 1);
    EXPECT_STREQ(text, "aYc");
    EXPECT_EQ(pos, 2) << "an empty replacement still moves on by one";
    RexFreeTemplate(&tmpl);
    ASSERT_EQ(RexParseTemplate(prog, &tmpl, "\\1", 1), 1);
    strcpy(text, "ab");
    RexMatch(prog, text, 2);
    strcpy(text, "b");
    length = 1;
    pos = 0;
    EXPECT_EQ(RexBuildReplacement(prog, &tmpl, text, &length, 0, &pos, 1, 16), 0) << "a group past the text";
    pos = 2;
    EXPECT_EQ(RexBuildReplacement(prog, &tmpl, text, &length, 0, &pos, 1, 16), 0)
        << "a start past the match end";
    RexFreeTemplate(&tmpl);
    RexFree(prog);
}

TEST(Rex, OneCallReplace) {
    struct Case {
        const char *pattern, *templ;
        int ignoreCase;
        const char *text;
        int32_t bufferSize;
        int ok;
        const char *result;
    } cases[] = {
        {"[a-z]+", "<\\m>", 0, "12 ab 34", 64, 1, "12 <ab> 34"},
        {"o", "0", 0, "foo", 64, 1, "f0o"},
        {"foo", "bar", 0, "Foo", 64, 0, "Foo"},
        {"foo", "bar", 1, "Foo", 64, 1, "bar"},
        {"[A-Z]oo", "bar", 0, "Foo", 64, 1, "Bar"},
        {"b", "xyz", 0, "abc", 5, 0, "abc"}, // would be as long as the buffer
        {"b", "xyz", 0, "abc", 6, 1, "axyzc"},
        {"[", "x", 0, "abc", 64, 0, "abc"},
        {"b", "\\5", 0, "abc", 64, 0, "abc"},
        {"[A-Za-z][A-Za-z0-9]*\\w*::", "", 0, "x = Foo \t::Bar::f()", 64, 1, "x = Bar::f()"},
    };
    for (const Case &c : cases) {
        char buffer[64];
        strcpy(buffer, c.text);
        EXPECT_EQ(RexReplace(c.pattern, c.templ, c.ignoreCase, buffer, c.bufferSize), c.ok) << c.pattern;
        EXPECT_STREQ(buffer, c.result) << c.pattern;
    }
    char full[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(RexReplace("a", "x", 0, full, 4), 0) << "no NUL inside the buffer";
    ErcClear();
}
