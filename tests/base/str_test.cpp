// C strings and characters. Groups: character classes; bounded copies, heap and handle copies and wide
// strings; editing in place (deletes, inserts, fills, trims, quotes, escapes); tab expansion and entab;
// lists; argument, word and quote scanning; tokens and brackets; searching and prefix comparisons.
// Buffers carry guard bytes: nothing may be written past a size.
#include "base/str.h"

#include "base/heap.h"
#include "strtest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(StrChar, Classes) {
    struct Case {
        char c;
        int cls, tokenCls;
    } cases[] = {
        {' ', CHAR_BLANK, CHAR_BLANK},     {'\t', CHAR_BLANK, CHAR_BLANK},
        {'a', CHAR_IDENT, CHAR_IDENT},     {'7', CHAR_IDENT, CHAR_IDENT},
        {'$', CHAR_IDENT, CHAR_IDENT},     {'~', CHAR_IDENT, CHAR_IDENT},
        {'_', CHAR_IDENT, CHAR_IDENT},     {'\n', CHAR_CONTROL, CHAR_CONTROL},
        {'+', CHAR_OTHER, CHAR_OTHER},     {'(', CHAR_OTHER, CHAR_DELIMITER},
        {';', CHAR_OTHER, CHAR_DELIMITER}, {'}', CHAR_OTHER, CHAR_DELIMITER},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CharClass(c.c), c.cls) << c.c;
        EXPECT_EQ(CharTokenClass(c.c), c.tokenCls) << c.c;
    }
    EXPECT_TRUE(CharIsPunct('!'));
    EXPECT_FALSE(CharIsPunct('_'));
    EXPECT_FALSE(CharIsPunct('$'));
    EXPECT_TRUE(CharIsQuote('\''));
    EXPECT_FALSE(CharIsDelimiter(0)) << "the terminating NUL is no delimiter";
}

TEST(StrCopy, BoundedCopies) {
    Guarded g(6, "ab");
    StrAppendMax("cdefgh", g.bytes, 5);
    EXPECT_STREQ(g.bytes, "abcde");
    EXPECT_TRUE(g.Intact());

    unsigned char p[8];
    MakePstr("xyz", p);
    Guarded h(5, "ab");
    StrAppendPstrMax(p, h.bytes, 4);
    EXPECT_STREQ(h.bytes, "abxy");
    EXPECT_TRUE(h.Intact());

    Guarded k(6, "name");
    StrPrepend("C:\\", k.bytes, 5);
    EXPECT_STREQ(k.bytes, "Cname") << "the prepended text is cut to fit";
    EXPECT_TRUE(k.Intact());

    Guarded m(4);
    EXPECT_STREQ(StrCopyN("abcdef", 3, m.bytes), "abc");
    EXPECT_TRUE(m.Intact());
    EXPECT_STREQ(StrCopyMax("abcdef", m.bytes, 3), "abc");

    struct Case {
        const char *src, *dots, *punct;
    } cases[] = {{"end...", "end", "end"}, {"a.b!?", "a.b!?", "a.b"}, {"...", "", ""}, {"x_", "x_", "x_"}};
    char out[16];
    for (const Case &c : cases) {
        EXPECT_STREQ(StrCopyStripDots(c.src, out, 15), c.dots);
        EXPECT_STREQ(StrCopyStripPunct(c.src, out, 15), c.punct);
    }
}

TEST(StrCopy, HeapAndHandleCopies) {
    char *d = SzDup("hello");
    EXPECT_STREQ(d, "hello");
    MemFree(d);
    d = SzDupN("hello", 3);
    EXPECT_STREQ(d, "hel");
    MemFree(d);

    char buf[6];
    EXPECT_EQ(SzDupIfLonger("hello", buf, 6), buf);
    char *heap = SzDupIfLonger("hello!", buf, 6);
    EXPECT_NE(heap, buf);
    EXPECT_STREQ(heap, "hello!");
    MemFree(heap);

    int32_t live = HLiveCount();
    Handle *h = SzHandleDup("abc");
    EXPECT_STREQ((char *)HLock(h), "abc");
    HFree(h);
    EXPECT_EQ(HLiveCount(), live);
}

