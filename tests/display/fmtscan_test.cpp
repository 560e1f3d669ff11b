// Tokens into styled runs: a line without a language (one run of style 0); token kinds as styles; operator
// substitutions shifting later columns; comment headings (marker removed, or kept when only blanks follow);
// end-comments on closing braces (long blocks only, code blocks); symbol styles from the tag table (a
// declaration, references, labels with goto arrows), local symbols, lookups of calls, members and
// qualifiers; highlighted words; inactive lines; style override and line numbers; lines of 4,092
// characters with insertions, and 4,092 runs formatted in one pass.
#include "fmttest.h"

#include "base/heap.h"
#include "doc/dlex.h"
#include "doc/dta.h"
#include "doc/sel.h"

#include <gtest/gtest.h>

using namespace fmttest;

namespace {
class FmtScanTest : public FmtTest {};
} // namespace

TEST_F(FmtScanTest, WithoutLanguageALineIsOneRunOfStyleZero) {
    FmtSetLangHook(nullptr);
    FmtSetSymbolHook(nullptr);
    FileBuffer *doc = CDoc({"int x = 12; // note"});
    const FmtLine *l = Format(doc, 0);
    std::vector<RunOf> runs = Runs(l);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, "int x = 12; // note");
    EXPECT_EQ(runs[0].fore, StyleDefaultFore());
    EXPECT_EQ(StyleAt(doc, 0, 0), 0);
    EXPECT_EQ(StyleAt(doc, 0, 15), 0);
}

TEST_F(FmtScanTest, TokensTakeTheirKindsStyles) {
    FileBuffer *doc = CDoc({"int x = 12; /* c */ \"s\""});
    struct Case {
        int32_t column, style;
    } cases[] = {{0, 6}, {4, 0}, {8, 1}, {10, 3}, {13, 4}, {21, 5}, {40, 0}};
    for (const Case &c : cases) EXPECT_EQ(StyleAt(doc, 0, c.column), c.style) << c.column;
    std::vector<RunOf> runs = Runs(Format(doc, 0));
    ASSERT_GE(runs.size(), 4u);
    EXPECT_EQ(runs[0].text, "int");
    EXPECT_EQ(runs[0].fore, 0x008000u);
}

TEST_F(FmtScanTest, EqualShownAsOneSymbolCharacter) {
    SetOptions(0, DECOR_SUBSTITUTIONS | DECOR_EQUAL);
    FileBuffer *doc = CDoc({"if (a == b) c;"});
    const FmtLine *l = Format(doc, 0);
    EXPECT_EQ(Shown(l), "if (a = b) c;");
    int32_t symbol = ShownAt(l, "=");
    EXPECT_EQ(l->columns[symbol], 6);
    EXPECT_EQ(l->columns[symbol + 2], 9) << "b keeps its column";
    EXPECT_EQ(FmtXOfColumn(9), XAt(l, symbol + 2));
    EXPECT_EQ(FmtColumnAtX(XAt(l, symbol + 2)), 9);
    std::vector<RunOf> runs = Runs(l);
    bool found = false;
    for (const RunOf &r : runs)
        if (r.text == "=") {
            EXPECT_STREQ(FmtFontAt(r.font)->desc.face, "Symbol");
            found = true;
        }
    EXPECT_TRUE(found);
    Done();
    EXPECT_EQ(StyleAt(doc, 0, 6), STYLE_SYMBOL_CHARS);
    g_decorOptions &= ~DECOR_EQUAL;
    EXPECT_EQ(Shown(Format(doc, 0)), "if (a == b) c;");
}

