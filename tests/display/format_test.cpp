// Line formatter: a line without a language (one run of style 0); token styles from the scanner; operator
// substitutions shifting later columns; comment headings (marker removed, or kept when only blanks follow);
// end-comments on closing braces (long blocks only, code blocks); symbol styles from the tag table (a
// declaration, references, labels with goto arrows), local symbols, lookups of calls, members and
// qualifiers; highlighted words; inactive lines; style override and line numbers; the selection's colours;
// the one-line cache; lines of 4,092 characters with insertions, and 4,092 runs in one pass; columns and
// pixels both ways; tabs and visible white space; capitalisation; nested parentheses; draft, monochrome and
// colour-only views; shadows; the right-margin guide; nested formatting through save and restore; the
// symbol-type tables.
#include "fmttest.h"

#include "base/heap.h"
#include "doc/dlex.h"
#include "doc/dta.h"
#include "doc/sel.h"

#include <gtest/gtest.h>

using namespace fmttest;

namespace {

class FormatTest : public FmtTest {
protected:
    void SetOptions(uint32_t viewOn, uint32_t decorOn = 0, uint32_t view2On = 0) {
        DispOptions().view |= viewOn;
        DispOptions().decor |= decorOn;
        DispOptions().view2 |= view2On;
    }
    int32_t StyleAt(FileBuffer *doc, int32_t line, int32_t column) { return DocStyleAt(doc, line, column); }
    // The index of the first character of `what` in the shown text.
    int32_t ShownAt(const FmtLine *l, const std::string &what) { return (int32_t)Shown(l).find(what); }
    int32_t XAt(const FmtLine *l, int32_t shown) {
        int32_t x = 0;
        for (int32_t i = 0; i < shown; i++) x += l->advances[i];
        return x;
    }
    // The buffer's document type with more flags (and a margin column when not 0).
    void SetTypeFlags(FileBuffer *doc, uint32_t flags, int32_t margin) {
        DtaOptions options;
        char name[256], wildcards[256], pattern[256];
        DtaFont font;
        DtaGetType(doc->idta, &options, name, wildcards, pattern, &font);
        options.flags |= flags;
        if (margin) options.margin = margin;
        ASSERT_TRUE(DtaReplace(doc->idta, &options, name, wildcards, pattern, nullptr, &font));
    }
    int32_t CountOps(const FmtLine *l, int32_t op) {
        int32_t n = 0;
        for (int32_t i = 0; i < l->opCount; i++) n += l->ops[i].op == op;
        return n;
    }
};

} // namespace