TEST(StrEdit, DeleteAndInsert) {
    struct Case {
        const char *s;
        int pos, n;
        const char *result;
    } deletes[] = {
        {"abcdef", 1, 2, "adef"}, {"abcdef", 4, 10, "abcd"}, {"abc", 3, 1, "abc"},
        {"abc", 7, 1, "abc"},     {"abc", -1, 1, "abc"},     {"abc", 0, 0, "abc"},
    };
    for (const Case &c : deletes) {
        char buf[16];
        strcpy(buf, c.s);
        StrDeleteN(buf, c.pos, c.n);
        EXPECT_STREQ(buf, c.result) << c.s << " " << c.pos << " " << c.n;
    }
    char one[8] = "abc";
    StrDeleteAt(one, 1);
    EXPECT_STREQ(one, "ac");

    struct Insert {
        const char *dst;
        int pos;
        const char *src;
        int max;
        const char *result;
    } inserts[] = {
        {"ad", 1, "bc", 10, "abcd"},
        {"ad", 1, "bcxyz", 5, "abcxd"},
        {"abcde", 2, "zz", 5, "abcde"},
        {"ab", 9, "cd", 10, "abcd"},
    };
    for (const Insert &c : inserts) {
        Guarded g(c.max + 1, c.dst);
        StrInsertMax(g.bytes, c.pos, c.src, c.max);
        EXPECT_STREQ(g.bytes, c.result);
        EXPECT_TRUE(g.Intact()) << c.result;
    }

    struct Fill {
        const char *s;
        int pos, n, size;
        const char *result;
        int made;
    } fills[] = {
        {"ab", 1, 3, 10, "a---b", 3},
        {"abcd", 2, 3, 6, "ab---", 3},
        {"abcd", 1, 9, 6, "a----", 4},
        {"abcde", 5, 2, 6, "abcde", 0},
    };
    for (const Fill &c : fills) {
        Guarded g(c.size, c.s);
        EXPECT_EQ(StrInsertFill(g.bytes, c.pos, '-', c.n, c.size), c.made) << c.result;
        EXPECT_STREQ(g.bytes, c.result);
        EXPECT_TRUE(g.Intact()) << c.result;
    }
}

TEST(StrEdit, TrimQuoteAndCollapse) {
    struct Case {
        char *(*op)(char *);
        const char *s, *result;
    } cases[] = {
        {StrTrim, "  a b \t\r\n", "a b"},
        {StrTrim, " \t ", ""},
        {StrTrimRight, "  a  ", "  a"},
        {StrBlanksToUnderscores, "a b\tc", "a_b_c"},
        {StrCollapseBlanks, "a  \t b \n\nc ", "a b c "},
        {StrCollapseBlanks, "   ", " "},
        {StrUnquote, "\"a b\"", "a b"},
        {StrUnquote, "'x'", "x"},
        {StrUnquote, "\"x'", "\"x'"},
        {StrUnquote, "\"", "\""},
        {StrUnquote, "\"\"", ""},
    };
    for (const Case &c : cases) {
        char buf[32];
        strcpy(buf, c.s);
        EXPECT_STREQ(c.op(buf), c.result) << c.s;
    }

    char buf[32];
    strcpy(buf, "abcdefgh");
    EXPECT_STREQ(StrEllipsize(buf, 6), "abc...");
    strcpy(buf, "abcdefgh");
    EXPECT_STREQ(StrEllipsize(buf, 3), "abcdefgh") << "too short to take the dots";
    EXPECT_STREQ(StrEllipsize(buf, 8), "abcdefgh") << "nothing to cut";
    EXPECT_STREQ(StrRemoveChars("a-b_c-d", "-_", buf), "abcd");
    strcpy(buf, "a-b");
    EXPECT_STREQ(StrRemoveChars(buf, "-", buf), "ab") << "in place";

    struct Quote {
        const char *s, *chars;
        int size;
        const char *result;
        int quoted;
    } quotes[] = {
        {"a b", " ", 32, "\"a b\"", 1}, {"ab", " ", 32, "ab", 0},      {"a \"b\"", " ", 32, "a \"b\"", 0},
        {"a;b", "\";", 32, "a;b", 0},   {"a b", " ", 6, "\"a b\"", 1}, {"a b", " ", 5, "a b", 0},
    };
    for (const Quote &c : quotes) {
        Guarded g(c.size, c.s);
        EXPECT_EQ(StrQuoteIfNeeded(g.bytes, c.chars, c.size), c.quoted) << c.s << " " << c.size;
        EXPECT_STREQ(g.bytes, c.result);
        EXPECT_TRUE(g.Intact());
    }
}