TEST_F(FmtScanTest, OtherSubstitutions) {
    SetOptions(0, DECOR_SUBSTITUTIONS | DECOR_ARROW | DECOR_NOT_EQUAL | DECOR_ASSIGN_ARROW | DECOR_AND |
                      DECOR_OR);
    FileBuffer *doc = CDoc({"p->a = b != c && d || e;"});
    std::string shown = Shown(Format(doc, 0));
    EXPECT_EQ(shown, std::string("p\xAE") + "a \xAC b \xB9 c \xC7 d \xC8 e;");
    Done();
    g_decorOptions &= ~DECOR_SUBSTITUTIONS;
    EXPECT_EQ(Shown(Format(doc, 0)), "p->a = b != c && d || e;") << "the master switch";
    Done();
    g_decorOptions |= DECOR_SUBSTITUTIONS;
    g_viewOptions |= VIEW_MONOCHROME;
    EXPECT_EQ(Shown(Format(doc, 0)), "p->a = b != c && d || e;") << "monochrome view";
}

TEST_F(FmtScanTest, CommentHeadings) {
    FileBuffer *doc = CDoc({"//1 Title", "//1   ", "// TODO: fix", "x; // after", "//2 Sub"});
    EXPECT_EQ(Shown(Format(doc, 0)), "Title");
    EXPECT_EQ(Shown(Format(doc, 1)), "//1   ") << "a marker followed only by blanks stays";
    EXPECT_EQ(Shown(Format(doc, 2)), "TODO: fix");
    Done();
    EXPECT_EQ(StyleAt(doc, 0, 5), STYLE_COMMENT_HEADING_1);
    EXPECT_EQ(StyleAt(doc, 2, 6), STYLE_COMMENT_TODO);
    EXPECT_EQ(StyleAt(doc, 3, 5), STYLE_COMMENT_RIGHT);
    g_viewOptions &= ~VIEW_COMMENT_STYLES;
    EXPECT_EQ(Shown(Format(doc, 4)), "//2 Sub");
    Done();
    EXPECT_EQ(StyleAt(doc, 4, 0), STYLE_COMMENT_SINGLE);
    EXPECT_EQ(StyleAt(doc, 3, 5), STYLE_COMMENT_SINGLE);
}

TEST_F(FmtScanTest, EndCommentsOnLongBlocks) {
    std::vector<std::string> lines(50, "  x;");
    lines[0] = "void f() {", lines[18] = "}", lines[20] = "void g() {", lines[39] = "}", lines[41] = "{",
    lines[45] = "}";
    FileBuffer *doc = CDoc(lines);
    TheWorld().tags = {Symbol("f", 0, 0, 5, 19), Symbol("g", 0, 20, 5, 20), Symbol("", 31, 41, 0, 5)};
    EXPECT_EQ(Shown(Format(doc, 18)), "}") << "19 lines";
    EXPECT_EQ(Shown(Format(doc, 39)), "} \xAB"
                                      "end g\xBB ")
        << "20 lines";
    EXPECT_EQ(Shown(Format(doc, 45)), "}") << "a code block that starts with its brace";
    Done();
    EXPECT_EQ(StyleAt(doc, 39, 0), 3);
    g_decorOptions &= ~DECOR_END_COMMENTS_LONG;
    const FmtLine *l = Format(doc, 18);
    EXPECT_EQ(Shown(l), "} \xAB"
                        "end f\xBB ");
    EXPECT_EQ(l->columns[2], 1 | FMT_COLUMN_INSERTED);
    Done();
    g_decorOptions &= ~DECOR_END_COMMENTS;
    EXPECT_EQ(Shown(Format(doc, 39)), "}");
}

TEST_F(FmtScanTest, SymbolStylesFromTheTagList) {
    FileBuffer *doc =
        CDoc({"int count(int n) {", "  top: count(n);", "  goto top;", "  goto end;", "  end: ;"});
    TheWorld().tags = {Symbol("count", 0, 0, 4, 5, 0, 4), Symbol("top", 16, 1, 2, 1, 1, 2, 0),
                       Symbol("end", 16, 4, 2, 1, 4, 2, 0)};
    SetOptions(0, DECOR_GOTO_ARROWS);
    EXPECT_EQ(StyleAt(doc, 0, 4), 63) << "the declaration";
    EXPECT_EQ(StyleAt(doc, 1, 7), 82) << "a reference of a function";
    EXPECT_EQ(StyleAt(doc, 1, 2), 77) << "a label's own declaration keeps its style in a function";
    EXPECT_EQ(Shown(Format(doc, 2)), "  goto \xADtop;");
    EXPECT_EQ(Shown(Format(doc, 3)), "  goto \xAF"
                                     "end;");
    Done();
    EXPECT_EQ(StyleAt(doc, 2, 7), STYLE_REF_TO_LABEL);
    g_decorOptions &= ~DECOR_GOTO_ARROWS;
    EXPECT_EQ(Shown(Format(doc, 2)), "  goto top;");
}

