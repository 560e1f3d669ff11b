// String, number and comparison utilities. Groups: character classes; length-prefixed strings and bounded
// copies; heap and handle copies; counted blocks and strings in files (round trip, cut, truncated and
// corrupt input); editing in place; tab expansion and entab; lists; argument, word and quote scanning;
// tokens and brackets; searching and prefix comparisons; identifier order; time comparison; binary search;
// integer arithmetic; the pacing timer through its clock seam; environment variables and wide strings.
#include "base/str.h"
#include "base/pstr.h"
#include "base/strfile.h"
#include "base/ident.h"
#include "base/num.h"
#include "base/tick.h"
#include "base/util.h"

#include "base/file.h"
#include "base/heap.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

// A buffer of the given size followed by guard bytes, to catch any write past the size.
struct Guarded {
    char bytes[600];
    int size;
    explicit Guarded(int size_, const char *text = "") : size(size_) {
        memset(bytes, '#', sizeof bytes);
        strcpy(bytes, text);
    }
    bool Intact() const {
        for (int i = size; i < size + 16; i++)
            if (bytes[i] != '#') return false;
        return true;
    }
};

std::string Pstr(const unsigned char *p) {
    return std::string((const char *)p + 1, p[0]);
}

void MakePstr(const std::string &s, unsigned char *p) {
    p[0] = (unsigned char)s.size();
    memcpy(p + 1, s.data(), s.size());
}

} // namespace