TEST(StrEdit, EscapeRoundTrip) {
    const char *texts[] = {"plain", "a=\"b\"", "C:\\dir\\", "\\\\=", ""};
    for (const char *t : texts) {
        char esc[64], back[64];
        StrEscape(t, esc, sizeof esc);
        EXPECT_STREQ(StrUnescape(esc, back), t);
    }
    char esc[64];
    EXPECT_STREQ(StrEscape("a=b\\", esc, sizeof esc), "a\\=b\\\\");
    Guarded g(5);
    EXPECT_STREQ(StrEscape("ab=c", g.bytes, 5), "ab\\=") << "a cut never splits an escape pair";
    Guarded h(4);
    EXPECT_STREQ(StrEscape("ab=c", h.bytes, 4), "ab");
    EXPECT_TRUE(h.Intact());
    char back[16];
    EXPECT_STREQ(StrUnescape("ab\\", back), "ab") << "a backslash at the very end is dropped";
}

TEST(StrTabs, ExpandAndEntab) {
    struct Case {
        const char *s;
        int w;
        const char *expanded;
    } cases[] = {
        {"a\tb", 4, "a   b"},
        {"\tx", 4, "    x"},
        {"abcd\tx", 4, "abcd    x"},
        {"ab\t\tc", 4, "ab      c"},
        {"a\tb", 1, "a b"},
        {"a\tb", 0, "a b"}, // a width of 0 counts as 1 rather than dividing by zero
        {"a\tb\tc", 3, "a  b  c"},
    };
    for (const Case &c : cases) {
        char buf[64];
        strcpy(buf, c.s);
        EXPECT_STREQ(StrExpandTabs(buf, c.w, sizeof buf), c.expanded) << c.s << " w" << c.w;
    }

    struct Entab {
        const char *s;
        int w;
        const char *result;
    } entabs[] = {
        {"a   b", 4, "a\tb"},
        {"a       b", 4, "a\t\tb"}, // one tab per stop the run crosses, not one for the whole run
        {"abc b", 4, "abc b"},      // a single blank stays
        {"a  ", 4, "a  "},          // a run that ends before a stop stays
        {"        x", 4, "\t\tx"},
        {"a \t b", 4, "a\t b"},
    };
    for (const Entab &c : entabs) {
        char buf[64];
        strcpy(buf, c.s);
        EXPECT_STREQ(StrEntab(buf, c.w), c.result) << c.s;
    }

    // Entab then expand gives back the expanded text.
    const char *lines[] = {"a\tb", "\t\tint x;\t// c", "ab  cd    ef\t", "x  \t  y", "    "};
    for (int w : {2, 4, 8}) {
        for (const char *line : lines) {
            char expanded[128], again[128];
            strcpy(expanded, line);
            StrExpandTabs(expanded, w, sizeof expanded);
            strcpy(again, expanded);
            StrEntab(again, w);
            StrExpandTabs(again, w, sizeof again);
            EXPECT_STREQ(again, expanded) << line << " w" << w;
        }
    }
}