TEST_F(FormatTest, WithoutLanguageALineIsOneRunOfStyleZero) {
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

TEST_F(FormatTest, TokensTakeTheirKindsStyles) {
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

TEST_F(FormatTest, EqualShownAsOneSymbolCharacter) {
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
    DispOptions().decor &= ~DECOR_EQUAL;
    EXPECT_EQ(Shown(Format(doc, 0)), "if (a == b) c;");
}

TEST_F(FormatTest, OtherSubstitutions) {
    SetOptions(0, DECOR_SUBSTITUTIONS | DECOR_ARROW | DECOR_NOT_EQUAL | DECOR_ASSIGN | DECOR_AND | DECOR_OR);
    FileBuffer *doc = CDoc({"p->a = b != c && d || e;"});
    std::string shown = Shown(Format(doc, 0));
    EXPECT_EQ(shown, std::string("p\xAE") + "a \xAC b \xB9 c \xC7 d \xC8 e;");
    Done();
    DispOptions().decor &= ~DECOR_SUBSTITUTIONS;
    EXPECT_EQ(Shown(Format(doc, 0)), "p->a = b != c && d || e;") << "the master switch";
    Done();
    DispOptions().decor |= DECOR_SUBSTITUTIONS;
    DispOptions().view |= VIEW_MONOCHROME;
    EXPECT_EQ(Shown(Format(doc, 0)), "p->a = b != c && d || e;") << "monochrome view";
}

TEST_F(FormatTest, CommentHeadings) {
    FileBuffer *doc = CDoc({"//1 Title", "//1   ", "// TODO: fix", "x; // after", "//2 Sub"});
    EXPECT_EQ(Shown(Format(doc, 0)), "Title");
    EXPECT_EQ(Shown(Format(doc, 1)), "//1   ") << "a marker followed only by blanks stays";
    EXPECT_EQ(Shown(Format(doc, 2)), "TODO: fix");
    Done();
    EXPECT_EQ(StyleAt(doc, 0, 5), STYLE_COMMENT_HEADING_1);
    EXPECT_EQ(StyleAt(doc, 2, 6), STYLE_COMMENT_TODO);
    EXPECT_EQ(StyleAt(doc, 3, 5), STYLE_COMMENT_RIGHT);
    DispOptions().view &= ~VIEW_SPECIAL_COMMENTS;
    EXPECT_EQ(Shown(Format(doc, 4)), "//2 Sub");
    Done();
    EXPECT_EQ(StyleAt(doc, 4, 0), STYLE_COMMENT_SINGLE);
    EXPECT_EQ(StyleAt(doc, 3, 5), STYLE_COMMENT_SINGLE);
}

TEST_F(FormatTest, EndCommentsOnLongBlocks) {
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
    DispOptions().decor &= ~DECOR_LONG_BLOCKS;
    const FmtLine *l = Format(doc, 18);
    EXPECT_EQ(Shown(l), "} \xAB"
                        "end f\xBB ");
    EXPECT_EQ(l->columns[2], 1 | FMT_COLUMN_INSERTED);
    Done();
    DispOptions().decor &= ~DECOR_END_COMMENTS;
    EXPECT_EQ(Shown(Format(doc, 39)), "}");
}

TEST_F(FormatTest, SymbolStylesFromTheTagList) {
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
    DispOptions().decor &= ~DECOR_GOTO_ARROWS;
    EXPECT_EQ(Shown(Format(doc, 2)), "  goto top;");
}

TEST_F(FormatTest, LocalSymbols) {
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

TEST_F(FormatTest, ReferencesThroughLookups) {
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
    DispOptions().view &= ~(VIEW_GLOBAL_REFERENCES | VIEW_MEMBER_REFERENCES);
    TheWorld().lookups.clear();
    EXPECT_EQ(StyleAt(doc, 0, 37), 0);
    EXPECT_EQ(StyleAt(doc, 0, 16), 0);
    EXPECT_TRUE(TheWorld().lookups.empty());
}

TEST_F(FormatTest, HighlightedWordsAndInactiveLines) {
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
    DispOptions().view &= ~VIEW_INACTIVE_CODE;
    EXPECT_EQ(StyleAt(doc, 1, 0), 6);
}

TEST_F(FormatTest, OverrideAndLineNumbers) {
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

TEST_F(FormatTest, SelectionTakesSelectionColours) {
    FileBuffer *doc = CDoc({"abcdef ghij", "klm"});
    Sel *sel = SelNew(doc, 0, 2, 1, 1);
    FormatBegin(doc, FMT_SCREEN, nullptr);
    FormatSetSelection(true, sel);
    const FmtLine *l = Format(doc, 0);
    std::vector<RunOf> runs = Runs(l);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "ab");
    EXPECT_EQ(runs[0].back, StyleDefaultBack());
    EXPECT_EQ(runs[1].text, "cdef ghij");
    EXPECT_EQ(runs[1].fore, 0xFFFFFFu);
    EXPECT_EQ(runs[1].back, 0x800000u);
    EXPECT_TRUE(l->flags & FMT_LINE_SELECTED);
    runs = Runs(Format(doc, 1));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "k");
    EXPECT_EQ(runs[0].back, 0x800000u);
    EXPECT_EQ(runs[1].back, StyleDefaultBack());
    // A column selection by its pixel edges.
    SelSetColumn(sel, 0, XAt(l, 1), 1, XAt(l, 3), nullptr);
    FormatSetSelection(true, sel);
    runs = Runs(Format(doc, 0));
    ASSERT_GE(runs.size(), 2u);
    EXPECT_EQ(runs[1].text, "bc");
    EXPECT_EQ(runs[1].back, 0x800000u);
    MemFree(sel);
}

TEST_F(FormatTest, SameLineTwiceDoesNoWork) {
    FileBuffer *doc = CDoc({"int a;", "int b;"});
    FormatBegin(doc, FMT_SCREEN, nullptr);
    int32_t before = FormatWorkCount();
    FormatLine(1);
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 1);
    FormatEnd();
    FormatBegin(doc, FMT_SCREEN, nullptr);
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 1) << "a new formatting of the same line";
    FormatSetTargetColumn(2);
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 2) << "a target column";
    FormatSetTargetColumn(-1);
    FormatLine(1);
    doc->cChange++;
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 4) << "a change of the buffer";
    FlushFormatCache();
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 5);
    FlushFormatCacheOf(nullptr);
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 5) << "another buffer's flush";
    FormatEnd();
}