TEST(UtilChar, Classes) {
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

TEST(UtilPstr, ConversionsAndAppends) {
    char text[400];
    strcpy(text, "hello");
    EXPECT_EQ(Pstr(PstrFromSzInPlace(text)), "hello");
    std::string longText(300, 'x');
    strcpy(text, longText.c_str());
    EXPECT_EQ(PstrFromSzInPlace(text)[0], 255) << "a long string is cut, not given a wrapped length";
    strcpy(text, longText.c_str());
    EXPECT_EQ(PstrFromSzInPlaceCut(text)[0], 255);

    unsigned char a[256], b[256];
    MakePstr(std::string(200, 'a'), a);
    MakePstr(std::string(100, 'b'), b);
    PstrAppend(b, a);
    EXPECT_EQ(a[0], 255);
    EXPECT_EQ(Pstr(a), std::string(200, 'a') + std::string(55, 'b'));
}

// A source that does not fit is cut at max; the length byte never says more than was written, and at max
// 255 it must not wrap to 0.
TEST(UtilPstr, AppendMaxCutsAtMax) {
    struct Case {
        std::string dst, src;
        int max;
        std::string result;
        int fits;
    } cases[] = {
        {"abc", "de", 10, "abcde", 1},
        {"abc", "defgh", 5, "abcde", 0},
        {"abc", "", 3, "abc", 1},
        {std::string(250, 'a'), "bcdefgh", 255, std::string(250, 'a') + "bcdef", 0},
    };
    for (const Case &c : cases) {
        unsigned char buf[300], src[256];
        memset(buf, '#', sizeof buf);
        MakePstr(c.dst, buf);
        MakePstr(c.src, src);
        EXPECT_EQ(PstrAppendMax(src, buf, c.max), c.fits) << c.result;
        EXPECT_EQ(Pstr(buf), c.result);
        EXPECT_EQ(buf[c.max + 1], '#') << "nothing written past max";
    }
}

TEST(UtilPstr, BoundedCopies) {
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

TEST(UtilPstr, HeapAndHandleCopies) {
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
    h = PstrHandleFromSz(std::string(300, 'q').c_str());
    EXPECT_EQ(((unsigned char *)HLock(h))[0], 255);
    HFree(h);
    h = PstrHandleFromSzNul("abcdef");
    EXPECT_EQ(std::string((char *)HLock(h) + 1), "abcdef") << "followed by a NUL";
    HFree(h);
    unsigned char p[8];
    MakePstr("xy", p);
    h = PstrHandleDup(p);
    EXPECT_EQ(memcmp(HLock(h), p, 3), 0);
    HFree(h);
    EXPECT_EQ(HLiveCount(), live);
}

namespace {

struct TempFile {
    std::string path;
    int file;
    TempFile() : path(VxTempDir() + "\\counted.bin"), file(FileOpen(path.c_str(), FILE_OPEN_CREATE)) {}
    ~TempFile() { FileClose(file); }
    void Rewind() { FileSeek(file, 0); }
};

} // namespace

TEST(UtilCounted, BlocksAndStringsRoundTrip) {
    TempFile t;
    ASSERT_GE(t.file, 0);
    Handle *h = HAllocCopy(10, "0123456789");
    ASSERT_TRUE(HandleWrite(t.file, h));
    ASSERT_TRUE(StrWriteCounted("first", t.file));
    ASSERT_TRUE(StrWriteCounted("", t.file));
    ASSERT_TRUE(StrWriteCounted(std::string(40, 'L').c_str(), t.file));
    ASSERT_TRUE(StrWriteCounted("after", t.file));
    EXPECT_EQ(FileGetSize(t.file), 4 + 10 + 4 + 6 + 4 + 1 + 4 + 41 + 4 + 6u);
    t.Rewind();

    Handle *back = HandleRead(t.file);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(HSize(back), 10u);
    EXPECT_EQ(memcmp(HLock(back), "0123456789", 10), 0);
    HFree(back);
    HFree(h);

    Guarded g(9);
    EXPECT_TRUE(StrReadCounted(g.bytes, t.file, 8));
    EXPECT_STREQ(g.bytes, "first");
    EXPECT_TRUE(StrReadCounted(g.bytes, t.file, 8));
    EXPECT_STREQ(g.bytes, "");
    // A longer stored string fills max characters and its NUL goes at buffer[max], inside the caller's
    // max + 1 bytes; the rest is skipped so the next string reads whole.
    EXPECT_TRUE(StrReadCounted(g.bytes, t.file, 8));
    EXPECT_STREQ(g.bytes, "LLLLLLLL");
    EXPECT_TRUE(g.Intact());
    EXPECT_TRUE(StrReadCounted(g.bytes, t.file, 8));
    EXPECT_STREQ(g.bytes, "after");
    EXPECT_FALSE(StrReadCounted(g.bytes, t.file, 8)) << "nothing left";
}

TEST(UtilCounted, TruncatedAndCorruptInput) {
    struct Case {
        const char *name;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"no length", {}},
        {"short length", {5, 0}},
        {"length past the end", {20, 0, 0, 0, 'a', 'b'}},
        {"huge length", {0xff, 0xff, 0xff, 0x7f, 'a'}},
    };
    for (const Case &c : cases) {
        TempFile t;
        ASSERT_GE(t.file, 0);
        if (!c.bytes.empty()) FileWriteExact(t.file, c.bytes.data(), (int32_t)c.bytes.size());
        t.Rewind();
        int32_t live = HLiveCount();
        EXPECT_EQ(HandleRead(t.file), nullptr) << c.name;
        EXPECT_EQ(HLiveCount(), live) << c.name << ": nothing allocated for a corrupt length";
        t.Rewind();
        char buf[32];
        EXPECT_FALSE(StrReadCounted(buf, t.file, 31)) << c.name;
        EXPECT_STREQ(buf, "") << c.name;
    }
}

TEST(UtilCounted, LongStringsRoundTrip) {
    TempFile t;
    ASSERT_GE(t.file, 0);
    std::string texts[] = {"", "short", std::string(LONG_STR_SIZE - 1, 'x')};
    for (const std::string &text : texts) EXPECT_EQ(StrWriteLong(text.c_str(), t.file), 1) << text.size();
    uint32_t size = FileGetSize(t.file);
    EXPECT_EQ(StrWriteLong(std::string(LONG_STR_SIZE, 'y').c_str(), t.file), 0)
        << "it could not be read back";
    EXPECT_EQ(FileGetSize(t.file), size) << "nothing written";
    t.Rewind();
    for (const std::string &text : texts) {
        char *s = StrReadLong(t.file);
        ASSERT_TRUE(s) << text.size();
        EXPECT_EQ(std::string(s), text);
        FreeBlock(s);
    }
    EXPECT_EQ(StrReadLong(t.file), nullptr) << "at the end";
}

TEST(UtilCounted, LongStringsFromDamagedFiles) {
    struct Case {
        const char *what;
        std::string bytes;
        int expectedLength; // -1: refused
        const char *expected;
    } cases[] = {
        {"length 0", std::string("\0\0\0\0", 4) + "abc", -1, nullptr},
        {"one past the block", std::string("\x01\x0A\0\0", 4) + std::string(2561, 'a'), -1, nullptr},
        {"huge", std::string("\xFF\xFF\xFF\xFF", 4) + "abc", -1, nullptr},
        {"truncated text", std::string("\x0A\0\0\0", 4) + "abc", -1, nullptr},
        {"truncated length", std::string("\x0A\0", 2), -1, nullptr},
        {"no NUL at the end", std::string("\x03\0\0\0", 4) + "abc", 2, "ab"},
        {"whole block", std::string("\0\x0A\0\0", 4) + std::string(2559, 'a') + '\0', 2559, nullptr},
    };
    for (const Case &c : cases) {
        TempFile t;
        ASSERT_GE(t.file, 0);
        FileWriteExact(t.file, c.bytes.data(), (int32_t)c.bytes.size());
        t.Rewind();
        int32_t live = HLiveCount();
        char *s = StrReadLong(t.file);
        if (c.expectedLength < 0) {
            EXPECT_EQ(s, nullptr) << c.what;
        } else {
            ASSERT_TRUE(s) << c.what;
            EXPECT_EQ(strlen(s), (size_t)c.expectedLength) << c.what;
            if (c.expected) {
                EXPECT_STREQ(s, c.expected) << c.what;
            }
        }
        FreeBlock(s);
        EXPECT_EQ(HLiveCount(), live) << c.what;
    }
}

TEST(UtilEdit, DeleteAndInsert) {
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

TEST(UtilEdit, TrimQuoteAndCollapse) {
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

TEST(UtilEdit, EscapeRoundTrip) {
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

TEST(UtilTabs, ExpandAndEntab) {
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
TEST(UtilTabs, ExpandStaysWithinSize) {
    char bytes[8];
    memcpy(bytes, "\tx\0\t#\0", 7);
    EXPECT_STREQ(StrExpandTabs(bytes, 4, 3), "  ");
    EXPECT_EQ(bytes[3], '\t') << "the byte after the size is left alone";

    Guarded h(8, "ab\tcd\te");
    StrExpandTabs(h.bytes, 4, 8);
    EXPECT_STREQ(h.bytes, "ab  cd ");
    EXPECT_TRUE(h.Intact());
}

TEST(UtilLists, JoinAndAppendUnique) {
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

TEST(UtilScan, NextArgSequence) {
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

TEST(UtilScan, WordsAndQuotes) {
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

TEST(UtilScan, Tokens) {
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

TEST(UtilScan, Brackets) {
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

TEST(UtilCompare, SearchAndPrefixes) {
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
        int (*op)(const char *, const char *);
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
        {StrHasPrefixIdentI, "__ab", "_AbC", 1},
        {StrHasPrefixIdentI, "abd", "_abc", 0},
    };
    for (const Pair &c : pairs) EXPECT_EQ(c.op(c.a, c.b), c.result) << c.a << " / " << c.b;

    EXPECT_EQ(StrCommonPrefixLen("abcd", "abXd"), 2);
    EXPECT_EQ(StrCommonPrefixLenI("ABcd", "abCx"), 3);
    EXPECT_EQ(StrCommonPrefixLen("ab", "ab"), 2);
    EXPECT_TRUE(MemEqualI("aBc", "AbC", 3));
    EXPECT_FALSE(MemEqualI("abc", "abd", 3));
    unsigned char p[8], q[8];
    MakePstr("abcdef", p);
    EXPECT_TRUE(PstrHasPrefixSz(p, "abc"));
    EXPECT_FALSE(PstrHasPrefixSz(p, "abcdefg"));
    MakePstr("_Ab", q);
    EXPECT_TRUE(PstrIsIdentPrefix(q, p));
}

TEST(UtilCompare, IdentifierOrder) {
    struct Case {
        const char *a, *b;
        int order, exact;
    } cases[] = {
        {"abc", "_abc", -1, -1}, {"_abc", "__abc", -1, -1}, {"abc", "__abc", -1, -1},
        {"abc", "ABD", -1, 1},   {"Abc", "abc", 0, -1},     {"abc", "abc", 0, 0},
        {"_b", "a", 1, 1},       {"a", "ab", -1, -1},       {"", "_", -1, -1},
        {"", "", 0, 0},          {"__x", "_y", -1, -1},     {"a_b", "ab", 1, -1},
    };
    for (const Case &c : cases) {
        unsigned char pa[256], pb[256];
        MakePstr(c.a, pa);
        MakePstr(c.b, pb);
        EXPECT_EQ(Sign(StrCmpIdent(c.a, c.b)), c.order) << c.a << " / " << c.b;
        EXPECT_EQ(Sign(StrCmpIdent(c.b, c.a)), -c.order) << c.b << " / " << c.a;
        EXPECT_EQ(Sign(PstrCmpIdent(pa, pb)), c.order) << c.a << " / " << c.b;
        EXPECT_EQ(Sign(StrCmpIdentExact(c.a, c.b)), c.exact) << c.a << " / " << c.b;
        EXPECT_EQ(Sign(PstrCmpIdentExact(pa, pb)), c.exact) << c.a << " / " << c.b;
    }

    std::vector<std::string> names = {"__abc", "Beta", "_abc", "abc", "alpha", "_beta"};
    std::sort(names.begin(), names.end(), [](const std::string &x, const std::string &y) {
        return StrCmpIdent(x.c_str(), y.c_str()) < 0;
    });
    EXPECT_EQ(names, (std::vector<std::string>{"abc", "_abc", "__abc", "alpha", "Beta", "_beta"}));

    struct Prefix {
        const char *name, *s;
        int order;
    } prefixes[] = {
        {"get", "GetValue", 0}, {"_get", "__getx", 0}, {"gex", "get", 1}, {"gets", "get", 1}, {"a", "b", -1}};
    for (const Prefix &c : prefixes) EXPECT_EQ(Sign(StrCmpIdentPrefix(c.name, c.s)), c.order) << c.name;
}

TEST(UtilCompare, SystemTimes) {
    auto at = [](int y, int mo, int d, int h, int mi, int s, int ms = 0, int dow = 0) {
        return SystemTime{(uint16_t)y, (uint16_t)mo, (uint16_t)dow, (uint16_t)d,
                          (uint16_t)h, (uint16_t)mi, (uint16_t)s,   (uint16_t)ms};
    };
    struct Case {
        const char *name;
        SystemTime a, b;
        int tolerance, order;
    } cases[] = {
        {"equal", at(2024, 5, 1, 10, 0, 0), at(2024, 5, 1, 10, 0, 0), 0, 0},
        {"within tolerance", at(2024, 5, 1, 10, 0, 3), at(2024, 5, 1, 10, 0, 2), 2, 0},
        {"at tolerance", at(2024, 5, 1, 10, 0, 4), at(2024, 5, 1, 10, 0, 2), 2, 1},
        {"milliseconds and weekday ignored", at(2024, 5, 1, 10, 0, 0, 999, 3), at(2024, 5, 1, 10, 0, 0, 0, 1),
         0, 0},
        {"across a minute", at(2024, 5, 1, 10, 1, 0), at(2024, 5, 1, 10, 0, 59), 2, 0},
        {"across a year", at(2024, 1, 1, 0, 0, 0), at(2023, 12, 31, 23, 59, 59), 2, 0},
        {"later year", at(2025, 1, 1, 0, 0, 0), at(2024, 12, 31, 0, 0, 0), 2, 1},
        {"earlier month", at(2024, 2, 28, 0, 0, 0), at(2024, 3, 1, 0, 0, 0), 2, -1},
        {"earlier second", at(2024, 5, 1, 10, 0, 0), at(2024, 5, 1, 10, 0, 9), 2, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Sign(SystemTimeCompare(&c.a, &c.b, c.tolerance)), c.order) << c.name;
}

TEST(UtilCompare, ArraySearch) {
    std::vector<int> v = {1, 3, 3, 5, 9};
    auto cmp = [](const void *k, const void *e) { return *(const int *)k - *(const int *)e; };
    struct Case {
        int key, found, index;
    } cases[] = {{0, 0, 0}, {1, 1, 0}, {3, 1, 1}, {4, 0, 3}, {9, 1, 4}, {10, 0, 5}};
    for (const Case &c : cases) {
        int index = -1;
        EXPECT_EQ(ArraySearch(&c.key, v.data(), (int)v.size(), sizeof(int), cmp, &index), c.found) << c.key;
        EXPECT_EQ(index, c.index) << c.key;
    }
    int index = -1, key = 7;
    EXPECT_EQ(ArraySearch(&key, nullptr, 0, sizeof(int), cmp, &index), 0);
    EXPECT_EQ(index, 0);
}

TEST(UtilNum, MulDivAndRounding) {
    struct Case {
        int32_t a, b, c, result;
    } cases[] = {
        {1000000, 1000000, 1000000, 1000000},
        {5, 7, 0, INT_MAX},
        {0, 7, 0, INT_MAX},
        {1, 1 << 30, 2, 1 << 29}, // a small a and a large b lose nothing
        {3, 0x7fffffff, 3, 0x7fffffff},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MAX, 2, 1, INT_MAX}, // too large: saturated
        {-INT_MAX, 2, 1, -INT_MAX},
        {INT_MIN, 1, -1, INT_MAX},
        {7, 1, 2, 4},
        {-7, 1, 2, -4},
        {7, -1, 2, -4},
        {7, 1, -2, -4},
        {-7, -1, -2, -4},
        {5, 1, 3, 2},
        {0, 123, 7, 0},
        {255, 40, 100, 102},
        {46341, 46341, 1, INT_MAX},
        {123456, 654321, 1000, 80779853},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NumMulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;

    struct Div {
        int32_t a, b, round, ceil;
    } divs[] = {
        {7, 2, 4, 4},
        {6, 2, 3, 3},
        {-7, 2, -4, -3},
        {7, -2, -4, -3},
        {-7, -2, 4, 4},
        {1, 3, 0, 1},
        {0, 5, 0, 0},
        {9, 0, INT_MAX, INT_MAX},
        {INT_MIN, -1, INT_MAX, INT_MAX},
    };
    for (const Div &c : divs) {
        EXPECT_EQ(NumDivRound(c.a, c.b), c.round) << c.a << "/" << c.b;
        EXPECT_EQ(NumDivCeil(c.a, c.b), c.ceil) << c.a << "/" << c.b;
    }

    struct Percent {
        int32_t part, whole, result;
    } percents[] = {{0, 0, 0}, {5, 0, 100}, {1, 3, 33}, {2, 3, 67}, {50, 50, 100}, {INT_MAX, INT_MAX, 100}};
    for (const Percent &c : percents)
        EXPECT_EQ(NumPercentOf(c.part, c.whole), c.result) << c.part << "/" << c.whole;

    struct Bits {
        uint32_t v;
        int n;
    } bits[] = {{0, 0}, {1, 1}, {2, 2}, {255, 8}, {256, 9}, {0x80000000u, 32}, {0xffffffffu, 32}};
    for (const Bits &c : bits) EXPECT_EQ(BitLength(c.v), c.n) << c.v;
}

namespace {

uint32_t fakeNow;
uint32_t fakeStep;
std::vector<uint32_t> fakeSleeps;

uint32_t FakeTick() {
    uint32_t t = fakeNow;
    fakeNow += fakeStep;
    return t;
}

void FakeSleep(uint32_t ms) {
    fakeSleeps.push_back(ms);
    fakeNow += ms;
}

struct FakeClock : ::testing::Test {
    void SetUp() override {
        fakeNow = 0;
        fakeStep = 0;
        fakeSleeps.clear();
        TickSetClock(FakeTick, FakeSleep);
    }
    void TearDown() override { TickSetClock(nullptr, nullptr); }
};

} // namespace

TEST_F(FakeClock, PaceKeepsCallsApart) {
    fakeNow = 5000;
    TickPace(); // whatever came before, the pace starts here
    fakeSleeps.clear();
    fakeNow += 10;
    TickPace();
    fakeNow += 40;
    TickPace();
    fakeNow = 0xfffffff0u; // the tick count wraps after 49.7 days
    TickPace();
    fakeNow += 0x20; // 32 ms later, past the wrap
    TickPace();
    EXPECT_EQ(fakeSleeps, (std::vector<uint32_t>{23, 1}));
}

TEST_F(FakeClock, BusyWaitReturnsTimePassed) {
    fakeNow = 0xfffffffau;
    fakeStep = 4;
    EXPECT_EQ(TickBusyWait(10), 12u);
    EXPECT_EQ(TickBusyWait(0), 4u) << "the first look at the clock already ends a wait of 0";
}

TEST(UtilSystem, EnvironmentAndWide) {
    VxSetEnv("VX_UTIL_TEST", "value");
    char buf[32];
    EXPECT_TRUE(SysGetEnv("VX_UTIL_TEST", buf, sizeof buf));
    EXPECT_STREQ(buf, "value");
    Guarded g(4);
    EXPECT_TRUE(SysGetEnv("VX_UTIL_TEST", g.bytes, 4)) << "a longer value is cut, not dropped";
    EXPECT_STREQ(g.bytes, "val");
    EXPECT_TRUE(g.Intact());
    VxSetEnv("VX_UTIL_TEST", nullptr);
    EXPECT_FALSE(SysGetEnv("VX_UTIL_TEST", buf, sizeof buf));
    EXPECT_STREQ(buf, "");

    wchar_t wide[8];
    for (wchar_t &w : wide) w = L'#';
    EXPECT_EQ(SzToWide("abc", wide, 8), 3);
    EXPECT_EQ(std::wstring(wide), L"abc");
    for (wchar_t &w : wide) w = L'#';
    EXPECT_EQ(SzToWide("abcdef", wide, 4), 3);
    EXPECT_EQ(std::wstring(wide), L"abc") << "terminated inside the buffer";
    EXPECT_EQ(wide[4], L'#');
}