// The expansion stops at the size; the walk must then end at the cut rather than step past it into
// bytes that are no longer part of the string (here another tab it would expand beyond the size).
TEST(StrTabs, ExpandStaysWithinSize) {
    char bytes[8];
    memcpy(bytes, "\tx\0\t#\0", 7);
    EXPECT_STREQ(StrExpandTabs(bytes, 4, 3), "  ");
    EXPECT_EQ(bytes[3], '\t') << "the byte after the size is left alone";

    Guarded h(8, "ab\tcd\te");
    StrExpandTabs(h.bytes, 4, 8);
    EXPECT_STREQ(h.bytes, "ab  cd ");
    EXPECT_TRUE(h.Intact());
}

TEST(StrLists, JoinAndAppendUnique) {
    char list[64] = "";
    EXPECT_TRUE(StrJoinSemicolon(list, "a", sizeof list));
    EXPECT_TRUE(StrJoinSemicolon(list, "b", sizeof list));
    EXPECT_STREQ(list, "a; b");

    char u[64] = "";
    EXPECT_TRUE(StrAppendUnique(u, "Alpha", sizeof u));
    EXPECT_TRUE(StrAppendUnique(u, "ALPHA", sizeof u));
    EXPECT_TRUE(StrAppendUnique(u, "two words", sizeof u));
    EXPECT_TRUE(StrAppendUnique(u, "TWO WORDS", sizeof u));
    EXPECT_TRUE(StrAppendUnique(u, "alp", sizeof u)) << "a word inside another entry is not that entry";
    EXPECT_STREQ(u, "Alpha;\"two words\";alp");

    Guarded g(9, "abc");
    EXPECT_FALSE(StrJoinSemicolon(g.bytes, "defg", 9)) << "a word that does not fit is not cut in half";
    EXPECT_STREQ(g.bytes, "abc");
    EXPECT_TRUE(StrJoinSemicolon(g.bytes, "def", 9));
    EXPECT_STREQ(g.bytes, "abc; def");
    EXPECT_TRUE(g.Intact());
    Guarded h(6, "ab");
    EXPECT_FALSE(StrAppendUnique(h.bytes, "c d", 6)) << "no room for the quotes";
    EXPECT_STREQ(h.bytes, "ab");
}

TEST(StrScan, NextArgSequence) {
    struct Case {
        const char *text;
        std::vector<std::string> args;
    } cases[] = {
        {"  \"two words\" one,two", {"two words", "one", "two"}},
        {"a;b , c", {"a", "b", "c"}},
        {"\"esc \\\" q\" x", {"esc \\\" q", "x"}},
        {"\"open", {"open"}},
        {"\"\" x", {"", "x"}},
        {"   ", {}},
    };
    for (const Case &c : cases) {
        const char *cursor = c.text;
        char out[32];
        std::vector<std::string> got;
        while (StrNextArg(&cursor, out, sizeof out)) got.push_back(out);
        EXPECT_EQ(got, c.args) << c.text;
        EXPECT_EQ(*cursor, 0) << c.text;
    }
    const char *cursor = "abcdefgh next";
    Guarded g(4);
    EXPECT_TRUE(StrNextArg(&cursor, g.bytes, 4));
    EXPECT_STREQ(g.bytes, "abc") << "cut at size - 1";
    EXPECT_TRUE(g.Intact());
    EXPECT_STREQ(cursor, "next") << "the cursor passes the whole argument";
}