TEST_F(FmtScanTest, LocalSymbols) {
    FileBuffer *doc = CDoc({"int f(int n) {", "  int i = n;", "  return i;", "}", "int i;"});
    TheWorld().localsFirst = 0, TheWorld().localsLast = 3;
    TheWorld().locals = {Symbol("n", 32, 0, 10, 1, 0, 10, 0), Symbol("i", 5, 1, 6, 1, 1, 6, 0)};
    EXPECT_EQ(StyleAt(doc, 1, 6), STYLE_DECLARE_LOCAL);
    EXPECT_EQ(StyleAt(doc, 1, 10), STYLE_REF_TO_PARAMETER);
    EXPECT_EQ(StyleAt(doc, 0, 10), STYLE_DECLARE_PARAMETER);
    EXPECT_EQ(StyleAt(doc, 2, 9), STYLE_REF_TO_LOCAL);
    EXPECT_EQ(StyleAt(doc, 4, 4), 0) << "outside the function";
    // One local parse serves every line of the function.
    TheWorld().localParses = 0;
    FormatBegin(doc, FMT_SCREEN, nullptr);
    for (int32_t line = 0; line < 4; line++) FormatLine(line);
    FormatEnd();
    EXPECT_EQ(TheWorld().localParses, 1);
}

TEST_F(FmtScanTest, ReferencesThroughLookups) {
    FileBuffer *doc = CDoc({"x = run(a) + p->f + p->m() + ns::v + MAX;"});
    TheWorld().database = {{"run", 1}, {"MAX", 6}, {"ns", 29}, {"f", 17}, {"a", 5}};
    EXPECT_EQ(StyleAt(doc, 0, 4), STYLE_REF_TO_FUNC) << "a call needs no lookup";
    EXPECT_EQ(StyleAt(doc, 0, 16), STYLE_REF_TO_MEMBER);
    EXPECT_EQ(StyleAt(doc, 0, 23), STYLE_REF_TO_METHOD);
    EXPECT_EQ(StyleAt(doc, 0, 29), 46) << "a qualifier among the qualifier types";
    EXPECT_EQ(StyleAt(doc, 0, 37), 88);
    EXPECT_EQ(StyleAt(doc, 0, 8), 87);
    SetOptions(VIEW_QUALIFY_FUNCTIONS | VIEW_QUALIFY_MEMBERS);
    EXPECT_EQ(StyleAt(doc, 0, 4), 83) << "a macro called";
    EXPECT_EQ(StyleAt(doc, 0, 16), 99);
    EXPECT_EQ(StyleAt(doc, 0, 23), 0) << "an unknown member";
    g_viewOptions &= ~(VIEW_GLOBAL_REFERENCES | VIEW_MEMBER_REFERENCES);
    TheWorld().lookups.clear();
    EXPECT_EQ(StyleAt(doc, 0, 37), 0);
    EXPECT_EQ(StyleAt(doc, 0, 16), 0);
    EXPECT_TRUE(TheWorld().lookups.empty());
}