TEST_F(FormatTest, LongLineKeepsEveryCharacter) {
    std::string line;
    while (line.size() < 4091) line += "x = 12 + y; ";
    line.resize(4091);
    line += "}";
    FileBuffer *doc = CDoc({"{", line});
    ASSERT_EQ(GetLineLength(doc, 1), 4092);
    TheWorld().tags = {Symbol("big", 0, 0, 0, 2)};
    DispOptions().decor &= ~DECOR_LONG_BLOCKS;
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

TEST_F(FormatTest, ManyRunsInOnePass) {
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

TEST_F(FormatTest, ColumnsAndPixelsBothWays) {
    FileBuffer *doc = CDoc({"\tint  value = 42;"});
    const FmtLine *l = Format(doc, 0);
    for (int32_t column = 0; column < 17; column++) {
        int32_t x = FmtXOfColumn(column);
        EXPECT_EQ(FmtColumnAtX(x), column) << column;
    }
    EXPECT_EQ(FmtColumnAtX(l->width + 100), 17);
    EXPECT_EQ(FmtColumnAtX(-5), 0);
    EXPECT_EQ(FmtXOfColumn(100), l->width);
}

TEST_F(FormatTest, TabsAndVisibleWhiteSpace) {
    FileBuffer *doc = CDoc({"\tx", "ab\ty z"});
    const FmtLine *l = Format(doc, 0);
    const FmtFont *base = FmtFontAt(FmtFontIndex(FMT_SCREEN, &FmtFontAt(Runs(l)[0].font)->desc));
    int32_t tab = DtaTabWidth(doc) * base->metrics.avgWidth;
    EXPECT_EQ(l->advances[0], tab);
    EXPECT_EQ(Shown(l), " x") << "a tab shows as a blank";
    l = Format(doc, 1);
    EXPECT_EQ(l->advances[0] + l->advances[1] + l->advances[2], tab) << "to the next stop";
    Done();
    SetTypeFlags(doc, DTA_VISIBLE_TABS | DTA_VISIBLE_SPACES, 0);
    EXPECT_EQ(Shown(Format(doc, 1)), "ab\xBBy\xB7z");
}

TEST_F(FormatTest, Capitalisation) {
    FileBuffer *doc = CDoc({"mixedCase lower UPPER 0XFF"});
    struct Case {
        int32_t caps;
        const char *shown;
    } cases[] = {
        {STYLE_CAPS_UPPER, "MIXEDCASE LOWER UPPER 0xFF"},
        {STYLE_CAPS_LOWER, "mixedcase lower upper 0xff"},
        {STYLE_CAPS_FIRST, "Mixedcase Lower Upper 0xff"},
        {STYLE_CAPS_FIRST_PARTIAL, "mixedCase Lower Upper 0xff"},
        {STYLE_CAPS_EXPAND, "MIXEDCASE lower UPPER 0xFF"},
    };
    for (const Case &c : cases) {
        StyleProp caps = {STYLE_CAPS, c.caps, nullptr};
        ASSERT_TRUE(StyleSetProperty(StyleCurrent(), 0, &caps));
        StyleProp number = {STYLE_CAPS, c.caps, nullptr};
        ASSERT_TRUE(StyleSetProperty(StyleCurrent(), 1, &number));
        EXPECT_EQ(Shown(Format(doc, 0)), c.shown) << c.caps;
        Done();
    }
}

TEST_F(FormatTest, NestedParenthesesScale) {
    SetOptions(VIEW_SCALE_PARENS);
    FileBuffer *doc = CDoc({"f((a))"});
    std::vector<RunOf> runs = Runs(Format(doc, 0));
    ASSERT_EQ(runs.size(), 6u);
    int32_t outer = FmtFontAt(runs[1].font)->desc.size, inner = FmtFontAt(runs[2].font)->desc.size;
    int32_t base = FmtFontAt(runs[0].font)->desc.size;
    EXPECT_EQ(inner, base);
    EXPECT_EQ(outer, (base * 115 + 50) / 100);
    EXPECT_EQ(runs[5].font, runs[1].font);
}

TEST_F(FormatTest, ViewsThatDropProperties) {
    FileBuffer *doc = CDoc({"int x; // c"});
    std::vector<RunOf> runs = Runs(Format(doc, 0));
    int32_t plain = runs[0].font;
    EXPECT_EQ(runs[0].fore, 0x008000u);
    Done();
    SetOptions(VIEW_MONOCHROME);
    runs = Runs(Format(doc, 0));
    EXPECT_EQ(runs[0].fore, StyleDefaultFore()) << "not grey: dropped";
    Done();
    DispOptions().view &= ~VIEW_MONOCHROME;
    SetOptions(VIEW_COLOR_ONLY);
    runs = Runs(Format(doc, 0));
    EXPECT_EQ(runs.back().fore, 0xFF0000u);
    EXPECT_STRNE(FmtFontAt(runs.back().font)->desc.face, "Verdana") << "colours only";
    Done();
    DispOptions().view &= ~VIEW_COLOR_ONLY;
    SetOptions(0, 0, VIEW2_DRAFT);
    runs = Runs(Format(doc, 0));
    EXPECT_STREQ(FmtFontAt(runs.back().font)->desc.face, "Courier New") << "the draft view's font";
    EXPECT_EQ(runs.back().fore, 0xFF0000u);
    EXPECT_EQ(runs[0].font, runs.back().font);
    (void)plain;
}

TEST_F(FormatTest, ShadowsCarryTheirOffset) {
    struct Case {
        uint16_t size;
        int32_t step;
    } cases[] = {{20, 0}, {27, 0}, {28, 1}, {159, 1}, {160, 2}, {240, 3}};
    for (const Case &c : cases) {
        FontDesc font;
        FontDescInit(&font, "Arial", c.size);
        EXPECT_EQ(FontSizeStep(&font), c.step) << c.size;
    }
    FileBuffer *doc = CDoc({"int f;"});
    TheWorld().tags = {Symbol("f", 0, 0, 4, 1)};
    const FmtLine *l = Format(doc, 0);
    uint32_t shadow = 0;
    for (int32_t i = l->opCount - 1; i >= 0; i--)
        if (l->ops[i].op == FMT_OP_SHADOW) shadow = (uint32_t)l->ops[i].value;
    EXPECT_EQ(shadow, 0x01C0C0C0u) << "60 quarter points: one pixel";
    EXPECT_EQ(l->startShadow, StyleDefaultShadow() & 0xFFFFFF) << "the background's shadow has no offset";
}

TEST_F(FormatTest, RightMarginGuide) {
    FileBuffer *doc = CDoc({"int x;"});
    SetTypeFlags(doc, DTA_RIGHT_MARGIN, 20);
    const FmtLine *l = Format(doc, 0);
    ASSERT_TRUE(l->flags & FMT_LINE_DRAWING);
    ASSERT_EQ(l->drawCount, 4);
    const FmtOp *draw = l->ops + l->opCount;
    const FmtFont *base = FmtFontAt(Runs(l)[0].font);
    int32_t x = 20 * base->metrics.avgWidth;
    EXPECT_EQ(draw[0].op, FMT_OP_PEN);
    EXPECT_EQ((uint32_t)draw[0].value, StyleContrastGrey());
    EXPECT_EQ(draw[1].op, FMT_OP_MOVE_TO);
    EXPECT_EQ(draw[1].value, x);
    EXPECT_EQ(draw[2].op, FMT_OP_LINE_TO);
    EXPECT_EQ(draw[2].value, x | l->height << 16);
    EXPECT_EQ(draw[3].op, FMT_OP_END);
    FormatSetTargetColumn(0);
    EXPECT_FALSE(Format(doc, 0)->flags & FMT_LINE_DRAWING) << "not with a target column";
}

TEST_F(FormatTest, NestedFormattingThroughSaveAndRestore) {
    FileBuffer *a = CDoc({"int a;"}, "a.c"), *b = CDoc({"/* b */"}, "b.c");
    FormatBegin(a, FMT_SCREEN, nullptr);
    FormatSetLineNumbers(true);
    FormatLine(0);
    EXPECT_EQ(DocStyleAt(b, 0, 3), STYLE_COMMENT) << "another buffer while one is being formatted";
    EXPECT_EQ(FormatDepth(), 1);
    EXPECT_EQ(Shown(FmtCurrentLine()), "00001: int a;");
    FmtSaved *saved = FormatSaveState();
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(FormatDepth(), 0);
    FormatBegin(b, FMT_SCREEN, nullptr);
    FormatLine(0);
    EXPECT_EQ(Shown(FmtCurrentLine()), "/* b */");
    FormatEnd();
    FormatRestoreState(saved);
    EXPECT_EQ(FormatDepth(), 1);
    EXPECT_EQ(Shown(FmtCurrentLine()), "00001: int a;");
    FormatEnd();
    FormatRestoreState(FormatSaveState()); // nothing open: nothing to put back
    EXPECT_EQ(FormatDepth(), 0);
}

TEST(FormatSymbolStyles, Tables) {
    EXPECT_EQ(RefStyleOf(-1), 0);
    EXPECT_EQ(RefStyleOf(58), 0);
    EXPECT_EQ(RefStyleOf(0), 82);
    EXPECT_EQ(RefStyleOf(57), 91);
    EXPECT_EQ(RefStyleOf(22), 22);
    struct Case {
        int32_t type, parent, style;
    } cases[] = {
        {5, -1, 69},  {5, 0, 59},   {5, 31, 59}, {16, 0, 77}, {17, 0, 60},  {2, 0, 65},
        {32, 0, 111}, {41, 10, 33}, {31, 0, 0},  {0, 10, 63}, {11, 10, 61}, {58, -1, 0},
    };
    for (const Case &c : cases) {
        FmtSymbol symbol = {};
        symbol.type = c.type;
        symbol.parentType = c.parent;
        EXPECT_EQ(DeclStyleOf(&symbol), c.style) << c.type << " in " << c.parent;
    }
}