TEST(StrScan, WordsAndQuotes) {
    struct Word {
        const char *s, *word;
        int consumed;
    } words[] = {
        {"'a b' c", "a b", 5}, {"\"x\\\"y\" z", "x\\\"y", 6}, {"abc def", "abc", 3},
        {"abc", "abc", 3},     {"\"open", "open", 5},
    };
    for (const Word &c : words) {
        char out[16];
        EXPECT_EQ(StrNextWord(c.s, out, sizeof out) - c.s, c.consumed) << c.s;
        EXPECT_STREQ(out, c.word);
    }

    // A backslash right before the end hides no NUL: the scan stops at the string's end, not at the
    // quote that happens to lie in the bytes after it.
    const char text[] = "\"ab\\\0\"zz";
    EXPECT_EQ(StrSkipQuoted(text), text + 4);
    const char *s = "'a\\'b'c";
    EXPECT_EQ(StrSkipQuoted(s), s + 6);
    EXPECT_EQ(StrSkipQuotedRaw(s), s + 4);

    const char *u = "a\\;b;c";
    EXPECT_EQ(StrChrUnescaped(u, ';'), u + 4);
    const char *e = "a\\\\;";
    EXPECT_EQ(StrChrUnescaped(e, ';'), e + 3) << "an escaped backslash escapes nothing further";
    const char *q = "\"a;b\" 'c;d' e;f";
    EXPECT_EQ(StrChrOutsideQuotes(q, ';'), q + 13);
    EXPECT_EQ(StrChrOutsideQuotes("\"a;b", ';'), nullptr);
    const char *pb = "abc";
    EXPECT_EQ(StrPbrk(pb, "xc"), pb + 2);
    EXPECT_EQ(StrPbrk("abc", "xy"), nullptr);

    const char *r = "a,b,c";
    EXPECT_EQ(StrRChrRange(r, r + 4, ','), r + 3);
    EXPECT_EQ(StrRChrRange(r, r + 2, ','), r + 1);
    EXPECT_EQ(StrRChrRange(r, r + 0, ','), r) << "none: begin";

    const char *b = "ab \t ";
    EXPECT_EQ(StrSkipBlanksBack(b, b + 5), b + 1) << "from the NUL back to 'b'";
    EXPECT_EQ(StrSkipBlanksBack(b + 2, b + 4), b + 2) << "never before begin";
    EXPECT_STREQ(StrSkipBlanks(" \t x"), "x");
    EXPECT_STREQ(StrSkipSeparators(" ;, x"), "x");
    EXPECT_STREQ(StrSkipToSeparator("abc;d"), ";d");
}

TEST(StrScan, Tokens) {
    struct Case {
        const char *s;
        int length;
    } cases[] = {
        {">>=x", 3}, {">>x", 2},     {"<<=", 3},   {"->m", 2}, {"::x", 2}, {"&&b", 2}, {"+=1", 2},
        {"~=", 2},   {"++i", 2},     {"abc+d", 3}, {"+", 1},   {"(x)", 1}, {"{", 1},   {"   x", 3},
        {"", 0},     {"a1_$~ z", 5}, {"!=x", 2},   {"+-x", 2}, {",,", 1},
    };
    for (const Case &c : cases) EXPECT_EQ(StrSkipToken(c.s) - c.s, c.length) << c.s;
    const char *t = "a  +=  b";
    EXPECT_EQ(StrNextToken(t), t + 3);
    EXPECT_EQ(StrNextToken(t + 3), t + 7);

    struct Prev {
        const char *s;
        int pos, start;
    } prevs[] = {
        {"foo->bar", 5, 3}, {"foo  ", 5, 0}, {"a::b", 3, 1}, {"x+=y", 3, 1},
        {"f(a)", 4, 3},     {"  ", 2, 0},    {"ab", 0, 0},   {"a >> b", 5, 2},
    };
    for (const Prev &c : prevs)
        EXPECT_EQ(StrPrevToken(c.s, c.s + c.pos) - c.s, c.start) << c.s << " @" << c.pos;
}