TEST_F(FmtScanTest, HighlightedWordsAndInactiveLines) {
    FileBuffer *doc = CDoc({"int hot = cold;", "int hot;"});
    TheWorld().highlighted = {{"hot", STYLE_HIGHLIGHT}};
    EXPECT_EQ(StyleAt(doc, 0, 4), STYLE_HIGHLIGHT);
    EXPECT_EQ(StyleAt(doc, 0, 10), 0);
    if (!doc->plexcache) DocSetLexCache(doc, LexCacheNew(doc, nullptr));
    ASSERT_NE(doc->plexcache, nullptr);
    LexCacheSync(doc->plexcache);
    *LexCacheEntry(doc->plexcache, 1) |= LEX_LINE_REGION;
    EXPECT_EQ(StyleAt(doc, 1, 0), STYLE_INACTIVE_CODE);
    EXPECT_EQ(StyleAt(doc, 1, 4), STYLE_INACTIVE_CODE);
    g_viewOptions &= ~VIEW_INACTIVE_CODE;
    EXPECT_EQ(StyleAt(doc, 1, 0), 6);
}

TEST_F(FmtScanTest, OverrideAndLineNumbers) {
    FileBuffer *doc = CDoc({"a", "b", "int c;"});
    FormatBegin(doc, FMT_SCREEN, nullptr);
    FormatSetLineNumbers(true);
    FormatSetTargetColumn(0);
    const FmtLine *l = Format(doc, 2);
    EXPECT_EQ(Shown(l), "00003: int c;");
    EXPECT_EQ(l->targetStyle, 6);
    EXPECT_EQ(l->columns[0], 0 | FMT_COLUMN_INSERTED);
    EXPECT_EQ(FmtXOfColumn(0), XAt(l, 7));
    FormatSetStyleOverride(STYLE_LINE_NUMBER);
    l = Format(doc, 2);
    std::vector<RunOf> runs = Runs(l);
    ASSERT_EQ(runs.size(), 1u) << "every token takes the override";
    EXPECT_EQ(l->targetStyle, STYLE_LINE_NUMBER);
    char number[16];
    EXPECT_STREQ(FormatLineNumberFormat(doc, 99999, number), "100000: ");
    doc->lnMac = 100001;
    EXPECT_STREQ(FormatLineNumberFormat(doc, 0, number), "0000001: ");
    doc->lnMac = 3;
}

TEST_F(FmtScanTest, LongLineKeepsEveryCharacter) {
    std::string line;
    while (line.size() < 4091) line += "x = 12 + y; ";
    line.resize(4091);
    line += "}";
    FileBuffer *doc = CDoc({"{", line});
    ASSERT_EQ(GetLineLength(doc, 1), 4092);
    TheWorld().tags = {Symbol("big", 0, 0, 0, 2)};
    g_decorOptions &= ~DECOR_END_COMMENTS_LONG;
    FormatBegin(doc, FMT_SCREEN, nullptr);
    FormatSetLineNumbers(true);
    const FmtLine *l = Format(doc, 1);
    std::string shown = Shown(l), note = " \xAB"
                                         "end big\xBB ";
    ASSERT_EQ(shown.size(), 7 + line.size() + note.size());
    EXPECT_EQ(shown.substr(0, 7), "00002: ");
    EXPECT_EQ(shown.substr(7, line.size()), line);
    EXPECT_EQ(shown.substr(7 + line.size()), note);
    int32_t sum = 0;
    for (int32_t i = 0; i < l->length; i++) sum += l->advances[i];
    EXPECT_EQ(sum, l->width);
}

TEST_F(FmtScanTest, ManyRunsInOnePass) {
    std::string line;
    for (int i = 0; i < 2046; i++) line += "a;";
    FileBuffer *doc = CDoc({line});
    int32_t before = FormatWorkCount();
    const FmtLine *l = Format(doc, 0);
    EXPECT_EQ(FormatWorkCount(), before + 1);
    EXPECT_EQ(CountOps(l, FMT_OP_RUN), 4092);
    EXPECT_EQ(Shown(l), line);
    std::vector<RunOf> runs = Runs(l);
    EXPECT_EQ(runs[4090].text, "a");
    EXPECT_EQ(runs[4091].text, ";");
    EXPECT_EQ(runs[4091].fore, 0x800080u);
}