TEST(StrScan, Brackets) {
    const char *s = "a(b)c)d";
    EXPECT_EQ(StrFindClosing(s, '(', ')'), s + 5);
    EXPECT_EQ(StrFindClosing("(x)", '(', ')'), nullptr);
    const char *b = "x[1](2)] y";
    EXPECT_EQ(StrFindCloseBracket(b), b + 8);
    EXPECT_EQ(StrFindCloseBracket("(a)"), nullptr);

    const char *o = "f(a, g(b), c[1], ";
    EXPECT_EQ(StrFindOpenBracket(o, o + strlen(o)), o + 1);
    EXPECT_EQ(StrFindOpenBracket(o, o + 7), o + 6);
    EXPECT_EQ(StrFindOpenBracket(o, o + 1), nullptr);
    const char *a = "map<int, vector<x>, p->q, ";
    EXPECT_EQ(StrFindOpenAngle(a, a + strlen(a)), a + 3) << "the '>' of \"->\" closes nothing";
    EXPECT_EQ(StrFindOpenAngle(a, a + 3), nullptr);
}

TEST(StrCompare, SearchAndPrefixes) {
    const char *t = "Hello World";
    EXPECT_EQ(StrFindI("WORLD", t), t + 6);
    EXPECT_EQ(StrFindI("worlds", t), nullptr);
    EXPECT_EQ(StrFindI("", t), t);
    EXPECT_EQ(MemIndexOf("abcabc", 6, 'c'), 2);
    EXPECT_EQ(MemIndexOf("abc", 3, 'z'), -1);
    EXPECT_EQ(MemIndexOf("abc", 0, 'a'), -1);
    EXPECT_EQ(StrCountNonBlank(" a b\tc\n"), 3);
    EXPECT_TRUE(StrIsBlank(" \t"));
    EXPECT_TRUE(StrIsBlank(""));
    EXPECT_FALSE(StrIsBlank(" x"));

    struct Mixed {
        const char *s;
        int mixed;
    } mixes[] = {{"Main.c", 1}, {"MAIN.C", 0}, {"main.c", 0}, {"mAIN", 1}, {"_Foo", 1}, {"", 0}, {"123", 0}};
    for (const Mixed &c : mixes) EXPECT_EQ(StrIsMixedCase(c.s), c.mixed) << c.s;

    struct Pair {
        bool (*op)(const char *, const char *);
        const char *a, *b;
        int result;
    } pairs[] = {
        {StrHasPrefix, "ab", "abc", 1},
        {StrHasPrefix, "aB", "abc", 0},
        {StrHasPrefix, "", "abc", 1},
        {StrHasPrefixI, "aB", "abc", 1},
        {StrHasPrefixI, "abcd", "abc", 0},
        {StrSamePrefixI, "ABC", "ab", 1},
        {StrSamePrefixI, "ab", "ac", 0},
        {StrHasSuffixI, "Countries", "IES", 1},
        {StrHasSuffixI, "es", "ies", 0},
        {StrHasSuffixI, "ies", "ies", 1},
        {StrFirstWordIsI, "Define x", "define", 1},
        {StrFirstWordIsI, "Defined x", "define", 0},
        {StrFirstWordIsI, "def", "define", 0},
        {StrFirstWordIsI, "define\ty", "DEFINE", 1},
    };
    for (const Pair &c : pairs) EXPECT_EQ(c.op(c.a, c.b), c.result) << c.a << " / " << c.b;

    EXPECT_EQ(StrCommonPrefixLen("abcd", "abXd"), 2);
    EXPECT_EQ(StrCommonPrefixLenI("ABcd", "abCx"), 3);
    EXPECT_EQ(StrCommonPrefixLen("ab", "ab"), 2);
    EXPECT_TRUE(MemEqualI("aBc", "AbC", 3));
    EXPECT_FALSE(MemEqualI("abc", "abd", 3));
}

TEST(StrCopy, WideStrings) {
    wchar_t wide[8];
    for (wchar_t &w : wide) w = L'#';
    EXPECT_EQ(SzToWide("abc", wide, 8), 3);
    EXPECT_EQ(std::wstring(wide), L"abc");
    for (wchar_t &w : wide) w = L'#';
    EXPECT_EQ(SzToWide("abcdef", wide, 4), 3);
    EXPECT_EQ(std::wstring(wide), L"abc") << "terminated inside the buffer";
    EXPECT_EQ(wide[4], L'#');
}
